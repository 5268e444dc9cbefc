// What a task panel ("Aufgabe") shows, as the task session tells it: the window's task window
// and the page's task panel implement it. Texts are UTF-8, as grading makes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarzel::grading {

class TaskPanelView {
  public:
    // One case of the list, as it is shown before it is tested.
    struct CaseRow {
        std::string name;
        std::int64_t points = 0;
        std::string inputs;  // "3, 4" or "keine"
    };

    virtual ~TaskPanelView() = default;
    // A task was loaded: its title and its cases. Every result, the points line and the
    // taken-over line of the task shown before are gone.
    virtual void showTask(const std::string& title, const std::vector<CaseRow>& cases) = 0;
    // The case that "Fall übernehmen" takes over is `row`; -1: none.
    virtual void showSelection(int row) = 0;
    // A tested case: "bestanden", or what went wrong.
    virtual void showCaseResult(int row, bool passed, const std::string& text) = 0;
    // "P von M Punkten".
    virtual void showPoints(const std::string& text) = 0;
    // The line that keeps a taken-over case and its inputs in view while the learner steps.
    virtual void showTakenOver(const std::string& text) = 0;
    // What may be pressed: "Testen" and "Fall übernehmen".
    virtual void enableButtons(bool test, bool takeOver) = 0;
};

}  // namespace quarzel::grading
