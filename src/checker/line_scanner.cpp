#include "checker/line_scanner.h"

#include "common/number_text.h"
#include "common/quote.h"
#include "common/win1252.h"

namespace quarzel {
namespace {

// Fixed parts of the messages, in Windows-1252.
struct Texts {
    std::string badLineStart = fromUtf8(": Ungültiges Zeichen am Zeilenanfang");
    std::string noSuchMnemonic = fromUtf8(" ist kein gültiger Befehl");
    std::string badInstruction = fromUtf8(" ist keine gültige Anweisung");
    std::string blankMissing = ": Auf eine Anweisung muss ein Leerzeichen folgen";
    std::string commentTooClose = ": Vor einem Kommentar muss ein Leerzeichen stehen";
    std::string targetMissing = ": Ziel fehlt";
    std::string badOperandCharacter = fromUtf8(": Ungültiges Zeichen in Ziel ");
    std::string outOfRange = fromUtf8(" außerhalb des zulässigen Bereichs");
};

const Texts& texts() {
    static const Texts instance;
    return instance;
}

constexpr std::size_t kMnemonicLength = 3;
constexpr std::size_t kOperandStart = 4;  // after the mnemonic and its blank

ScannedLine failure(CheckError kind, std::string rest) {
    ScannedLine line;
    line.kind = LineKind::Error;
    line.error = std::move(rest);
    line.errorKind = kind;
    return line;
}

bool isOperandCharacter(char c) {
    return (c >= '0' && c <= '9') || c == 'X' || c == '[' || c == ']';
}

// Blanks and control characters, codes 0 to 32.
bool isTrimmed(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isTrimmed(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isTrimmed(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The end of the word after the mnemonic's blank: the first blank, or the end of the line. A "*"
// before it starts a comment too close to the operand; returns false then.
bool operandEnd(std::string_view line, std::size_t& end) {
    end = kOperandStart;
    while (end < line.size() && line[end] != ' ') {
        if (line[end] == '*') {
            return false;
        }
        ++end;
    }
    return true;
}

// MRK and the jumps: the name runs from position 5 to the first blank; it may be empty.
ScannedLine scanName(std::string_view line, ScannedLine scanned, LineKind kind) {
    std::size_t end = 0;
    if (!operandEnd(line, end)) {
        return failure(CheckError::CommentTooClose, texts().commentTooClose);
    }
    scanned.kind = kind;
    if (end > kOperandStart) {
        scanned.name.assign(line.substr(kOperandStart, end - kOperandStart));
    }
    return scanned;
}

// n, [n], X or [X]. Whatever follows the blank after the operand is ignored.
ScannedLine scanAddress(std::string_view line, ScannedLine scanned) {
    std::size_t end = 0;
    if (!operandEnd(line, end)) {
        return failure(CheckError::CommentTooClose, texts().commentTooClose);
    }
    const std::string_view operand =
        trimmed(end > kOperandStart ? line.substr(kOperandStart, end - kOperandStart) : "");
    if (operand.empty()) {
        return failure(CheckError::OperandMissing, texts().targetMissing);
    }
    for (const char c : operand) {
        if (!isOperandCharacter(c)) {
            return failure(CheckError::BadOperandCharacter,
                           texts().badOperandCharacter + shortQuote(operand));
        }
    }
    std::string_view address = operand;
    if (operand.front() == '[') {
        // The closing bracket is taken on trust: "[12" reads as cell 1.
        scanned.record.IsDirect = false;
        address = operand.size() >= 2 ? operand.substr(1, operand.size() - 2) : std::string_view();
    }
    scanned.kind = LineKind::Instruction;
    if (address == "X") {
        scanned.record.Operand = 0;  // the index register
        return scanned;
    }
    const std::string text(address);
    const std::int32_t value = textToInt32(text);  // "X10" is cell 16; "5X" does not convert
    if (value < 1 || value > kCellCount) {
        return failure(CheckError::OutOfRange, ": Ziel " + shortQuote(text) + texts().outOfRange);
    }
    scanned.record.Operand = value;
    return scanned;
}

}  // namespace

std::string normaliseLine(std::string_view line) {
    std::string normalised;
    normalised.reserve(line.size());
    for (const char c : line) {
        if (c != '\t') {
            normalised.push_back(upperCaseWin1252(c));
        }
    }
    return normalised;
}

ScannedLine scanLine(const std::string& normalised, const OpcodeList& opcodes) {
    const std::string_view line = normalised;
    if (line.empty()) {
        return ScannedLine{};
    }
    if (line.front() < 'A' || line.front() > 'Z') {
        return line.front() == '*' ? ScannedLine{}
                                   : failure(CheckError::BadLineStart, texts().badLineStart);
    }
    const std::string_view mnemonic = line.substr(0, kMnemonicLength);
    const int opcode = opcodes.indexOf(mnemonic);
    if (opcode < kFirstOpcode) {
        return failure(CheckError::NoSuchMnemonic,
                       ": " + std::string(mnemonic) + texts().noSuchMnemonic);
    }

    ScannedLine scanned;
    scanned.kind = LineKind::Instruction;
    scanned.record = VM_Instruction{opcode, 0, true};
    const bool blankFollows = line.size() > kMnemonicLength && line[kMnemonicLength] == ' ';
    if (inNoOperandSet(opcode)) {
        // Whatever follows the blank is a remark: "STP Ende des Programms" is fine.
        if (line.size() > kMnemonicLength && !blankFollows) {
            return failure(CheckError::BadInstruction,
                           ": " + shortQuote(normalised) + texts().badInstruction);
        }
        return scanned;
    }
    if (!blankFollows) {
        return failure(CheckError::BlankMissing, texts().blankMissing);
    }
    if (opcode == static_cast<int>(Mnemonic::MRK)) {
        return scanName(line, std::move(scanned), LineKind::MarkDefinition);
    }
    if (inMarkOperandSet(opcode)) {
        return scanName(line, std::move(scanned), LineKind::Jump);
    }
    return scanAddress(line, std::move(scanned));  // the rest is AddressOperandSet
}

}  // namespace quarzel
