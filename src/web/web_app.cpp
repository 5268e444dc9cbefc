#include "web/web_app.h"

#include <utility>

#include "model/data_table.h"

namespace quarzel {

WebApp::WebApp() {
    restart();
}

void WebApp::restart() {
    m_task.reset();
    m_workbench.reset();
    m_workbench = std::make_unique<Workbench>(
        Views{m_editor, m_grid, m_picture, m_registers, m_runPanel, m_prompts, m_numberInput});
    // The page has one thread to grade on.
    m_task = std::make_unique<grading::TaskSession>(*m_workbench, m_prompts, m_taskPanel, 1);
    const Workbench& wb = *m_workbench;
    m_grid.table = &wb.table();
    m_picture.table = &wb.table();
    m_picture.machine = &wb.machine();
}

void WebApp::showAll() {
    // The editor outlives the session it served: emptied for the page, not by the user, so no
    // change the new session has to hear of.
    auto changed = std::exchange(m_editor.onChange, nullptr);
    m_editor.clear();
    m_editor.onChange = std::move(changed);
    m_workbench->showFreshStart();
}

}  // namespace quarzel
