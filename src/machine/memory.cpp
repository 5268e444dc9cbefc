#include "machine/memory.h"

#include "common/checked_int.h"
#include "common/number_text.h"
#include "common/views.h"
#include "machine/runtime_fault.h"
#include "model/data_table.h"
#include "model/machine_state.h"
#include "model/state_flags.h"

namespace quarzel {

Memory::Memory(MachineState& machine, DataTable& table, StateFlags& flags, DataGridView& grid,
               MemoryPictureView& picture)
    : m_machine(machine), m_table(table), m_flags(flags), m_grid(grid), m_picture(picture) {}

std::int32_t Memory::VM_GetData(std::int32_t address, bool clear) {
    const int row = address - 1;
    const std::int32_t value = textToInt32(m_table.value(row));
    if (clear) {
        m_table.setValue(row, "0");  // a pop's clearing is no modification of the data
    }
    m_grid.showRowAtTop(row);
    m_machine.LastAccessCell = address;
    m_machine.LastAccessWrite = false;
    m_picture.repaintNow();
    return value;
}

void Memory::VM_SetData(std::int32_t address, std::int32_t value) {
    const int row = address - 1;
    m_table.setValue(row, int32ToText(value));
    m_grid.showRowAtTop(row);
    m_flags.DataModified = true;
    m_machine.LastAccessCell = address;
    m_machine.LastAccessWrite = true;
    m_picture.repaintNow();
}

void Memory::push(std::int32_t value) {
    if (m_machine.VM_SP < 1) {
        throw RuntimeFault("Stack-Underflow");
    }
    VM_SetData(m_machine.VM_SP, value);
    m_machine.VM_SP = checkedSub(m_machine.VM_SP, 1);
}

std::int32_t Memory::pop() {
    if (m_machine.VM_SP > kCellCount - 1) {
        throw RuntimeFault("Stack-Overflow");
    }
    m_machine.VM_SP = checkedAdd(m_machine.VM_SP, 1);
    return VM_GetData(m_machine.VM_SP, true);
}

}  // namespace quarzel
