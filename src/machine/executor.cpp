#include "machine/executor.h"

#include <algorithm>
#include <climits>

#include "common/system_error.h"
#include "common/views.h"
#include "machine/instruction_step.h"
#include "machine/memory.h"
#include "machine/number_input.h"
#include "machine/runtime_fault.h"
#include "model/machine_state.h"

namespace quarzel {
namespace {

// The window's memory with the window's number dialog.
struct WindowAccess {
    Memory& memory;
    Executor& executor;

    std::int32_t read(std::int32_t address) { return memory.read(address); }
    std::int32_t readAndClear(std::int32_t address) { return memory.readAndClear(address); }
    void write(std::int32_t address, std::int32_t value) { memory.write(address, value); }
    std::int32_t requestNumber() { return executor.requestNumber(); }
    void inputDone() { executor.inputDone(); }
};

}  // namespace

Executor::Executor(MachineState& machine, Memory& memory, NumberInput& input, const Views& views)
    : m_machine(machine), m_memory(memory), m_input(input), m_views(views) {}

StepOutcome Executor::execute() {
    try {
        MachineState& m = m_machine;
        const Instructions& program = m.InstructionList;
        if (m.VM_IP < 0 || static_cast<std::size_t>(m.VM_IP) >= program.size()) {
            throwPastTheProgram(m.VM_IP);
        }
        const VM_Instruction instruction = program[static_cast<std::size_t>(m.VM_IP)];
        if (instruction.Opcode < kFirstOpcode || instruction.Opcode > kLastOpcode) {
            throwInvalidInstruction(m.VM_IP);
        }
        WindowAccess access{m_memory, *this};
        if (executeInstruction(m, instruction, access)) {
            return {StepEnd::Stopped, {}};
        }
        return {};
    } catch (const RuntimeFault& fault) {
        return {StepEnd::RunTimeError, fault.text()};
    } catch (const SystemError& error) {
        return {StepEnd::SystemError, error.text()};
    }
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

std::int32_t Executor::requestNumber() {
    // Ticks that arrive while the dialog is open must find no run.
    m_machine.VM_Running = false;
    // Closed through its frame, the dialog leaves the number accepted last in InputValue.
    m_views.numberInput.showModal();
    const std::int32_t value = m_input.InputValue;
    m_views.numberInput.hide();
    return value;
}

void Executor::inputDone() {
    m_machine.VM_Running = true;
}

}  // namespace quarzel
