// Taking and putting back the machine's whole state apart from its cells, wherever its parts
// live: the registers and the run's counters in the machine, the number accepted last in the
// number input, the position in a scripted input list on its view.
#pragma once

#include "common/views.h"
#include "machine/number_input.h"
#include "model/machine_state.h"

namespace quarzel {

inline MachineSnapshot snapshotOf(const MachineState& machine, const NumberInput& input,
                                  const NumberInputView& dialog) {
    MachineSnapshot snapshot;
    snapshot.registers = machine;
    snapshot.LastAccessCell = machine.LastAccessCell;
    snapshot.LastAccessWrite = machine.LastAccessWrite;
    snapshot.StepCount = machine.StepCount;
    snapshot.InputValue = input.InputValue;
    snapshot.InputsTaken = dialog.inputsTaken();
    return snapshot;
}

// A real dialog keeps no list, so the position in one is not put back.
inline void restoreSnapshot(const MachineSnapshot& snapshot, MachineState& machine,
                            NumberInput& input) {
    static_cast<Registers&>(machine) = snapshot.registers;
    machine.LastAccessCell = snapshot.LastAccessCell;
    machine.LastAccessWrite = snapshot.LastAccessWrite;
    machine.StepCount = snapshot.StepCount;
    input.InputValue = snapshot.InputValue;
}

}  // namespace quarzel
