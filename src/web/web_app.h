// The page's one session: the views, the workbench they serve, and the user's commands as the
// page's script sends them. Every command runs inside the central handler.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/central_handler.h"
#include "common/win1252.h"
#include "session/workbench.h"
#include "web/web_views.h"

namespace quarzel {

enum class WebCommand { Check, Run, Step, Back, New, Load, Save };

class WebApp {
  public:
    WebApp();

    Workbench& workbench() { return *m_workbench; }
    WebEditor& editor() { return m_editor; }
    WebPicture& picture() { return m_picture; }

    // Shows the state of a fresh start on the page.
    void showAll();

    void command(WebCommand which);
    void speedClick(Speed speed);
    void timerTick(RunTimer timer);
    void htmlExport(const std::string& date);
    void programChanged(const std::string& text);
    void cellTyped(int column, int row, const std::string& text);
    void cellEdited(int column, int row, const std::string& text);
    void toggleBreakpoint(int line);
    // "Ende": the save questions; when the work may go, the session starts afresh and true
    // is returned.
    bool closeRequested();

    // Runs `handler` inside the central handler; any other exception is shown as an internal
    // error, so nothing escapes into the page.
    template <typename Handler>
    bool handle(Handler&& handler);

  private:
    void restart();
    bool breakpointAhead() const;

    WebEditor m_editor;
    WebGrid m_grid;
    WebPicture m_picture;
    WebRegisters m_registers;
    WebRunPanel m_runPanel;
    WebPrompts m_prompts;
    WebNumberInput m_numberInput;
    std::unique_ptr<Workbench> m_workbench;
    // The step count at which a timed run may execute a marked line without pausing: where a
    // breakpoint paused it, or where the learner chose a timed speed while looking at the line.
    std::optional<std::uint64_t> m_passBreakpointAt;
};

template <typename Handler>
bool WebApp::handle(Handler&& handler) {
    bool done = false;
    guarded(m_prompts, [&] {
        try {
            handler();
            done = true;
        } catch (const SystemError&) {
            throw;
        } catch (const std::exception& error) {
            throw SystemError(fromUtf8("Interner Fehler: ") + fromUtf8(error.what()));
        }
    });
    return done;
}

}  // namespace quarzel
