// The machine's state: five registers, the record of the last memory access, the checked
// program, and whether a run is in progress at which speed.
#pragma once

#include <cstdint>

#include "model/instruction_set.h"

namespace quarzel {

// The selected speed (RunMode), stored as a signed 32-bit number.
enum class Speed : std::int32_t { Step = 0, Slow = 1, Fast = 2, Direct = 3 };

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

struct MachineState : Registers {
    std::int32_t LastAccessCell = 0;  // 0 = none, else 1..512
    bool LastAccessWrite = false;

    // Instructions executed in the current run, a failing one included; 0 after VM_Start.
    std::uint64_t StepCount = 0;

    Instructions InstructionList;

    bool VM_Running = false;
    Speed RunMode = Speed::Step;
};

}  // namespace quarzel
