#include "machine/step_sentence.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "common/quote.h"
#include "common/system_error.h"
#include "common/win1252.h"
#include "machine/instruction_step.h"
#include "machine/runtime_fault.h"
#include "machine/step_guard.h"

namespace quarzel {
namespace {

// The step once more, on the cells as it found them: every access is noted with its value and
// nothing is written, so the sentence can name what the real step read and wrote.
class NotingAccess {
  public:
    struct Access {
        std::int32_t address;
        std::int32_t value;
    };

    NotingAccess(const DataTable& now, const JournalEntry& entry) : m_now(now), m_entry(entry) {}

    std::int32_t read(std::int32_t address) {
        const std::int32_t value = number(address);
        reads.push_back({address, value});
        return value;
    }
    std::int32_t readAndClear(std::int32_t address) { return read(address); }
    void write(std::int32_t address, std::int32_t value) { written = Access{address, value}; }
    // INP gives what the dialog gave then: a number accepted, or the one accepted before it.
    std::int32_t requestNumber() { return m_entry.number; }

    std::vector<Access> reads;
    std::optional<Access> written;
    std::int32_t unreadable = 0;  // a cell whose text is no number, when the step met one

  private:
    std::int32_t number(std::int32_t address) {
        const int row = address - 1;
        std::int32_t value = 0;
        if (row == m_entry.writtenRow) {
            if (!m_entry.cell.readable) {
                unreadable = address;
                throw conversionError(m_entry.cell.typedText);
            }
            return m_entry.cell.number;
        }
        if (!m_now.readNumber(row, value)) {
            unreadable = address;
            throw conversionError(m_now.value(row));
        }
        return value;
    }

