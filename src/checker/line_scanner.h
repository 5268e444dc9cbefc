// One program line on its own: the normalised form the checker reads, and its grammar (line
// start, mnemonic, the blank after it, names and address operands). Marks are resolved by
// CheckProgram, which sees all lines.
#pragma once

#include <string>
#include <string_view>

#include "checker/check_error.h"
#include "model/instruction_set.h"
#include "model/machine_state.h"

namespace quarzel {

// Tabs deleted (not replaced by blanks), then upper-cased in Windows-1252, so positions are
// byte positions and "ä" meets "Ä".
std::string normaliseLine(std::string_view line);

enum class LineKind {
    Filler,          // empty or comment line: ZZZ, 0, direct
    Instruction,     // no operand or an address operand; record complete
    MarkDefinition,  // MRK; `name` is the mark it defines
    Jump,            // CAL and the jumps; `name` is the target, Operand still to be set
    Error,           // `error` holds the message after "Fehler in Zeile <n>"
};

struct ScannedLine {
    LineKind kind = LineKind::Filler;
    VM_Instruction record{static_cast<std::int32_t>(Mnemonic::ZZZ), 0, true};
    std::string name;
    std::string error;
    CheckError errorKind = CheckError::None;  // with Error: which one
};

// Takes one normalised line apart. An address operand that is no number at all raises the
// conversion error (SystemError) instead of returning an Error.
ScannedLine scanLine(const std::string& normalised, const OpcodeList& opcodes);

}  // namespace quarzel
