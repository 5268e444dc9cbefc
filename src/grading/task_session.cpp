#include "grading/task_session.h"

#include <cstddef>
#include <utility>

#include "common/win1252.h"
#include "grading/grader.h"
#include "session/workbench.h"

namespace quarzel::grading {

TaskSession::TaskSession(Workbench& workbench, PromptView& prompts, TaskPanelView& view,
                         unsigned jobs)
    : m_workbench(workbench), m_prompts(prompts), m_view(view), m_jobs(jobs) {
    showButtons();
}

void TaskSession::chooseAndLoad() {
    std::optional<std::string> path;
    m_workbench.guard([&] { path = m_prompts.chooseFileToOpen(kTaskFileFilter); });
    if (path) {
        load(*path);
    }
}

bool TaskSession::load(const std::string& path) {
    TaskLoad read;
    m_workbench.guard([&] { read = loadTask(path); });
    return show(std::move(read));
}

bool TaskSession::load(const std::string& path, const std::vector<ChosenFile>& chosen) {
    const std::vector<std::string> names = dataFileNames(path);
    DataFileMatch match = matchDataFiles(names, chosen);
    if (!match.problem.empty()) {
        return show({std::nullopt, std::move(match.problem)});
    }
    DataFilePlaces places;
    for (std::size_t i = 0; i < names.size(); ++i) {
        places[names[i]] = match.paths[i];
    }
    TaskLoad read;
    m_workbench.guard([&] { read = loadTask(path, places); });
    return show(std::move(read));
}

bool TaskSession::show(TaskLoad read) {
    if (!read.task) {
        if (!read.problem.empty()) {
            m_prompts.showMessage(fromUtf8(read.problem), fromUtf8(kTaskBoxCaption),
                                  MessageIcon::Error);
        }
        return false;
    }
    m_task = std::move(read.task);
    std::vector<TaskPanelView::CaseRow> rows;
    for (const TaskCase& c : m_task->cases) {
        rows.push_back({c.name, c.points, inputsText(c)});
    }
    m_view.showTask(m_task->title, rows);
    m_selected = rows.empty() ? -1 : 0;
    m_view.showSelection(m_selected);
    showButtons();
    return true;
}

void TaskSession::test() {
    if (!canTest()) {
        return;
    }
    const Submission program{"Programm", programText(), ""};
    std::vector<ProgramGrade> grades;
    m_workbench.guard([&] { grades = gradeAll(*m_task, {program}, m_jobs); });
    if (grades.size() != 1 || grades.front().cases.size() != m_task->cases.size()) {
        return;  // the error has been shown
    }
    const ProgramGrade& grade = grades.front();
    for (std::size_t row = 0; row < grade.cases.size(); ++row) {
        const CaseGrade& c = grade.cases[row];
        m_view.showCaseResult(static_cast<int>(row), c.passed(), caseResultText(c));
    }
    m_view.showPoints(pointsText(grade.points, m_task->totalPoints()));
}

void TaskSession::select(int row) {
    const bool inside = m_task && row >= 0 && row < static_cast<int>(m_task->cases.size());
    m_selected = inside ? row : -1;
    showButtons();
}

void TaskSession::takeOver() {
    if (!canTakeOver()) {
        return;
    }
    const TaskCase& c = m_task->cases[static_cast<std::size_t>(m_selected)];
    std::optional<DataTable> start;
    m_workbench.guard([&] { start = caseStartTable(c); });
    if (start && m_workbench.takeOverData(*start)) {
        // The learner types these while stepping through the case.
        m_view.showTakenOver(takenOverText(c));
    }
}

bool TaskSession::canTest() const {
    return m_task && !m_task->cases.empty();
}

bool TaskSession::canTakeOver() const {
    return m_task && m_selected >= 0;
}

std::vector<std::string> TaskSession::dataFileNames(const std::string& path) {
    const TaskText read = readTaskFile(path);
    return read.text ? taskDataNames(*read.text) : std::vector<std::string>{};
}

std::string TaskSession::programText() const {
    return m_workbench.programText();
}

void TaskSession::showButtons() {
    m_view.enableButtons(canTest(), canTakeOver());
}

}  // namespace quarzel::grading
