#include "web/task.h"

#include <cstddef>
#include <optional>

#include "files/data_file.h"
#include "grading/chosen_data_files.h"
#include "grading/task_file.h"
#include "grading/task_session.h"
#include "session/workbench.h"
#include "web/boundary.h"

namespace quarzel {
namespace {

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : "\n") + name;
    }
    return text;
}

// The page's answer: one chosen file a line, its path in the core's file system and, after a
// tab, where it lies in the folder the user chose (empty for a single file).
std::vector<grading::ChosenFile> chosenFiles(const std::string& answer) {
    std::vector<grading::ChosenFile> files;
    std::size_t start = 0;
    while (start < answer.size()) {
        std::size_t end = answer.find('\n', start);
        end = end == std::string::npos ? answer.size() : end;
        const std::string line = answer.substr(start, end - start);
        const std::size_t tab = line.find('\t');
        if (!line.empty()) {
            files.push_back(tab == std::string::npos
                                ? grading::ChosenFile{line, ""}
                                : grading::ChosenFile{line.substr(0, tab), line.substr(tab + 1)});
        }
        start = end + 1;
    }
    return files;
}

}  // namespace

void WebTaskPanel::showTask(const std::string& title, const std::vector<CaseRow>& cases) {
    page::taskShow(title, static_cast<int>(cases.size()));
    int row = 0;
    for (const CaseRow& c : cases) {
        page::taskCase(row++, c.name, static_cast<double>(c.points), c.inputs);
    }
}

void WebTaskPanel::showSelection(int row) {
    page::taskSelect(row);
}

void WebTaskPanel::showCaseResult(int row, bool passed, const std::string& text) {
    page::taskResult(row, passed, text);
}

void WebTaskPanel::showPoints(const std::string& text) {
    page::taskPoints(text);
}

void WebTaskPanel::showTakenOver(const std::string& text) {
    page::taskTakenOver(text);
}

void WebTaskPanel::enableButtons(bool test, bool takeOver) {
    page::taskButtons(test, takeOver);
}

void chooseAndLoadTask(grading::TaskSession& session, Workbench& workbench, PromptView& prompts) {
    std::optional<std::string> path;
    workbench.guard([&] { path = prompts.chooseFileToOpen(grading::kTaskFileFilter); });
    if (!path) {
        return;
    }
    // A file that cannot be read names none and is refused by the session, in its own box.
    const std::vector<std::string> needed = grading::TaskSession::dataFileNames(*path);
    std::vector<grading::ChosenFile> chosen;
    if (!needed.empty()) {
        std::optional<std::string> answer;
        workbench.guard([&] {
            answer =
                page::chooseDataFiles(joined(needed), static_cast<double>(kMaxDataFileBytes) + 1);
        });
        if (!answer) {
            return;
        }
        chosen = chosenFiles(*answer);
    }
    session.load(*path, chosen);
}

}  // namespace quarzel
