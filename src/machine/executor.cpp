#include "machine/executor.h"

#include <algorithm>
#include <climits>

#include "common/views.h"
#include "machine/instruction_step.h"
#include "machine/memory.h"
#include "machine/step_guard.h"
#include "model/machine_state.h"

namespace quarzel {

Executor::Executor(MachineState& machine, Memory& memory, const Views& views)
    : m_machine(machine), m_memory(memory), m_views(views) {}

StepOutcome Executor::execute() {
    return outcomeOf([this] {
        const Instructions& program = m_machine.InstructionList;
        const VM_Instruction instruction = fetchInstruction<true>(
            program.data(), static_cast<std::uint32_t>(program.size()), m_machine.VM_IP);
        return executeInstruction(m_machine, instruction, m_memory) ? StepEnd::Stopped
                                                                    : StepEnd::Continued;
    });
}

void Executor::VM_Print() {
    RegisterView& registers = m_views.registers;
    registers.showRegister(Register::Accu, m_machine.VM_Accu);
    registers.showRegister(Register::Index, m_machine.VM_Index);
    registers.showRegister(Register::IP, m_machine.VM_IP);
    registers.showRegister(Register::SP, m_machine.VM_SP);
    registers.showRegister(Register::Window, m_machine.VM_Window);

    // After a RET to a wild line the distance may not fit an int; the editor stops scrolling
    // at its ends anyway, so the clamped count scrolls exactly as far.
    ProgramEditorView& editor = m_views.editor;
    const long long distance =
        static_cast<long long>(m_machine.VM_IP) - static_cast<long long>(editor.firstVisibleLine());
    editor.scrollLines(static_cast<int>(std::clamp<long long>(distance, INT_MIN, INT_MAX)));
}

}  // namespace quarzel
