// The user's commands, each one call of the session's facade; "Ende" starts afresh once the
// work may go.
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
