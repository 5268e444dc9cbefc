#include "session/workbench.h"

namespace quarzel {

Workbench::Workbench(const Views& views)
    : views(views),
      memory(machine, table, flags, views.grid, views.picture),
      executor(machine, memory, input, this->views),
      runControl(machine, flags, table, opcodes, executor, journal, input, this->views),
      files(flags, table, machine, runControl, this->views),
      html(views.editor, table, views.prompts) {
    table.attachGrid(&views.grid);
    memory.setJournal(&journal);
}

}  // namespace quarzel
