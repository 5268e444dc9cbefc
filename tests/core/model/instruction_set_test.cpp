// The instruction set table: positions are opcode numbers, and every instruction belongs to
// exactly one operand class.
#include <gtest/gtest.h>

#include <string>

#include "model/instruction_set.h"

namespace quarzel {
namespace {

struct Entry {
    const char* mnemonic;
    Mnemonic number;
    char operand;  // 'n' none, 'm' mark, 'a' address, 'd' the name MRK defines
};

// Written out from the instruction set, not generated from the code under test.
const Entry kInstructionSet[] = {
    {"ADD", Mnemonic::ADD, 'a'}, {"CAL", Mnemonic::CAL, 'm'}, {"CLA", Mnemonic::CLA, 'n'},
    {"DEC", Mnemonic::DEC, 'n'}, {"DIV", Mnemonic::DIV, 'a'}, {"INC", Mnemonic::INC, 'n'},
    {"INP", Mnemonic::INP, 'n'}, {"JEQ", Mnemonic::JEQ, 'm'}, {"JGT", Mnemonic::JGT, 'm'},
    {"JLT", Mnemonic::JLT, 'm'}, {"JMP", Mnemonic::JMP, 'm'}, {"JNE", Mnemonic::JNE, 'm'},
    {"LAD", Mnemonic::LAD, 'a'}, {"MRK", Mnemonic::MRK, 'd'}, {"MUL", Mnemonic::MUL, 'a'},
    {"NEG", Mnemonic::NEG, 'n'}, {"OUT", Mnemonic::OUT, 'n'}, {"POP", Mnemonic::POP, 'n'},
    {"PUS", Mnemonic::PUS, 'n'}, {"RET", Mnemonic::RET, 'n'}, {"SAL", Mnemonic::SAL, 'n'},
    {"SAR", Mnemonic::SAR, 'n'}, {"STO", Mnemonic::STO, 'a'}, {"STP", Mnemonic::STP, 'n'},
    {"SUB", Mnemonic::SUB, 'a'}, {"TAX", Mnemonic::TAX, 'n'}, {"TXA", Mnemonic::TXA, 'n'},
    {"ZZZ", Mnemonic::ZZZ, 'n'},
};

TEST(OpcodesTest, EveryMnemonicIsFoundAtItsOpcodeNumber) {
    const OpcodeList list;
    ASSERT_EQ(list.count(), 29);
    EXPECT_EQ(list.text(0), "");
    int expectedNumber = 1;
    for (const Entry& e : kInstructionSet) {
        const int number = static_cast<int>(e.number);
        EXPECT_EQ(number, expectedNumber++) << e.mnemonic;
        EXPECT_EQ(list.indexOf(e.mnemonic), number) << e.mnemonic;
        EXPECT_EQ(list.text(number), e.mnemonic);
    }
    EXPECT_EQ(list.indexOf("ZZZ"), 28);
}

TEST(OpcodesTest, TextsThatAreNoMnemonicAreNotFound) {
    const OpcodeList list;
    for (const char* text : {"", "add", "Add", "ZZ", "ZZZZ", " ADD", "ADD ", "MOV", "0", "A"}) {
        EXPECT_EQ(list.indexOf(text), -1) << '"' << text << '"';
    }
}

TEST(OpcodesTest, EveryOpcodeHasExactlyOneOperandClass) {
    for (const Entry& e : kInstructionSet) {
        const auto n = static_cast<std::int32_t>(e.number);
        EXPECT_EQ(inNoOperandSet(n), e.operand == 'n') << e.mnemonic;
        EXPECT_EQ(inMarkOperandSet(n), e.operand == 'm') << e.mnemonic;
        EXPECT_EQ(inAddressOperandSet(n), e.operand == 'a') << e.mnemonic;
    }
    for (const std::int32_t n : {-1, 0, 29, 1000}) {
        EXPECT_FALSE(inNoOperandSet(n) || inMarkOperandSet(n) || inAddressOperandSet(n)) << n;
    }
}

}  // namespace
}  // namespace quarzel
