#include "machine/step_journal.h"

namespace quarzel {

void StepJournal::begin(const MachineSnapshot& before) {
    m_size = m_position;  // what was taken back does not follow this step
    if (m_size == kCapacity) {
        m_start = slot(1);
        --m_size;
    }
    const std::size_t index = slot(m_size);
    if (index == m_ring.size()) {
        m_ring.emplace_back();  // the ring grows with the run, up to its capacity
    }
    JournalEntry& entry = m_ring[index];
    entry.before = before;
    entry.writtenRow = -1;
    entry.cell = CellContent{};
    entry.number = 0;
    entry.accessed = false;
    entry.numberAccepted = false;
    ++m_size;
    m_position = m_size;
    m_open = true;
}

void StepJournal::recordCell(const DataTable& table, int row) {
    if (!m_open) {
        return;
    }
    JournalEntry& entry = newest();
    if (entry.writtenRow < 0) {  // the content before the step's first write is what counts
        entry.writtenRow = row;
        entry.cell = table.content(row);
    }
}

const JournalEntry& StepJournal::stepBack() {
    m_open = false;
    --m_position;
    return at(m_position);
}

const JournalEntry& StepJournal::stepForward() {
    m_open = false;
    return at(m_position++);
}

void StepJournal::clear() {
    m_ring.clear();
    m_ring.shrink_to_fit();
    m_start = 0;
    m_size = 0;
    m_position = 0;
    m_open = false;
}

}  // namespace quarzel
