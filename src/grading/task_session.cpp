#include "grading/task_session.h"

#include <cstddef>
#include <utility>

#include "common/win1252.h"
#include "grading/case_run.h"
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

// A test in parts: the program as it stood at "Testen", the case that runs, the points so far.
struct TaskSession::PartedTest {
    std::string program;
    std::size_t next = 0;  // the case that runs or runs next
    CaseInput input;
    std::unique_ptr<CaseRun> run;
    std::int64_t points = 0;
};

// The steps a case runs before the clock is read again: a few milliseconds.
constexpr std::uint64_t kStepsBetweenLooks = 20000;

TaskSession::~TaskSession() = default;

bool TaskSession::startTest() {
    m_test.reset();
    if (!canTest()) {
        return false;
    }
    m_test = std::make_unique<PartedTest>();
    m_test->program = programText();
    return true;
}

bool TaskSession::testPart(std::chrono::milliseconds budget) {
    if (!m_test || !m_task) {
        return false;
    }
    const auto end = std::chrono::steady_clock::now() + budget;
    PartedTest& test = *m_test;
    bool more = true;
    const bool handled = m_workbench.guard([&] {
        do {
            const TaskCase& taskCase = m_task->cases[test.next];
            if (!test.run) {
                test.input = caseInput(*m_task, taskCase, test.program);
                test.run = std::make_unique<CaseRun>(test.input);
            }
            if (!test.run->advance(kStepsBetweenLooks)) {
                continue;
            }
            const CaseGrade grade = gradeCase(taskCase, test.run->result());
            test.run.reset();
            test.points += grade.points;
            m_view.showCaseResult(static_cast<int>(test.next), grade.passed(),
                                  caseResultText(grade));
            if (++test.next == m_task->cases.size()) {
                m_view.showPoints(pointsText(test.points, m_task->totalPoints()));
                more = false;
                return;
            }
        } while (std::chrono::steady_clock::now() < end);
    });
    if (!handled || !more) {
        m_test.reset();  // an error has been shown; or every case is
        return false;
    }
    return true;
}

void TaskSession::cancelTest() {
    m_test.reset();
}

int TaskSession::casesTested() const {
    return m_test ? static_cast<int>(m_test->next) : 0;
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
