#include "web/task.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "common/system_error.h"
#include "common/views.h"
#include "common/win1252.h"
#include "files/data_file.h"
#include "grading/chosen_data_files.h"
#include "grading/grader.h"
#include "grading/task_session.h"
#include "session/workbench.h"
#include "web/web_app.h"

// clang-format off
EM_JS(void, qz_js_task_show, (const char* title, int cases), {
    Module.page.taskShow(UTF8ToString(title), cases);
});
EM_JS(void, qz_js_task_case, (int row, const char* name, double points, const char* inputs), {
    Module.page.taskCase(row, UTF8ToString(name), points, UTF8ToString(inputs));
});
EM_JS(void, qz_js_task_result, (int row, int passed, const char* text), {
    Module.page.taskResult(row, passed !== 0, UTF8ToString(text));
});
EM_JS(void, qz_js_task_points, (const char* text), {
    Module.page.taskPoints(UTF8ToString(text));
});
EM_JS(void, qz_js_task_taken_over, (const char* text), {
    Module.page.taskTakenOver(UTF8ToString(text));
});
EM_ASYNC_JS(char*, qz_js_choose_data_files, (const char* names, double maxBytes), {
    const paths = await Module.page.chooseDataFiles(UTF8ToString(names).split("\n"), maxBytes);
    if (paths === null) return 0;
    const text = paths.join("\n");
    const size = lengthBytesUTF8(text) + 1;
    const memory = _malloc(size);
    stringToUTF8(text, memory, size);
    return memory;
});
// clang-format on

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
    char* text = qz_js_choose_data_files(joined(names, "\n").c_str(),
                                         static_cast<double>(kMaxDataFileBytes) + 1);
    if (text == nullptr) {
        return std::nullopt;
    }
    const std::string paths(text);
    std::free(text);
    return lines(paths);
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
    PromptView& prompts = wb.views.prompts;
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
    qz_js_task_show(m_task->title.c_str(), static_cast<int>(m_task->cases.size()));
    int row = 0;
    for (const grading::TaskCase& c : m_task->cases) {
        qz_js_task_case(row++, c.name.c_str(), static_cast<double>(c.points),
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
    const grading::Submission program{"Programm", wb.views.editor.text(), ""};
    std::vector<grading::ProgramGrade> grades;
    app.handle([&] { grades = grading::gradeAll(*m_task, {program}, 1); });
    if (grades.size() != 1) {
        return;  // the error has been shown
    }
    const grading::ProgramGrade& grade = grades.front();
    for (std::size_t row = 0; row < grade.cases.size(); ++row) {
        const grading::CaseGrade& c = grade.cases[row];
        qz_js_task_result(static_cast<int>(row), c.passed() ? 1 : 0,
                          grading::caseResultText(c).c_str());
    }
    qz_js_task_points(grading::pointsText(grade.points, m_task->totalPoints()).c_str());
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
        qz_js_task_taken_over(grading::takenOverText(c).c_str());
    }
}

}  // namespace quarzel
