// The user's commands, each one call of the session's facade; "Ende" starts afresh once the
// work may go.
#include <chrono>

#include "web/boundary.h"
#include "web/teaching_texts.h"
#include "web/web_app.h"

namespace quarzel {

void WebApp::command(Command which) {
    Workbench& wb = *m_workbench;
    switch (which) {
        case Command::Check:
            wb.btCheckClick();
            return;
        case Command::Run:
            wb.btRunClick();
            return;
        case Command::Step:
            wb.btStepClick();
            return;
        case Command::Back:
            wb.btBackClick();
            return;
        case Command::New:
            wb.btNewClick();
            return;
        case Command::Load:
            wb.btLoadClick();
            return;
        case Command::Save:
            wb.btSaveClick();
            return;
        case Command::Examples:
            // The page lists them and answers with the one chosen (-1: none); loading asks
            // the save questions itself.
            if (const int chosen = page::chooseExample(exampleListJson()); chosen >= 0) {
                wb.loadExample(chosen);
            }
            return;
    }
}

void WebApp::taskLoad() {
    chooseAndLoadTask(*m_task, *m_workbench, m_prompts);
}

void WebApp::speedClick(Speed speed) {
    m_workbench->speedClick(speed);
}

void WebApp::timerTick(RunTimer timer) {
    m_workbench->timerTick(timer);
}

void WebApp::htmlExport(const std::string& date) {
    m_workbench->btHTMLClick(date);
}

void WebApp::programChanged(const std::string& text) {
    handle([this, &text] { m_editor.setTextFromPage(text); });
}

// How long one part of "Testen" holds the page: well below what a user notices as a hang.
constexpr std::chrono::milliseconds kTestPart{40};

void WebApp::taskTest() {
    grading::TaskSession& session = *m_task;
    if (!session.startTest()) {
        return;
    }
    const int total = static_cast<int>(session.task()->cases.size());
    // The page answers each report of progress after it has drawn it and heard its events;
    // false: "Abbrechen".
    while (page::taskProgress(session.casesTested(), total)) {
        if (!session.testPart(kTestPart)) {
            return;
        }
    }
    session.cancelTest();
}

void WebApp::programEdited(int fromLine, int fromColumn, int toLine, int toColumn,
                           const std::string& text) {
    handle([&] { m_editor.editFromPage(fromLine, fromColumn, toLine, toColumn, text); });
}

void WebApp::cellTyped(int column, int row, const std::string& text) {
    m_workbench->cellTyped(column, row, text);
}

void WebApp::cellEdited(int column, int row, const std::string& text) {
    m_workbench->cellEdited(column, row, text);
}

void WebApp::toggleBreakpoint(int line) {
    m_workbench->toggleBreakpoint(line);
}

WebApp::CloseResult WebApp::closeRequested() {
    if (!m_workbench->closeRequested()) {
        return Stayed;
    }
    const bool workLeft = m_workbench->closedWithWorkLeft();
    restart();
    showAll();
    return workLeft ? ClosedWorkLeft : ClosedAllSettled;
}

}  // namespace quarzel
