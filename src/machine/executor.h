// Executes one instruction per call as the window shows it, and shows the registers
// (VM_Print).
#pragma once

#include "machine/step_outcome.h"

namespace quarzel {

class Memory;
struct MachineState;
struct Views;

class Executor {
  public:
    Executor(MachineState& machine, Memory& memory, const Views& views);

    // Executes the instruction at VM_IP with its memory side effects and says how it ended.
    // It neither stops the run nor shows anything: run control does that with the outcome
    // (RunControl::VM_Step). A run-time error or a system error (overflow, a cell that does
    // not convert) leaves VM_IP on the failing line. A VM_IP outside InstructionList is a
    // run-time error.
    StepOutcome execute();

    // Shows the five registers and scrolls the editor so that line VM_IP is the first
    // visible line.
    void VM_Print();

  private:
    MachineState& m_machine;
    Memory& m_memory;
    const Views& m_views;
};

}  // namespace quarzel
