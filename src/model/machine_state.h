// The machine's state: five registers, the record of the last memory access, the checked
// program, and whether a run is in progress at which speed.
#pragma once

#include <cstdint>

#include "common/views.h"  // Speed
#include "model/instruction_set.h"

namespace quarzel {

inline constexpr std::int32_t kCellCount = 512;
inline constexpr std::int32_t kEmptyStack = 512;  // the stack grows downward from cell 512

// The five registers, kept together so that a run or a journal entry can copy them at once.
struct Registers {
    std::int32_t VM_Accu = 0;
    std::int32_t VM_Window = 0;
    std::int32_t VM_Index = 0;
    std::int32_t VM_IP = 0;  // next program line, counted from 0
    std::int32_t VM_SP = 0;  // next free stack cell; 512 = empty, 0 = full (set by VM_Start)
};

inline bool operator==(const Registers& a, const Registers& b) {
    return a.VM_Accu == b.VM_Accu && a.VM_Window == b.VM_Window && a.VM_Index == b.VM_Index &&
           a.VM_IP == b.VM_IP && a.VM_SP == b.VM_SP;
}

// The machine at one moment, apart from its cells and its program: what a step back puts back,
// and what loop detection compares.
struct MachineSnapshot {
    Registers registers;
    std::int32_t LastAccessCell = 0;
    std::uint64_t StepCount = 0;
    std::uint64_t InputsTaken = 0;  // texts of a scripted input list used up so far
    std::int32_t InputValue = 0;    // the number the dialog accepted last
    bool LastAccessWrite = false;
};

// From two moments that agree in this, the machine goes on the same way as long as its cells
// agree too; the last access and the step count only tell the past.
inline bool sameFuture(const MachineSnapshot& a, const MachineSnapshot& b) {
    return a.registers == b.registers && a.InputValue == b.InputValue &&
           a.InputsTaken == b.InputsTaken;
}

struct MachineState : Registers {
    std::int32_t LastAccessCell = 0;  // 0 = none, else 1..512
    bool LastAccessWrite = false;

    // Instructions executed in the current run, a failing one included; 0 after VM_Start.
    std::uint64_t StepCount = 0;

    Instructions InstructionList;

    // A run is in progress: from VM_Start until STP, an error or "Stop".
    bool VM_Running = false;
    // INP waits for the number dialog: no step may start, whoever asks (a tick, a button).
    bool InputPending = false;
    Speed RunMode = Speed::Step;
};

}  // namespace quarzel
