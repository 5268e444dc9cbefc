// PLACEHOLDER - replaced by the executor work.
#include "machine/executor.h"

#include <stdexcept>

namespace quarzel {

Executor::Executor(MachineState& machine, Memory& memory, RunControl& runControl,
                   NumberInput& input, const Views& views)
    : m_machine(machine), m_memory(memory), m_runControl(runControl), m_input(input),
      m_views(views) {}

void Executor::VM_Step() { throw std::logic_error("VM_Step is not built yet"); }
void Executor::VM_Print() { throw std::logic_error("VM_Print is not built yet"); }

}  // namespace quarzel
