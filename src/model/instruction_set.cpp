#include "model/instruction_set.h"

namespace quarzel {
namespace {

constexpr const char* kMnemonics[] = {
    "",    "ADD", "CAL", "CLA", "DEC", "DIV", "INC", "INP", "JEQ", "JGT",
    "JLT", "JMP", "JNE", "LAD", "MRK", "MUL", "NEG", "OUT", "POP", "PUS",
    "RET", "SAL", "SAR", "STO", "STP", "SUB", "TAX", "TXA", "ZZZ",
};

bool isOneOf(std::int32_t opcode, std::initializer_list<Mnemonic> set) {
    for (const Mnemonic m : set) {
        if (static_cast<std::int32_t>(m) == opcode) {
            return true;
        }
    }
    return false;
}

}  // namespace

OpcodeList::OpcodeList() {
    for (const char* mnemonic : kMnemonics) {
        m_texts.emplace_back(mnemonic);
    }
    for (int i = kFirstOpcode; i < count(); ++i) {
        m_positions.emplace(m_texts[i], i);
    }
}

int OpcodeList::indexOf(std::string_view mnemonic) const {
    const auto found = m_positions.find(std::string(mnemonic));
    return found == m_positions.end() ? -1 : found->second;
}

bool inNoOperandSet(std::int32_t opcode) {
    using M = Mnemonic;
    return isOneOf(opcode, {M::CLA, M::DEC, M::INC, M::INP, M::NEG, M::OUT, M::POP, M::PUS, M::RET,
                            M::SAL, M::SAR, M::STP, M::TAX, M::TXA, M::ZZZ});
}

bool inMarkOperandSet(std::int32_t opcode) {
    using M = Mnemonic;
    return isOneOf(opcode, {M::CAL, M::JEQ, M::JGT, M::JLT, M::JMP, M::JNE});
}

bool inAddressOperandSet(std::int32_t opcode) {
    using M = Mnemonic;
    return isOneOf(opcode, {M::ADD, M::DIV, M::LAD, M::MUL, M::STO, M::SUB});
}

}  // namespace quarzel
