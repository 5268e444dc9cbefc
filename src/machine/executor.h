// Executes one instruction per call (VM_Step) and shows the registers (VM_Print).
#pragma once

#include <cstdint>

namespace quarzel {

class Memory;
class RunControl;
struct MachineState;
struct NumberInput;
struct Views;

class Executor {
public:
    Executor(MachineState& machine, Memory& memory, RunControl& runControl, NumberInput& input,
             const Views& views);

    // Executes the instruction at VM_IP. A run-time error stops the run (VM_Stop) and shows
    // the "Laufzeitfehler" box; VM_IP stays on the failing line and VM_Print is not called.
    void VM_Step();

    // Shows the five registers and scrolls the editor so that line VM_IP is the first
    // visible line.
    void VM_Print();

private:
    MachineState& m_machine;
    Memory& m_memory;
    RunControl& m_runControl;
    NumberInput& m_input;
    const Views& m_views;
};

}  // namespace quarzel
