#include "machine/executor.h"

#include <algorithm>
#include <climits>

#include "common/checked_int.h"
#include "common/number_text.h"
#include "common/system_error.h"
#include "common/views.h"
#include "common/win1252.h"
#include "machine/memory.h"
#include "machine/number_input.h"
#include "machine/runtime_fault.h"
#include "model/instruction_set.h"
#include "model/machine_state.h"

namespace quarzel {
namespace {

bool isCellAddress(std::int32_t address) {
    return address >= 1 && address <= kCellCount;
}

RuntimeFault badIndexRegister() {
    return RuntimeFault(fromUtf8("Indexregister zeigt auf ungültige Stelle"));
}

RuntimeFault badPointerCell(std::int32_t cell) {
    return RuntimeFault("Speicherstelle " + int32ToText(cell) +
                        fromUtf8(" zeigt auf ungültige Stelle"));
}

}  // namespace

Executor::Executor(MachineState& machine, Memory& memory, NumberInput& input, const Views& views)
    : m_machine(machine), m_memory(memory), m_input(input), m_views(views) {}

StepOutcome Executor::execute() {
    try {
        return executeInstruction();
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

StepOutcome Executor::executeInstruction() {
    MachineState& m = m_machine;
    const Instructions& program = m.InstructionList;
    // Running past the last line, or a RET to a line that does not exist.
    if (m.VM_IP < 0 || static_cast<std::size_t>(m.VM_IP) >= program.size()) {
        throw RuntimeFault(fromUtf8("Listenindex überschreitet das Maximum (") +
                           int32ToText(m.VM_IP) + ")");
    }
    const VM_Instruction instruction = program[static_cast<std::size_t>(m.VM_IP)];
    if (instruction.Opcode < kFirstOpcode || instruction.Opcode > kLastOpcode) {
        throw RuntimeFault(fromUtf8("Ungültige Anweisung in Zeile ") +
                           int32ToText(checkedAdd(m.VM_IP, 1)));
    }

    switch (static_cast<Mnemonic>(instruction.Opcode)) {
        case Mnemonic::ADD: {
            const std::int32_t v = readOperand(instruction);
            storeWrapped(wrappingAdd(m.VM_Accu, v));
            next();
            break;
        }
        case Mnemonic::CAL:
            m_memory.push(checkedAdd(m.VM_IP, 1));
            m.VM_IP = instruction.Operand;
            break;
        case Mnemonic::CLA:
            m.VM_Accu = 0;
            next();
            break;
        case Mnemonic::DEC:
            storeWrapped(wrappingSub(m.VM_Accu, 1));
            next();
            break;
        case Mnemonic::DIV: {
            const std::int32_t v = readOperand(instruction);
            if (v == 0) {
                throw RuntimeFault("Division durch Null");
            }
            m.VM_Accu = checkedDiv(m.VM_Accu, v);
            next();
            break;
        }
        case Mnemonic::INC:
            storeWrapped(wrappingAdd(m.VM_Accu, 1));
            next();
            break;
        case Mnemonic::INP:
            inputRequest();
            break;
        case Mnemonic::JEQ:
            jumpIf(m.VM_Accu == 0, instruction);
            break;
        case Mnemonic::JGT:
            jumpIf(m.VM_Accu > 0, instruction);
            break;
        case Mnemonic::JLT:
            jumpIf(m.VM_Accu < 0, instruction);
            break;
        case Mnemonic::JMP:
            m.VM_IP = instruction.Operand;
            break;
        case Mnemonic::JNE:
            jumpIf(m.VM_Accu != 0, instruction);
            break;
        case Mnemonic::LAD:
            m.VM_Accu = readOperand(instruction);
            next();
            break;
        case Mnemonic::MRK:
            next();
            break;
        case Mnemonic::MUL: {
            const std::int32_t v = readOperand(instruction);
            m.VM_Accu = checkedMul(m.VM_Accu, v);
            next();
            break;
        }
        case Mnemonic::NEG:
            storeWrapped(wrappingNeg(m.VM_Accu));
            next();
            break;
        case Mnemonic::OUT:
            m.VM_Window = m.VM_Accu;
            next();
            break;
        case Mnemonic::POP:
            m.VM_Accu = m_memory.pop();
            next();
            break;
        case Mnemonic::PUS:
            m_memory.push(m.VM_Accu);
            next();
            break;
        case Mnemonic::RET:
            m.VM_IP = m_memory.pop();
            break;
        case Mnemonic::SAL:
            // A logical shift of the bit pattern: bit 31 falls out, no overflow.
            m.VM_Accu = static_cast<std::int32_t>(static_cast<std::uint32_t>(m.VM_Accu) << 1);
            next();
            break;
        case Mnemonic::SAR:
            // Logical too: a 0 comes in at bit 31, so -2 becomes 2147483647.
            m.VM_Accu = static_cast<std::int32_t>(static_cast<std::uint32_t>(m.VM_Accu) >> 1);
            next();
            break;
        case Mnemonic::STO:
            writeOperand(instruction, m.VM_Accu);
            next();
            break;
        case Mnemonic::STP:
            return {StepEnd::Stopped, {}};  // VM_IP stays on the STP line
        case Mnemonic::SUB: {
            const std::int32_t v = readOperand(instruction);
            storeWrapped(wrappingSub(m.VM_Accu, v));
            next();
            break;
        }
        case Mnemonic::TAX:
            m.VM_Index = m.VM_Accu;
            next();
            break;
        case Mnemonic::TXA:
            m.VM_Accu = m.VM_Index;
            next();
            break;
        case Mnemonic::ZZZ:
            next();
            break;
    }
    return {};
}

std::int32_t Executor::readOperand(const VM_Instruction& instruction) {
    if (instruction.Operand == 0) {  // the index register
        if (instruction.IsDirect) {
            return m_machine.VM_Index;
        }
        if (!isCellAddress(m_machine.VM_Index)) {
            throw badIndexRegister();
        }
        return m_memory.VM_GetData(m_machine.VM_Index, false);
    }
    if (instruction.IsDirect) {
        return m_memory.VM_GetData(instruction.Operand, false);
    }
    return m_memory.VM_GetData(pointedCell(instruction.Operand), false);
}

void Executor::writeOperand(const VM_Instruction& instruction, std::int32_t value) {
    if (instruction.Operand == 0) {
        if (instruction.IsDirect) {
            m_machine.VM_Index = value;
            return;
        }
        if (!isCellAddress(m_machine.VM_Index)) {
            throw badIndexRegister();
        }
        m_memory.VM_SetData(m_machine.VM_Index, value);
        return;
    }
    if (instruction.IsDirect) {
        m_memory.VM_SetData(instruction.Operand, value);
        return;
    }
    m_memory.VM_SetData(pointedCell(instruction.Operand), value);
}

std::int32_t Executor::pointedCell(std::int32_t cell) {
    // The read of the pointer cell shows in the table even when its value is no address.
    const std::int32_t address = m_memory.VM_GetData(cell, false);
    if (!isCellAddress(address)) {
        throw badPointerCell(cell);
    }
    return address;
}

void Executor::storeWrapped(WrappedResult result) {
    // The accumulator keeps the wrapped value when the overflow is reported.
    m_machine.VM_Accu = result.value;
    if (result.overflow) {
        throw integerOverflow();
    }
}

void Executor::next() {
    m_machine.VM_IP = checkedAdd(m_machine.VM_IP, 1);
}

void Executor::jumpIf(bool condition, const VM_Instruction& instruction) {
    if (condition) {
        m_machine.VM_IP = instruction.Operand;
    } else {
        next();
    }
}

void Executor::inputRequest() {
    // Ticks that arrive while the dialog is open must find no run.
    m_machine.VM_Running = false;
    // Closed through its frame, the dialog leaves the number accepted last in InputValue.
    m_views.numberInput.showModal();
    m_machine.VM_Accu = m_input.InputValue;
    m_views.numberInput.hide();
    next();
    m_machine.VM_Running = true;
}

}  // namespace quarzel
