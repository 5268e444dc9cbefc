// Executes one instruction per call (VM_Step) and shows the registers (VM_Print).
#pragma once

#include <cstdint>

namespace quarzel {

class Memory;
class RunControl;
struct MachineState;
struct NumberInput;
struct Views;
struct VM_Instruction;
struct WrappedResult;

class Executor {
  public:
    Executor(MachineState& machine, Memory& memory, RunControl& runControl, NumberInput& input,
             const Views& views);

    // Executes the instruction at VM_IP. A run-time error stops the run (VM_Stop) and shows
    // the "Laufzeitfehler" box; VM_IP stays on the failing line and VM_Print is not called.
    // A SystemError (overflow, a cell that does not convert) stops the run too and then goes
    // on to the central handler. A VM_IP outside InstructionList is a run-time error.
    void VM_Step();

    // Shows the five registers and scrolls the editor so that line VM_IP is the first
    // visible line.
    void VM_Print();

  private:
    void execute();  // one step without the error handling of VM_Step
    std::int32_t readOperand(const VM_Instruction& instruction);
    void writeOperand(const VM_Instruction& instruction, std::int32_t value);
    std::int32_t pointedCell(std::int32_t cell);  // the address held by cell `cell`, 1..512
    void storeWrapped(WrappedResult result);
    void next();
    void jumpIf(bool condition, const VM_Instruction& instruction);
    void inputRequest();

    MachineState& m_machine;
    Memory& m_memory;
    RunControl& m_runControl;
    NumberInput& m_input;
    const Views& m_views;
};

}  // namespace quarzel
