// The one object that holds the whole state of a Quarzel session (registers, memory table,
// flags, checked program) and wires the subsystems to each other and to the views. The main
// window owns one; the headless runner owns its own.
#pragma once

#include "checker/data_table.h"
#include "checker/state_flags.h"
#include "common/views.h"
#include "files/file_commands.h"
#include "files/html_export.h"
#include "machine/executor.h"
#include "machine/machine_state.h"
#include "machine/memory.h"
#include "machine/number_input.h"
#include "machine/opcodes.h"
#include "machine/run_control.h"

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
    Memory memory;
    Executor executor;
    RunControl runControl;
    FileCommands files;
    HtmlExport html;
};

}  // namespace quarzel
