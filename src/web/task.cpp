#include "web/task.h"

#include <algorithm>
#include <filesystem>

#include "common/system_error.h"
#include "common/views.h"
#include "common/win1252.h"
#include "files/data_file.h"
#include "grading/chosen_data_files.h"
#include "grading/grader.h"
#include "grading/task_session.h"
#include "session/workbench.h"
#include "web/boundary.h"
#include "web/web_app.h"


namespace quarzel {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        if (end > start) {
            result.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return result;
}

std::string joined(const std::vector<std::string>& names, const std::string& between) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : between) + name;
    }
    return text;
}

// The files the page put into its file system for the names; none when the user cancelled.
std::optional<std::vector<std::string>> chooseDataFiles(const std::vector<std::string>& names) {
    const auto paths =
        page::chooseDataFiles(joined(names, "\n"), static_cast<double>(kMaxDataFileBytes) + 1);
    if (!paths) {
        return std::nullopt;
    }
    return lines(*paths);
}

// Puts every chosen file where the task file's reader looks for the name it stands for.
void placeDataFiles(const std::string& taskPath, const std::vector<std::string>& needed,
                    const std::vector<std::string>& files) {
    namespace fs = std::filesystem;
    for (std::size_t i = 0; i < needed.size(); ++i) {
        const std::string& name = needed[i];
        const fs::path target = fs::u8path(grading::taskDataPath(taskPath, name));
        std::error_code error;
        fs::create_directories(target.parent_path(), error);
        if (!fs::copy_file(fs::u8path(files[i]), target, fs::copy_options::overwrite_existing,
                           error)) {
            throw SystemError(fromUtf8("Die Datendatei „" + name +
                                       "“ kann nicht übernommen werden: " + error.message()));
        }
    }
}

}  // namespace

void WebTask::load(WebApp& app) {
    Workbench& wb = app.workbench();
    PromptView& prompts = app.prompts();
    std::optional<std::string> path;
    wb.guard([&] { path = prompts.chooseFileToOpen(grading::kTaskFileFilter); });
    if (!path) {
        return;
    }
    // The browser hands over one file: the data files the cases name come in a second choice.
    // A file that cannot be read names none and is refused below, in the task's own box.
    const std::vector<std::string> needed = grading::TaskSession::dataFileNames(*path);
    if (!needed.empty()) {
        const auto chosen = chooseDataFiles(needed);
        if (!chosen) {
            return;
        }
        std::vector<grading::ChosenFile> files;
        for (const std::string& file : *chosen) {
            files.push_back({file, ""});
        }
        const grading::DataFileMatch match = grading::matchDataFiles(needed, files);
        if (!match.problem.empty()) {
            prompts.showMessage(fromUtf8(match.problem), grading::kTaskBoxCaption,
                                MessageIcon::Error);
            return;
        }
        if (!app.handle([&] { placeDataFiles(*path, needed, match.paths); })) {
            return;
        }
    }
    grading::TaskLoad load;
    app.handle([&] { load = grading::loadTask(*path); });
    if (!load.task) {
        if (!load.problem.empty()) {
            prompts.showMessage(fromUtf8(load.problem), grading::kTaskBoxCaption,
                                MessageIcon::Error);
        }
        return;
    }
    m_task = std::move(load.task);
    show();
}

void WebTask::show() {
    page::taskShow(m_task->title.c_str(), static_cast<int>(m_task->cases.size()));
    int row = 0;
    for (const grading::TaskCase& c : m_task->cases) {
        page::taskCase(row++, c.name.c_str(), static_cast<double>(c.points),
                        grading::inputsText(c).c_str());
    }
}

void WebTask::test(WebApp& app) {
    if (!m_task) {
        return;
    }
    Workbench& wb = app.workbench();
    // Every case on a workbench of its own: the session's run, registers, table and flags stay
    // as they are. The page has one thread.
    const grading::Submission program{"Programm", wb.programText(), ""};
    std::vector<grading::ProgramGrade> grades;
    app.handle([&] { grades = grading::gradeAll(*m_task, {program}, 1); });
    if (grades.size() != 1) {
        return;  // the error has been shown
    }
    const grading::ProgramGrade& grade = grades.front();
    for (std::size_t row = 0; row < grade.cases.size(); ++row) {
        const grading::CaseGrade& c = grade.cases[row];
        page::taskResult(static_cast<int>(row), c.passed() ? 1 : 0,
                          grading::caseResultText(c).c_str());
    }
    page::taskPoints(grading::pointsText(grade.points, m_task->totalPoints()).c_str());
}

void WebTask::takeOver(WebApp& app, int row) {
    if (!m_task || row < 0 || row >= static_cast<int>(m_task->cases.size())) {
        return;
    }
    const grading::TaskCase& c = m_task->cases[static_cast<std::size_t>(row)];
    std::optional<DataTable> start;
    app.handle([&] { start = grading::caseStartTable(c); });
    bool taken = false;
    app.handle([&] { taken = start && app.workbench().takeOverData(*start); });
    if (taken) {
        // The learner types these while stepping through the case.
        page::taskTakenOver(grading::takenOverText(c).c_str());
    }
}

}  // namespace quarzel