    const DataTable& m_now;
    const JournalEntry& m_entry;
};

// How the step ended, as the real one ended.
struct Ending {
    enum { Continued, Stopped, RunTimeError, SystemError } end = Continued;
    RuntimeFaultKind fault = RuntimeFaultKind::InvalidInstruction;
    std::string message;  // UTF-8
};

std::string n(std::int64_t value) {
    return std::to_string(value);
}

// A line counted from 0 as every message counts it, from 1; a wild RET's line too.
std::string lineNumber(std::int32_t index) {
    return n(static_cast<std::int64_t>(index) + 1);
}

std::string shownLine(const std::string* lineText) {
    if (lineText == nullptr) {
        return "(keine Programmzeile)";
    }
    std::string line = *lineText;
    for (char& c : line) {
        c = c == '\t' ? ' ' : c;
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line.empty() ? "(leere Zeile)" : toUtf8(shortQuote(line));
}

// What an address operand reads: "Zelle 11 (7)" or "Index (7)", after "Zelle 12 enthält 40"
// or "Index enthält 40" for the bracketed forms. Parts the step did not reach stay empty.
struct OperandRead {
    std::string pointer;  // [n], [X]: where the address came from
    std::string source;   // the value read, with where it came from
    std::int32_t value = 0;
};

OperandRead operandRead(const VM_Instruction& ins, const Registers& before,
                        const NotingAccess& access) {
    OperandRead read;
    const auto& reads = access.reads;
    const auto cell = [](const NotingAccess::Access& a) {
        return "Zelle " + n(a.address) + " (" + n(a.value) + ")";
    };
    if (ins.Operand == 0) {
        if (ins.IsDirect) {
            read.source = "Index (" + n(before.VM_Index) + ")";
            read.value = before.VM_Index;
            return read;
        }
        read.pointer = "Index enthält " + n(before.VM_Index);
        if (!reads.empty()) {
            read.source = cell(reads[0]);
            read.value = reads[0].value;
        }
        return read;
    }
    if (ins.IsDirect) {
        if (!reads.empty()) {
            read.source = cell(reads[0]);
            read.value = reads[0].value;
        }
        return read;
    }
    if (!reads.empty()) {
        read.pointer = "Zelle " + n(ins.Operand) + " enthält " + n(reads[0].value);
    }
    if (reads.size() > 1) {
        read.source = cell(reads[1]);
        read.value = reads[1].value;
    }
    return read;
}

// "a: b", leaving out an empty part.
std::string joined(const std::string& a, const std::string& b) {
    return a.empty() ? b : b.empty() ? a : a + ": " + b;
}

// Where STO puts the accumulator: "Zelle 11", "Index", or the cell an address points to.
std::string storeTarget(const VM_Instruction& ins, const Registers& before,
                        const NotingAccess& access) {
    if (ins.Operand == 0) {
        if (ins.IsDirect) {
            return "Index := " + n(before.VM_Accu);
        }
        return joined("Index enthält " + n(before.VM_Index),
                      access.written
                          ? "Zelle " + n(access.written->address) + " := " + n(before.VM_Accu)
                          : "");
    }
    if (ins.IsDirect) {
        return "Zelle " + n(ins.Operand) + " := " + n(before.VM_Accu);
    }
    return joined(
        access.reads.empty() ? ""
                             : "Zelle " + n(ins.Operand) + " enthält " + n(access.reads[0].value),
        access.written ? "Zelle " + n(access.written->address) + " := " + n(before.VM_Accu) : "");
}

std::string jumpSentence(bool jumps, const std::string& condition, const Registers& after) {
    return condition + (jumps ? ": " : ": kein Sprung, ") + "weiter in Zeile " +
           lineNumber(after.VM_IP);
}

// What the step did when it went on (or stopped at STP), without the line in front.
std::string effect(const VM_Instruction& ins, const Registers& b, const Registers& a,
                   const NotingAccess& access, const JournalEntry& entry) {
    const std::string accu = "Akku " + n(b.VM_Accu);
    const auto arithmetic = [&](const char* sign) {
        const OperandRead read = operandRead(ins, b, access);
        return joined(read.pointer, accu + " " + sign + " " + read.source + " = " + n(a.VM_Accu));
    };
    const std::string is = "Akku ist " + n(b.VM_Accu);
    const std::int32_t stack = b.VM_SP;
    switch (static_cast<Mnemonic>(ins.Opcode)) {
        case Mnemonic::ADD:
            return arithmetic("+");
        case Mnemonic::SUB:
            return arithmetic("-");
        case Mnemonic::MUL:
            return arithmetic("×");
        case Mnemonic::DIV:
            return arithmetic("/");
        case Mnemonic::LAD: {
            const OperandRead read = operandRead(ins, b, access);
            return joined(read.pointer, "Akku := " + read.source);
        }
        case Mnemonic::STO:
            return storeTarget(ins, b, access);
        case Mnemonic::CAL:
            return "Rücksprung (Anweisung " + n(static_cast<std::int64_t>(b.VM_IP) + 1) +
                   ") auf den Stack: Zelle " + n(stack) +
                   " := " + n(static_cast<std::int64_t>(b.VM_IP) + 1) + ", Stack " + n(a.VM_SP) +
                   "; weiter in Zeile " + lineNumber(a.VM_IP);
        case Mnemonic::RET:
            return "Zelle " + n(a.VM_SP) + " (" + n(a.VM_IP) + ") vom Stack, Zelle " + n(a.VM_SP) +
                   " := 0, Stack " + n(a.VM_SP) + ": weiter in Zeile " + lineNumber(a.VM_IP);
        case Mnemonic::PUS:
            return accu + " auf den Stack: Zelle " + n(stack) + " := " + n(b.VM_Accu) + ", Stack " +
                   n(a.VM_SP);
        case Mnemonic::POP:
            return "Zelle " + n(a.VM_SP) + " (" + n(a.VM_Accu) +
                   ") vom Stack: Akku := " + n(a.VM_Accu) + ", Zelle " + n(a.VM_SP) +
                   " := 0, Stack " + n(a.VM_SP);
        case Mnemonic::JMP:
            return "weiter in Zeile " + lineNumber(a.VM_IP);
        case Mnemonic::JEQ:
            return jumpSentence(b.VM_Accu == 0, is + (b.VM_Accu == 0 ? "" : ", nicht 0"), a);
        case Mnemonic::JNE:
            return jumpSentence(b.VM_Accu != 0, is + (b.VM_Accu != 0 ? ", nicht 0" : ""), a);
        case Mnemonic::JGT:
            return jumpSentence(
                b.VM_Accu > 0, is + (b.VM_Accu > 0 ? ", größer als 0" : ", nicht größer als 0"), a);
        case Mnemonic::JLT:
            return jumpSentence(b.VM_Accu < 0,
                                is + (b.VM_Accu < 0 ? ", kleiner als 0" : ", nicht kleiner als 0"),
                                a);
        case Mnemonic::INP:
            return entry.numberAccepted
                       ? "Eingabe " + n(a.VM_Accu) + ": Akku := " + n(a.VM_Accu)
                       : "Eingabe geschlossen, die zuletzt angenommene Zahl bleibt: Akku := " +
                             n(a.VM_Accu);
        case Mnemonic::CLA:
            return "Akku := 0";
        case Mnemonic::INC:
            return accu + " + 1 = " + n(a.VM_Accu);
        case Mnemonic::DEC:
            return accu + " - 1 = " + n(a.VM_Accu);
        case Mnemonic::NEG:
            return accu + " mit umgekehrtem Vorzeichen = " + n(a.VM_Accu);
        case Mnemonic::OUT:
            return "Fenster := Akku (" + n(b.VM_Accu) + ")";
        case Mnemonic::SAL:
            return accu + " um ein Bit nach links geschoben = " + n(a.VM_Accu);
        case Mnemonic::SAR:
            return accu + " um ein Bit nach rechts geschoben = " + n(a.VM_Accu);
        case Mnemonic::TAX:
            return "Index := Akku (" + n(b.VM_Accu) + ")";
        case Mnemonic::TXA:
            return "Akku := Index (" + n(b.VM_Index) + ")";
        case Mnemonic::STP:
            return "Ende des Programms, der Lauf endet";
        case Mnemonic::MRK:
            return "Marke, keine Wirkung";
        case Mnemonic::ZZZ:
            return "keine Wirkung";
    }
    return "";
}

// What the step had got to when it failed: "Akku 5 / Zelle 11 (0)", "Zelle 5 enthält 600",
// "Stack 512, der Stack ist leer".
std::string failedAt(const VM_Instruction& ins, const Registers& b, const NotingAccess& access,
                     const Ending& ending) {
    const std::string accu = "Akku " + n(b.VM_Accu);
    if (ending.end == Ending::RunTimeError) {
        switch (ending.fault) {
            case RuntimeFaultKind::BadIndexRegister:
                return "Index enthält " + n(b.VM_Index);
            case RuntimeFaultKind::BadPointerCell:
                return "Zelle " + n(ins.Operand) + " enthält " +
                       n(access.reads.empty() ? 0 : access.reads.back().value);
            case RuntimeFaultKind::DivisionByZero: {
                const OperandRead read = operandRead(ins, b, access);
                return joined(read.pointer, accu + " / " + read.source);
            }
            case RuntimeFaultKind::StackFull:
                return "Stack " + n(b.VM_SP) + ", der Stack ist voll";
            case RuntimeFaultKind::StackEmpty:
                return "Stack " + n(b.VM_SP) + ", der Stack ist leer";
            case RuntimeFaultKind::PastTheProgram:
                return "hier steht keine Anweisung";
            case RuntimeFaultKind::InvalidInstruction:
                return "";
        }
        return "";
    }
    if (access.unreadable != 0) {
        const bool pointerRead = !ins.IsDirect && ins.Operand != 0 && !access.reads.empty();
        return joined(
            pointerRead ? "Zelle " + n(ins.Operand) + " enthält " + n(access.reads[0].value) : "",
            "Zelle " + n(access.unreadable) + " enthält keine Zahl");
    }
    // An overflow: the operation that overflowed.
    const auto op = static_cast<Mnemonic>(ins.Opcode);
    const char* const sign = op == Mnemonic::ADD   ? "+"
                             : op == Mnemonic::SUB ? "-"
                             : op == Mnemonic::MUL ? "×"
                             : op == Mnemonic::DIV ? "/"
                                                   : nullptr;
    if (sign != nullptr) {
        const OperandRead read = operandRead(ins, b, access);
        return joined(read.pointer, accu + " " + sign + " " + read.source);
    }
    if (op == Mnemonic::INC || op == Mnemonic::DEC) {
        return accu + (op == Mnemonic::INC ? " + 1" : " - 1");
    }
    return op == Mnemonic::NEG ? accu + " mit umgekehrtem Vorzeichen" : "";
}

}  // namespace

std::string stepSentence(const Instructions& program, const JournalEntry& entry,
                         const DataTable& now, const std::string* lineText) {
    const Registers& before = entry.before.registers;
    Registers after = before;
    NotingAccess access(now, entry);
    VM_Instruction instruction;
    Ending ending;
    try {
        instruction = fetchInstruction<true>(
            program.data(), static_cast<std::uint32_t>(program.size()), before.VM_IP);
        ending.end =
            executeInstruction(after, instruction, access) ? Ending::Stopped : Ending::Continued;
    } catch (const RuntimeFault& fault) {
        ending = {Ending::RunTimeError, fault.kind(), toUtf8(fault.text())};
    } catch (const SystemError& error) {
        ending = {Ending::SystemError, RuntimeFaultKind::InvalidInstruction, toUtf8(error.text())};
    }

    std::string what;
    if (ending.end == Ending::Continued || ending.end == Ending::Stopped) {
        what = effect(instruction, before, after, access, entry);
    } else {
        what = joined(failedAt(instruction, before, access, ending),
                      ending.message + ", der Lauf endet");
        if (ending.end == Ending::SystemError && after.VM_Accu != before.VM_Accu) {
            what += " (Akku jetzt " + n(after.VM_Accu) + ")";  // ADD and the like keep the wrap
        }
    }
    return fromUtf8("Zeile " + lineNumber(before.VM_IP) + ": " + shownLine(lineText) + " — " +
                    what);
}

}  // namespace quarzel
