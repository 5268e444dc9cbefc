// The machine's memory access: cells 1..512 are the value column of the data table, and the
// stack lives at their top end.
#pragma once

#include <cstdint>

namespace quarzel {

class DataGridView;
class DataTable;
class MemoryPictureView;
struct MachineState;
struct StateFlags;

class Memory {
public:
    Memory(MachineState& machine, DataTable& table, StateFlags& flags, DataGridView& grid,
           MemoryPictureView& picture);

    // Reads cell `address` (1..512, guaranteed by the caller): convert the text, clear the cell
    // to "0" when asked, scroll the table to it, record a read, repaint the picture. A text
    // that does not convert raises the conversion error before any of these side effects.
    std::int32_t VM_GetData(std::int32_t address, bool clear);

    // Writes cell `address`: store the decimal text, scroll the table to it, set
    // DataModified, record a write, repaint the picture.
    void VM_SetData(std::int32_t address, std::int32_t value);

    // Writes cell VM_SP, then decrements VM_SP. A full stack (VM_SP < 1) is the run-time error
    // "Stack-Underflow" (RuntimeFault), raised before anything changes.
    void push(std::int32_t value);

    // Increments VM_SP, then reads cell VM_SP and leaves "0" in it. An empty stack
    // (VM_SP > 511) is the run-time error "Stack-Overflow".
    std::int32_t pop();

private:
    MachineState& m_machine;
    DataTable& m_table;
    StateFlags& m_flags;
    DataGridView& m_grid;
    MemoryPictureView& m_picture;
};

}  // namespace quarzel
