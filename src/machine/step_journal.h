// The journal of a run's steps, so that a learner can take steps back and go forward again.
// Each step records what it is about to change: the machine's state (registers, last-access
// marks, step count, InputValue) and the one cell it writes with its old content; and what
// nothing else keeps: whether it touched a cell at all, and what INP's dialog gave. Steps taken
// back stay recorded after the position until a new step is taken, so that they can be
// replayed. Only the last kCapacity steps are kept, so memory stays bounded however long a run
// goes on.
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
    std::int32_t number = 0;       // INP: InputValue after the step, the number it took
    bool accessed = false;         // the step read or wrote a cell: the last access after it
    bool numberAccepted = false;   // INP: the dialog accepted a number (else it was closed)
};

class StepJournal {
  public:
    static constexpr std::size_t kCapacity = 100000;

    // Opens the entry of the step about to run, right after the steps taken so far: steps that
    // were taken back are forgotten, and the oldest entry goes when the journal is full.
    void begin(const MachineSnapshot& before);
    // Called before the open step writes a cell (a push, a pop's clearing, STO).
    void recordCell(const DataTable& table, int row);
    // The open step read or wrote a cell.
    void recordAccess() {
        if (m_open) {
            newest().accessed = true;
        }
    }
    // The open step's INP dialog accepted a number, or was closed through its frame; `number`
    // is InputValue afterwards, what went into the accumulator.
    void recordNumber(bool accepted, std::int32_t number) {
        if (m_open) {
            JournalEntry& entry = newest();
            entry.numberAccepted = accepted;
            entry.number = number;
        }
    }
    void end() { m_open = false; }

    bool empty() const { return m_size == 0; }
    // Every entry held, the steps taken back included.
    std::size_t size() const { return m_size; }
    // How many of them are steps taken: the others were taken back and may be replayed.
    std::size_t position() const { return m_position; }
    // Entry `index` counted from the oldest held. Precondition: index < size().
    const JournalEntry& at(std::size_t index) const { return m_ring[slot(index)]; }

    // Takes the last step taken back and hands over its entry. Precondition: position() > 0.
    const JournalEntry& stepBack();
    // Takes the next step taken back as taken again. Precondition: position() < size().
    const JournalEntry& stepForward();
    // Forgets the steps after the position (a replay found that they no longer follow).
    void forgetAfterPosition() { m_size = m_position; }
    void clear();

  private:
    std::size_t slot(std::size_t index) const { return (m_start + index) % kCapacity; }
    JournalEntry& newest() { return m_ring[slot(m_size - 1)]; }

    std::vector<JournalEntry> m_ring;
    std::size_t m_start = 0;  // the slot of the oldest entry
    std::size_t m_size = 0;
    std::size_t m_position = 0;
    bool m_open = false;
};

}  // namespace quarzel
