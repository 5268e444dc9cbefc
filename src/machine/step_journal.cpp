#include "machine/step_journal.h"

#include <utility>

namespace quarzel {

void StepJournal::begin(const MachineSnapshot& before) {
    if (m_ring.size() < kCapacity && m_next == m_ring.size()) {
        m_ring.emplace_back();  // the ring grows with the run, up to its capacity
    }
    JournalEntry& entry = m_ring[m_next];
    entry.before = before;
    entry.writtenRow = -1;
    entry.cell = CellContent{};
    m_next = (m_next + 1) % kCapacity;
    m_size = m_size < kCapacity ? m_size + 1 : kCapacity;
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

JournalEntry StepJournal::takeLast() {
    JournalEntry entry = std::move(newest());
    m_next = (m_next + kCapacity - 1) % kCapacity;
    --m_size;
    m_open = false;
    return entry;
}

void StepJournal::clear() {
    m_ring.clear();
    m_ring.shrink_to_fit();
    m_next = 0;
    m_size = 0;
    m_open = false;
}

JournalEntry& StepJournal::newest() {
    return m_ring[(m_next + kCapacity - 1) % kCapacity];
}

}  // namespace quarzel
