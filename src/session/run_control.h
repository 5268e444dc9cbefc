// Run control: the check, start/stop and step buttons, the speed radio buttons and the three
// timers that turn a checked program into a run.
#pragma once

#include <cstdint>

#include "machine/step_outcome.h"

namespace quarzel {

class DataTable;
class Executor;
class OpcodeList;
struct MachineState;
struct StateFlags;
struct Views;

class RunControl {
  public:
    RunControl(MachineState& machine, StateFlags& flags, DataTable& table,
               const OpcodeList& opcodes, Executor& executor, const Views& views);

    // Resets the registers and locks the editor and the table; only with both flags set.
    void VM_Start();
    // Ends a run and unlocks the editor and the table. Safe to call when no run is active.
    void VM_Stop();
    void VM_ChangeRunMode(std::int32_t mode);  // 0..3; any other value changes nothing

    // One step of the run as the window shows it: the instruction at VM_IP, then VM_Print;
    // STP stops the run and then prints; a run-time error stops the run and shows the
    // "Laufzeitfehler" box; a system error (overflow, an unreadable cell) stops the run and
    // shows the central handler's box, so that it does not repeat at every tick. VM_IP stays
    // on a failing line and VM_Print is not called then.
    StepOutcome VM_Step();

    void btRunClick();
    void btStepClick();
    void btCheckClick();
    void rbStepClick();
    void rbSlowClick();
    void rbFastClick();
    void rbDirectClick();
    void tSlowTimer();
    void tFastTimer();
    void tDirectTimer();

  private:
    void stepIfRunning();
    bool checkProgram();

    MachineState& m_machine;
    StateFlags& m_flags;
    DataTable& m_table;
    const OpcodeList& m_opcodes;
    Executor& m_executor;
    const Views& m_views;
};

}  // namespace quarzel
