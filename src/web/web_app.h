// The page's one session: the views, the workbench they serve, and the user's commands as the
// page's script sends them. Every command runs inside the central handler.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "grading/task_session.h"
#include "screen/commands.h"
#include "session/workbench.h"
#include "web/task.h"
#include "web/web_views.h"

namespace quarzel {

class WebApp {
  public:
    WebApp();

    Workbench& workbench() { return *m_workbench; }
    // The panel "Aufgabe" works on the workbench of the moment: made anew with it.
    grading::TaskSession& task() { return *m_task; }
    WebEditor& editor() { return m_editor; }
    WebPicture& picture() { return m_picture; }
    PromptView& prompts() { return m_prompts; }

    // Shows the state of a fresh start on the page.
    void showAll();

    void command(Command which);
    void taskLoad();
    // "Testen" in parts, the page drawn and "Abbrechen" heard between them.
    void taskTest();
    void speedClick(Speed speed);
    void timerTick(RunTimer timer);
    void htmlExport(const std::string& date);
    void programChanged(const std::string& text);
    void programEdited(int fromLine, int fromColumn, int toLine, int toColumn,
                       const std::string& text);
    void cellTyped(int column, int row, const std::string& text);
    void cellEdited(int column, int row, const std::string& text);
    void toggleBreakpoint(int line);
    // What "Ende" did: the work stays (a save failed), or the session started afresh with
    // nothing of the work left unsaved (saved or declined), or afresh while a part was neither
    // saved nor declined (its file dialog cancelled), so that the page's copy must stay.
    enum CloseResult { Stayed = 0, ClosedAllSettled = 1, ClosedWorkLeft = 2 };
    CloseResult closeRequested();

    // Runs a handler of the page's own inside the facade's central handler; true when it
    // ended without an error.
    template <typename Handler>
    bool handle(Handler&& handler) {
        return m_workbench->guard(std::forward<Handler>(handler));
    }

  private:
    void restart();

    WebEditor m_editor;
    WebGrid m_grid;
    WebPicture m_picture;
    WebRegisters m_registers;
    WebRunPanel m_runPanel;
    WebPrompts m_prompts;
    WebNumberInput m_numberInput;
    WebTaskPanel m_taskPanel;
    std::unique_ptr<Workbench> m_workbench;
    // Holds the workbench above: goes before it, and comes after each new one.
    std::unique_ptr<grading::TaskSession> m_task;
};

// The page's one session (made by qz_init).
WebApp& webApp();

}  // namespace quarzel
