// The machine's memory access as the window shows it: cells 1..512 are the value column of the
// data table, every access scrolls the table and repaints the picture, every write is first
// recorded in the step journal. The stack lives at the top end of the same cells.
#pragma once

#include <cstdint>

#include "machine/machine_access.h"

namespace quarzel {

class DataGridView;
class LoopDetector;
class MemoryPictureView;
class NumberInputView;
class PromptView;
class StepJournal;

class Memory {
  public:
    Memory(MachineState& machine, DataTable& table, StateFlags& flags, NumberInput& input,
           DataGridView& grid, MemoryPictureView& picture, NumberInputView& dialog,
           PromptView& prompts);

    // Every write is recorded in the journal's open entry first.
    void setJournal(StepJournal* journal) { m_watcher.journal = journal; }
    // A run at a timed speed is watched for an endless loop: the detector hears every write.
    void setLoopWatch(LoopDetector* detector) { m_watcher.loopWatch = detector; }

    // Reads cell `address` (1..512, guaranteed by the caller): take the number, clear the cell
    // to "0" when asked, record a read, scroll the table to it, repaint the picture. A text
    // that is no number raises the conversion error before any of these side effects.
    std::int32_t VM_GetData(std::int32_t address, bool clear) {
        return clear ? m_access.readAndClear(address) : m_access.read(address);
    }

    // Writes cell `address`: store the number, set DataModified, record a write, scroll the
    // table to it, repaint the picture.
    void VM_SetData(std::int32_t address, std::int32_t value) { m_access.write(address, value); }

    // The names the instructions use (see instruction_step.h).
    std::int32_t read(std::int32_t address) { return m_access.read(address); }
    std::int32_t readAndClear(std::int32_t address) { return m_access.readAndClear(address); }
    void write(std::int32_t address, std::int32_t value) { m_access.write(address, value); }
    std::int32_t requestNumber() { return m_access.requestNumber(); }

  private:
    struct DisplayWatcher {
        const DataTable& table;
        const NumberInput& input;
        DataGridView& grid;
        MemoryPictureView& picture;
        StepJournal* journal = nullptr;
        LoopDetector* loopWatch = nullptr;

        void beforeWrite(int row, std::int32_t number);
        void atCell(int row);
        void recorded();
        void numberTaken(bool accepted);
    };

    DisplayWatcher m_watcher;
    MachineAccess<DisplayWatcher> m_access;
};

}  // namespace quarzel
