#include "machine/memory.h"

#include "common/views.h"
#include "machine/instruction_step.h"
#include "machine/step_journal.h"
#include "model/data_table.h"
#include "model/machine_state.h"
#include "model/state_flags.h"

namespace quarzel {

Memory::Memory(MachineState& machine, DataTable& table, StateFlags& flags, DataGridView& grid,
               MemoryPictureView& picture)
    : m_machine(machine), m_table(table), m_flags(flags), m_grid(grid), m_picture(picture) {}

std::int32_t Memory::VM_GetData(std::int32_t address, bool clear) {
    const int row = address - 1;
    std::int32_t value = 0;
    if (!m_table.readNumber(row, value)) {
        throwUnreadableCell(m_table.value(row));
    }
    if (clear) {
        if (m_journal != nullptr) {
            m_journal->recordCell(m_table, row);
        }
        m_table.writeNumber(row, 0);  // a pop's clearing is no modification of the data
    }
    m_grid.showRowAtTop(row);
    m_machine.LastAccessCell = address;
    m_machine.LastAccessWrite = false;
    m_picture.repaintNow();
    return value;
}

void Memory::VM_SetData(std::int32_t address, std::int32_t value) {
    const int row = address - 1;
    if (m_journal != nullptr) {
        m_journal->recordCell(m_table, row);
    }
    m_table.writeNumber(row, value);
    m_grid.showRowAtTop(row);
    m_flags.DataModified = true;
    m_machine.LastAccessCell = address;
    m_machine.LastAccessWrite = true;
    m_picture.repaintNow();
}

void Memory::push(std::int32_t value) {
    pushValue(m_machine, *this, value);
}

std::int32_t Memory::pop() {
    return popValue(m_machine, *this);
}

}  // namespace quarzel
