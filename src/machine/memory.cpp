#include "machine/memory.h"

#include "common/views.h"
#include "machine/loop_detector.h"
#include "machine/step_journal.h"

namespace quarzel {

Memory::Memory(MachineState& machine, DataTable& table, StateFlags& flags, NumberInput& input,
               DataGridView& grid, MemoryPictureView& picture, NumberInputView& dialog,
               PromptView& prompts)
    : m_watcher{table, input, grid, picture},
      m_access(machine, table, flags, input, dialog, prompts, m_watcher) {}

void Memory::DisplayWatcher::beforeWrite(int row, std::int32_t number) {
    if (journal != nullptr) {
        journal->recordCell(table, row);
    }
    if (loopWatch != nullptr) {
        loopWatch->beforeWrite(row, number);
    }
}

void Memory::DisplayWatcher::atCell(int row) {
    grid.showRowAtTop(row);
}

void Memory::DisplayWatcher::recorded() {
    if (journal != nullptr) {
        journal->recordAccess();
    }
    picture.repaintNow();
}

void Memory::DisplayWatcher::numberTaken(bool accepted) {
    if (journal != nullptr) {
        journal->recordNumber(accepted, input.InputValue);
    }
}

}  // namespace quarzel
