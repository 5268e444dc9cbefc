// The journal of a run's steps, so that a learner can take steps back. Each step records what
// it is about to change: the machine's state (registers, last-access marks, step count,
// InputValue) and the one cell it writes with its old content. Only the last kCapacity steps are
// kept, so memory stays bounded however long a run goes on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/data_table.h"
#include "model/machine_state.h"

namespace quarzel {

struct JournalEntry {
    MachineSnapshot before;        // the machine before the step
    std::int32_t writtenRow = -1;  // the row of the cell the step wrote, or -1
    CellContent cell;              // that cell before the step
};

class StepJournal {
  public:
    static constexpr std::size_t kCapacity = 100000;

    // Opens the entry of the step about to run; the oldest entry goes when the journal is full.
    void begin(const MachineSnapshot& before);
    // Called before the open step writes a cell (a push, a pop's clearing, STO).
    void recordCell(const DataTable& table, int row);
    void end() { m_open = false; }

    bool empty() const { return m_size == 0; }
    std::size_t size() const { return m_size; }
    // Removes the newest entry and hands it over. Precondition: !empty().
    JournalEntry takeLast();
    void clear();

  private:
    JournalEntry& newest();

    std::vector<JournalEntry> m_ring;
    std::size_t m_next = 0;  // where the next entry goes
    std::size_t m_size = 0;
    bool m_open = false;
};

}  // namespace quarzel
