// The one object that holds the whole state of a Quarzel session (registers, memory table,
// flags, checked program) and wires the subsystems to each other and to the views. The main
// window owns one; the headless runner owns its own.
#pragma once

#include "common/views.h"
#include "machine/executor.h"
#include "machine/memory.h"
#include "machine/number_input.h"
#include "machine/step_journal.h"
#include "model/data_table.h"
#include "model/instruction_set.h"
#include "model/machine_state.h"
#include "model/state_flags.h"
#include "session/file_commands.h"
#include "session/html_export.h"
#include "session/run_control.h"

namespace quarzel {

class Workbench {
  public:
    // The state of a fresh start: table filled, flags false, empty instruction list, Step.
    explicit Workbench(const Views& views);
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    const Views views;
    const OpcodeList opcodes;
    StateFlags flags;
    DataTable table;
    MachineState machine;
    NumberInput input;
    StepJournal journal;
    Memory memory;
    Executor executor;
    RunControl runControl;
    FileCommands files;
    HtmlExport html;
};

}  // namespace quarzel
