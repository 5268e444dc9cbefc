// Executes one instruction per call (VM_Step) and shows the registers (VM_Print).
#pragma once

#include <cstdint>

#include "machine/step_outcome.h"

namespace quarzel {

class Memory;
struct MachineState;
struct NumberInput;
struct Views;
struct VM_Instruction;
struct WrappedResult;

class Executor {
  public:
    Executor(MachineState& machine, Memory& memory, NumberInput& input, const Views& views);

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
    StepOutcome executeInstruction();  // throws RuntimeFault and SystemError
    std::int32_t readOperand(const VM_Instruction& instruction);
    void writeOperand(const VM_Instruction& instruction, std::int32_t value);
    std::int32_t pointedCell(std::int32_t cell);  // the address held by cell `cell`, 1..512
    void storeWrapped(WrappedResult result);
    void next();
    void jumpIf(bool condition, const VM_Instruction& instruction);
    void inputRequest();

    MachineState& m_machine;
    Memory& m_memory;
    NumberInput& m_input;
    const Views& m_views;
};

}  // namespace quarzel
