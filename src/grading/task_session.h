// The task flow behind both front ends' task panels: the loaded task, "Laden…", "Testen", the
// selected case and "Fall übernehmen", and what may be pressed. The panels draw what it reports.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/views.h"
#include "grading/chosen_data_files.h"
#include "grading/task_file.h"
#include "grading/task_panel_view.h"

namespace quarzel {

class Workbench;

namespace grading {

class TaskSession {
  public:
    // `jobs`: the threads "Testen" grades on. Tells `view` at once that nothing may be pressed.
    TaskSession(Workbench& workbench, PromptView& prompts, TaskPanelView& view, unsigned jobs);
    TaskSession(const TaskSession&) = delete;
    TaskSession& operator=(const TaskSession&) = delete;
    ~TaskSession();

    // "Laden…": the open dialog for task files, then load.
    void chooseAndLoad();
    // Reads the task file at `path` (UTF-8) and the data files it names beside it, and shows
    // the task with its first case selected. A refused file keeps the task shown before and
    // says why in a box "Aufgabe"; false then.
    bool load(const std::string& path);
    // The same where no folder lies beside the task file (a browser hands over files): the data
    // files the task names are read from the files the user chose for them, each matched to its
    // name by matchDataFiles. Chosen files that cannot stand for the names are refused in the
    // same box, naming the names.
    bool load(const std::string& path, const std::vector<ChosenFile>& chosen);
    // "Testen": every case on the program in the editor as it stands (saved or not, checked or
    // not), each on a machine of its own; the session's program, table, flags and run stay as
    // they are. Shows each case's result, then the points.
    void test();
    // "Testen" in parts, for a front end that must not wait for it whole (the page): the same
    // cases with the same results, one after the other. startTest begins (false: nothing to
    // test); each testPart runs for about `budget`, shows the cases that ended, and is false
    // once all are shown with the points; cancelTest leaves the rest untested.
    bool startTest();
    bool testPart(std::chrono::milliseconds budget);
    void cancelTest();
    bool testing() const { return m_test != nullptr; }
    int casesTested() const;
    // The user selected the case at `row` (-1 or a row outside the task: none).
    void select(int row);
    // "Fall übernehmen": the selected case's start table into the session's table, offering to
    // save modified data first as loading does; then the taken-over line.
    void takeOver();

    bool canTest() const;
    bool canTakeOver() const;
    const std::optional<Task>& task() const { return m_task; }
    int selected() const { return m_selected; }

    // The data files the task file at `path` names, for a front end that has to place them
    // beside it before load; none when the file cannot be read or is no task.
    static std::vector<std::string> dataFileNames(const std::string& path);

  private:
    bool show(TaskLoad read);
    std::string programText() const;
    void showButtons();

    Workbench& m_workbench;
    PromptView& m_prompts;
    TaskPanelView& m_view;
    unsigned m_jobs;
    std::optional<Task> m_task;
    int m_selected = -1;
    struct PartedTest;
    std::unique_ptr<PartedTest> m_test;
};

}  // namespace grading
}  // namespace quarzel
