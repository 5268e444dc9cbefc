#include "web/web_app.h"

#include <utility>

#include "model/data_table.h"

namespace quarzel {

WebApp::WebApp() {
    restart();
}

void WebApp::restart() {
    m_workbench.reset();
    m_workbench = std::make_unique<Workbench>(
        Views{m_editor, m_grid, m_picture, m_registers, m_runPanel, m_prompts, m_numberInput});
    Workbench& wb = *m_workbench;
    m_grid.table = &wb.table;
    m_picture.table = &wb.table;
    m_picture.machine = &wb.machine;
    m_numberInput.prompts = &m_prompts;
}

void WebApp::showAll() {
    Workbench& wb = *m_workbench;
    // Emptied for the page, not by the user: no change the session has to hear of.
    auto changed = std::exchange(m_editor.onChange, nullptr);
    m_editor.clear();
    m_editor.onChange = std::move(changed);
    m_editor.setReadOnly(false);
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        m_grid.rowChanged(row);
    }
    m_grid.setInputEnabled(true);
    const MachineState& m = wb.machine;
    m_registers.showRegister(Register::Accu, m.VM_Accu);
    m_registers.showRegister(Register::Window, m.VM_Window);
    m_registers.showRegister(Register::Index, m.VM_Index);
    m_registers.showRegister(Register::IP, m.VM_IP);
    // The stack field shows the empty stack before any run, as the window's field does.
    m_registers.showRegister(Register::SP, m.VM_Running ? m.VM_SP : 512);
    m_runPanel.setRunCaption("Start");
    m_runPanel.showSpeed(Speed::Step);
    wb.speedClick(Speed::Step);
    m_picture.repaintNow();
}

}  // namespace quarzel
