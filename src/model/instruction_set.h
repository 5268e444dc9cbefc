// The instruction set: OpcodeList (position = opcode number), the three operand classes and
// VM_Instruction, one checked program line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quarzel {

// Opcode numbers. A switch over them has no default, so that the compiler names a forgotten
// instruction.
enum class Mnemonic : std::int32_t {
    ADD = 1,
    CAL,
    CLA,
    DEC,
    DIV,
    INC,
    INP,
    JEQ,
    JGT,
    JLT,
    JMP,
    JNE,
    LAD,
    MRK,
    MUL,
    NEG,
    OUT,
    POP,
    PUS,
    RET,
    SAL,
    SAR,
    STO,
    STP,
    SUB,
    TAX,
    TXA,
    ZZZ,
};

inline constexpr std::int32_t kFirstOpcode = 1;
inline constexpr std::int32_t kLastOpcode = 28;

// One program line after checking.
struct VM_Instruction {
    std::int32_t Opcode = 0;   // 1..28
    std::int32_t Operand = 0;  // cell 1..512 or 0 for X; a jump's target line; else 0
    bool IsDirect = true;      // false only for [n] and [X]
};

// Position i is program line i.
using Instructions = std::vector<VM_Instruction>;

// 29 texts: the empty text at 0, so that the mnemonics are numbered from 1 ("ADD") to 28
// ("ZZZ"). Lookups are made with upper-case text.
class OpcodeList {
  public:
    OpcodeList();
    int count() const { return static_cast<int>(m_texts.size()); }
    const std::string& text(int position) const { return m_texts.at(position); }
    // Position of a mnemonic, or -1. The empty entry at 0 is never found.
    int indexOf(std::string_view mnemonic) const;

  private:
    std::vector<std::string> m_texts;
    std::unordered_map<std::string, int> m_positions;
};

bool inNoOperandSet(
    std::int32_t opcode);  // CLA DEC INC INP NEG OUT POP PUS RET SAL SAR STP TAX TXA ZZZ
bool inMarkOperandSet(std::int32_t opcode);     // CAL JEQ JGT JLT JMP JNE
bool inAddressOperandSet(std::int32_t opcode);  // ADD DIV LAD MUL STO SUB

}  // namespace quarzel
