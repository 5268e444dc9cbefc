// The page's panel "Aufgabe" as the task session's view, and the page's "Laden…": the task file
// chosen with the browser's picker, then the files the user chooses for the data files it names.
#pragma once

#include <string>
#include <vector>

#include "grading/task_panel_view.h"

namespace quarzel {

class PromptView;
class Workbench;

namespace grading {
class TaskSession;
}

class WebTaskPanel : public grading::TaskPanelView {
  public:
    void showTask(const std::string& title, const std::vector<CaseRow>& cases) override;
    void showSelection(int row) override;
    void showCaseResult(int row, bool passed, const std::string& text) override;
    void showPoints(const std::string& text) override;
    void showTakenOver(const std::string& text) override;
    void enableButtons(bool test, bool takeOver) override;
};

// "Laden…" of the page: a browser hands over one file at a time, so the data files the task
// names come in a second choice; the session matches and reads them.
void chooseAndLoadTask(grading::TaskSession& session, Workbench& workbench, PromptView& prompts);

}  // namespace quarzel
