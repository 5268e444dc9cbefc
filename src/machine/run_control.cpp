// PLACEHOLDER - replaced by the run-control work.
#include "machine/run_control.h"

#include <stdexcept>

namespace quarzel {

RunControl::RunControl(MachineState& machine, StateFlags& flags, DataTable& table,
                       const OpcodeList& opcodes, Executor& executor, const Views& views)
    : m_machine(machine), m_flags(flags), m_table(table), m_opcodes(opcodes),
      m_executor(executor), m_views(views) {}

void RunControl::VM_Start() { throw std::logic_error("not built yet"); }
void RunControl::VM_Stop() { throw std::logic_error("not built yet"); }
void RunControl::VM_ChangeRunMode(std::int32_t) { throw std::logic_error("not built yet"); }
void RunControl::btRunClick() { throw std::logic_error("not built yet"); }
void RunControl::btStepClick() { throw std::logic_error("not built yet"); }
void RunControl::btCheckClick() { throw std::logic_error("not built yet"); }
void RunControl::rbStepClick() { throw std::logic_error("not built yet"); }
void RunControl::rbSlowClick() { throw std::logic_error("not built yet"); }
void RunControl::rbFastClick() { throw std::logic_error("not built yet"); }
void RunControl::rbDirectClick() { throw std::logic_error("not built yet"); }
void RunControl::tSlowTimer() { throw std::logic_error("not built yet"); }
void RunControl::tFastTimer() { throw std::logic_error("not built yet"); }
void RunControl::tDirectTimer() { throw std::logic_error("not built yet"); }

}  // namespace quarzel
