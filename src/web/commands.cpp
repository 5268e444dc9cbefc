// The user's commands, each one call of the session's facade; "Ende" starts afresh once the
// work may go.
#include "web/web_app.h"

namespace quarzel {

void WebApp::command(WebCommand which) {
    Workbench& wb = *m_workbench;
    switch (which) {
        case WebCommand::Check:
            wb.btCheckClick();
            return;
        case WebCommand::Run:
            wb.btRunClick();
            return;
        case WebCommand::Step:
            wb.btStepClick();
            return;
        case WebCommand::Back:
            wb.btBackClick();
            return;
        case WebCommand::New:
            wb.btNewClick();
            return;
        case WebCommand::Load:
            wb.btLoadClick();
            return;
        case WebCommand::Save:
            wb.btSaveClick();
            return;
    }
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

bool WebApp::closeRequested() {
    if (!m_workbench->closeRequested()) {
        return false;
    }
    restart();
    showAll();
    return true;
}

}  // namespace quarzel
