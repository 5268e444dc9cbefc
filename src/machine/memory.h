// The machine's memory access as the window shows it: cells 1..512 are the value column of the
// data table, every access scrolls the table and repaints the picture, and the stack lives at
// the top end of the same cells.
#pragma once

#include <cstdint>

namespace quarzel {

class DataGridView;
class DataTable;
class MemoryPictureView;
class StepJournal;
struct MachineState;
struct StateFlags;

class Memory {
  public:
    Memory(MachineState& machine, DataTable& table, StateFlags& flags, DataGridView& grid,
           MemoryPictureView& picture);

    // Every write is recorded in the journal's open entry first.
    void setJournal(StepJournal* journal) { m_journal = journal; }

    // Reads cell `address` (1..512, guaranteed by the caller): take the number, clear the cell
    // to "0" when asked, scroll the table to it, record a read, repaint the picture. A text
    // that is no number raises the conversion error before any of these side effects.
    std::int32_t VM_GetData(std::int32_t address, bool clear);

    // Writes cell `address`: store the number, scroll the table to it, set DataModified,
    // record a write, repaint the picture.
    void VM_SetData(std::int32_t address, std::int32_t value);

    // Writes cell VM_SP, then decrements VM_SP. A full stack (VM_SP < 1) is the run-time error
    // "Stack-Underflow" (RuntimeFault), raised before anything changes.
    void push(std::int32_t value);

    // Increments VM_SP, then reads cell VM_SP and leaves "0" in it. An empty stack
    // (VM_SP > 511) is the run-time error "Stack-Overflow".
    std::int32_t pop();

    // The names the instructions use (see instruction_step.h).
    std::int32_t read(std::int32_t address) { return VM_GetData(address, false); }
    std::int32_t readAndClear(std::int32_t address) { return VM_GetData(address, true); }
    void write(std::int32_t address, std::int32_t value) { VM_SetData(address, value); }

  private:
    MachineState& m_machine;
    DataTable& m_table;
    StateFlags& m_flags;
    DataGridView& m_grid;
    MemoryPictureView& m_picture;
    StepJournal* m_journal = nullptr;
};

}  // namespace quarzel
