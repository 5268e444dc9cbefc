// One instruction, written once for every way of running: the window's step with all its
// display updates and the headless run loop without any. `Access` is the memory as the caller
// wants it seen:
//   std::int32_t read(std::int32_t address)          VM_GetData(address, false)
//   std::int32_t readAndClear(std::int32_t address)  VM_GetData(address, true), a pop
//   void write(std::int32_t address, std::int32_t v) VM_SetData(address, v)
//   std::int32_t requestNumber()    INP: the modal dialog, no step while it is open, the number
//                                   accepted last
// Errors are raised: RuntimeFault for the run-time errors, SystemError for an overflow or a
// cell that does not convert. The checks come before an instruction changes anything.
#pragma once

#include <cstdint>

#include "common/always_inline.h"
#include "common/checked_int.h"
#include "machine/runtime_fault.h"
#include "model/instruction_set.h"
#include "model/machine_state.h"

namespace quarzel {

inline bool isCellAddress(std::int32_t address) {
    return address >= 1 && address <= kCellCount;
}

// A push writes cell VM_SP and then moves VM_SP down; a full stack (VM_SP < 1) fails first.
template <class Access>
QUARZEL_ALWAYS_INLINE void pushValue(Registers& r, Access& access, std::int32_t value) {
    if (r.VM_SP < 1) {
        throwStackUnderflow();
    }
    access.write(r.VM_SP, value);
    r.VM_SP = checkedSub(r.VM_SP, 1);
}

// A pop moves VM_SP up, then reads cell VM_SP and leaves "0" in it; an empty stack
// (VM_SP > 511) fails first.
template <class Access>
QUARZEL_ALWAYS_INLINE std::int32_t popValue(Registers& r, Access& access) {
    if (r.VM_SP > kCellCount - 1) {
        throwStackOverflow();
    }
    r.VM_SP = checkedAdd(r.VM_SP, 1);
    return access.readAndClear(r.VM_SP);
}

namespace step_detail {

// The address held by cell n; its read shows even when the value is no address.
template <class Access>
std::int32_t pointedCell(Access& access, std::int32_t n) {
    const std::int32_t address = access.read(n);
    if (!isCellAddress(address)) {
        throwBadPointerCell(n);
    }
    return address;
}

template <class Access>
QUARZEL_ALWAYS_INLINE std::int32_t readOperand(const Registers& r, const VM_Instruction& ins,
                                               Access& access) {
    if (ins.Operand == 0) {  // the index register
        if (ins.IsDirect) {
            return r.VM_Index;
        }
        if (!isCellAddress(r.VM_Index)) {
            throwBadIndexRegister();
        }
        return access.read(r.VM_Index);
    }
    if (ins.IsDirect) {
        return access.read(ins.Operand);
    }
    return access.read(pointedCell(access, ins.Operand));
}

template <class Access>
QUARZEL_ALWAYS_INLINE void writeOperand(Registers& r, const VM_Instruction& ins, Access& access,
                                        std::int32_t value) {
    if (ins.Operand == 0) {
        if (ins.IsDirect) {
            r.VM_Index = value;  // STO X
            return;
        }
        if (!isCellAddress(r.VM_Index)) {
            throwBadIndexRegister();
        }
        access.write(r.VM_Index, value);
        return;
    }
    if (ins.IsDirect) {
        access.write(ins.Operand, value);
        return;
    }
    access.write(pointedCell(access, ins.Operand), value);
}

// The accumulator keeps the wrapped value when the overflow is reported.
inline void storeWrapped(Registers& r, WrappedResult result) {
    r.VM_Accu = result.value;
    if (result.overflow) {
        throwIntegerOverflow();
    }
}

inline void next(Registers& r) {
    r.VM_IP = checkedAdd(r.VM_IP, 1);
}

inline void jumpIf(Registers& r, bool condition, const VM_Instruction& ins) {
    if (condition) {
        r.VM_IP = ins.Operand;
    } else {
        next(r);
    }
}

}  // namespace step_detail

// Executes `ins` (whose opcode is 1..28) on the registers. Returns true for STP, which leaves
// VM_IP on its own line; every other instruction returns false.
template <class Access>
QUARZEL_ALWAYS_INLINE bool executeInstruction(Registers& r, const VM_Instruction& ins,
                                              Access& access) {
    using namespace step_detail;
    switch (static_cast<Mnemonic>(ins.Opcode)) {
        case Mnemonic::ADD: {
            const std::int32_t v = readOperand(r, ins, access);
            storeWrapped(r, wrappingAdd(r.VM_Accu, v));
            next(r);
            break;
        }
        case Mnemonic::CAL:
            pushValue(r, access, checkedAdd(r.VM_IP, 1));
            r.VM_IP = ins.Operand;
            break;
        case Mnemonic::CLA:
            r.VM_Accu = 0;
            next(r);
            break;
        case Mnemonic::DEC:
            storeWrapped(r, wrappingSub(r.VM_Accu, 1));
            next(r);
            break;
        case Mnemonic::DIV: {
            const std::int32_t v = readOperand(r, ins, access);
            if (v == 0) {
                throwDivisionByZero();
            }
            r.VM_Accu = checkedDiv(r.VM_Accu, v);
            next(r);
            break;
        }
        case Mnemonic::INC:
            storeWrapped(r, wrappingAdd(r.VM_Accu, 1));
            next(r);
            break;
        case Mnemonic::INP:
            // Closed through its frame, the dialog leaves the number accepted last.
            r.VM_Accu = access.requestNumber();
            next(r);
            break;
        case Mnemonic::JEQ:
            jumpIf(r, r.VM_Accu == 0, ins);
            break;
        case Mnemonic::JGT:
            jumpIf(r, r.VM_Accu > 0, ins);
            break;
        case Mnemonic::JLT:
            jumpIf(r, r.VM_Accu < 0, ins);
            break;
        case Mnemonic::JMP:
            r.VM_IP = ins.Operand;
            break;
        case Mnemonic::JNE:
            jumpIf(r, r.VM_Accu != 0, ins);
            break;
        case Mnemonic::LAD:
            r.VM_Accu = readOperand(r, ins, access);
            next(r);
            break;
        case Mnemonic::MRK:
            next(r);
            break;
        case Mnemonic::MUL: {
            const std::int32_t v = readOperand(r, ins, access);
            r.VM_Accu = checkedMul(r.VM_Accu, v);
            next(r);
            break;
        }
        case Mnemonic::NEG:
            storeWrapped(r, wrappingNeg(r.VM_Accu));
            next(r);
            break;
        case Mnemonic::OUT:
            r.VM_Window = r.VM_Accu;
            next(r);
            break;
        case Mnemonic::POP:
            r.VM_Accu = popValue(r, access);
            next(r);
            break;
        case Mnemonic::PUS:
            pushValue(r, access, r.VM_Accu);
            next(r);
            break;
        case Mnemonic::RET:
            r.VM_IP = popValue(r, access);  // no further increment
            break;
        case Mnemonic::SAL:
            // A logical shift of the bit pattern: bit 31 falls out, no overflow.
            r.VM_Accu = static_cast<std::int32_t>(static_cast<std::uint32_t>(r.VM_Accu) << 1);
            next(r);
            break;
        case Mnemonic::SAR:
            // Logical too: a 0 comes in at bit 31, so -2 becomes 2147483647.
            r.VM_Accu = static_cast<std::int32_t>(static_cast<std::uint32_t>(r.VM_Accu) >> 1);
            next(r);
            break;
        case Mnemonic::STO:
            writeOperand(r, ins, access, r.VM_Accu);
            next(r);
            break;
        case Mnemonic::STP:
            return true;
        case Mnemonic::SUB: {
            const std::int32_t v = readOperand(r, ins, access);
            storeWrapped(r, wrappingSub(r.VM_Accu, v));
            next(r);
            break;
        }
        case Mnemonic::TAX:
            r.VM_Index = r.VM_Accu;
            next(r);
            break;
        case Mnemonic::TXA:
            r.VM_Accu = r.VM_Index;
            next(r);
            break;
        case Mnemonic::ZZZ:
            next(r);
            break;
    }
    return false;
}

}  // namespace quarzel
