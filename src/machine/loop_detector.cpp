#include "machine/loop_detector.h"

namespace quarzel {

LoopDetector::LoopDetector(const MachineState& machine, const DataTable& table,
                           const NumberInput& input, const NumberInputView& dialog)
    : m_machine(machine), m_table(table), m_input(input), m_dialog(dialog) {
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        m_cellsHash ^= cellKey(row);
    }
}

MachineSnapshot LoopDetector::now(const Registers& registers) const {
    MachineSnapshot state = snapshotOf(m_machine, m_input, m_dialog);
    state.registers = registers;
    return state;
}

void LoopDetector::takeSnapshot(const Registers& registers) {
    m_taken = true;
    m_snapshot = now(registers);
    m_snapshotHash = m_cellsHash;
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        SnapshotCell& cell = m_cells[static_cast<std::size_t>(row)];
        cell.written = m_table.isMachineWritten(row);
        m_table.readNumber(row, cell.number);
    }
}

bool LoopDetector::equalsSnapshot(const Registers& registers) const {
    if (!sameFuture(now(registers), m_snapshot)) {
        return false;
    }
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        const SnapshotCell& cell = m_cells[static_cast<std::size_t>(row)];
        if (cell.written != m_table.isMachineWritten(row)) {
            return false;
        }
        std::int32_t number = 0;
        m_table.readNumber(row, number);
        if (cell.written && cell.number != number) {
            return false;
        }
    }
    return true;
}

}  // namespace quarzel
