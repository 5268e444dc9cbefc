// The workbench's parts, for tests, benchmarks and fuzzers only: they set up a state and look
// at it without going through the commands. No front end includes this (the layering test
// checks it); a front end goes through the workbench's own calls.
#pragma once

#include "session/workbench.h"

namespace quarzel {

class WorkbenchInternals {
  public:
    explicit WorkbenchInternals(Workbench& bench)
        : views(bench.m_views),
          opcodes(bench.m_opcodes),
          flags(bench.m_flags),
          table(bench.m_table),
          machine(bench.m_machine),
          input(bench.m_input),
          journal(bench.m_journal),
          memory(bench.m_memory),
          executor(bench.m_executor),
          runControl(bench.m_runControl),
          files(bench.m_files),
          html(bench.m_html),
          loopWatch(bench.m_loopWatch) {}

    const Views& views;
    const OpcodeList& opcodes;
    StateFlags& flags;
    DataTable& table;
    MachineState& machine;
    NumberInput& input;
    StepJournal& journal;
    Memory& memory;
    Executor& executor;
    RunControl& runControl;
    FileCommands& files;
    HtmlExport& html;
    LoopWatch& loopWatch;
};

}  // namespace quarzel
