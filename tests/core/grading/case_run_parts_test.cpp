// A case run in parts ends exactly as the same case run at once, on random programs with
// inputs, loops, errors and step limits, however it is divided.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "grading/case_run.h"

namespace quarzel::grading {
namespace {

// A random program of a few lines: jumps back and forth, arithmetic that may overflow or
// divide by zero, cells read directly and indirectly, input, the stack.
std::string randomProgram(std::mt19937& random) {
    const char* const lines[] = {
        "MRK A", "MRK B",   "LAD 1", "LAD [2]", "STO 3", "ADD 1", "SUB 2", "MUL 3", "DIV 4",
        "INC",   "DEC",     "JMP A", "JMP B",   "JEQ A", "JNE B", "JGT A", "JLT B", "INP",
        "OUT",   "TAX",     "TXA",   "PUS",     "POP",   "CAL B", "RET",   "STP",   "NEG",
        "CLA",   "STO [1]", "LAD 5", "ADD [X]", "SAL",   "SAR"};
    std::string program = "MRK A\r\nMRK B\r\n";
    const int count = 3 + static_cast<int>(random() % 10);
    for (int i = 0; i < count; ++i) {
        program += lines[random() % std::size(lines)];
        program += "\r\n";
    }
    return program + "STP";
}

std::string tableText(const DataTable& table) {
    std::string text;
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        text += table.value(row) + ":" + table.comment(row) + "\n";
    }
    return text;
}

TEST(CaseRunParts, EndsAsTheRunAtOnce) {
    std::mt19937 random(20261208);
    const char* const cells[] = {"0", "1", "-3", "7", "2147483647", "abc", "", "4"};
    int ran = 0;
    int paused = 0;
    for (int c = 0; c < 400; ++c) {
        CaseInput input;
        input.program = randomProgram(random);
        for (int cell = 1; cell <= 5; ++cell) {
            input.cells.emplace_back(cell, cells[random() % std::size(cells)]);
        }
        input.inputs = {"4", "x", "-2", "9"};
        input.maxSteps = 1 + random() % 3000;
        input.detectLoops = random() % 2 == 0;
        SCOPED_TRACE("case " + std::to_string(c) + ":\n" + input.program);

        const CaseResult whole = runCase(input);
        CaseRun run(input);
        int parts = 0;
        while (!run.advance(1 + random() % 40)) {
            ++parts;
        }
        paused += parts > 0;
        ran += whole.ran;
        const CaseResult& inParts = run.result();
        EXPECT_EQ(inParts.end, whole.end);
        EXPECT_EQ(inParts.message, whole.message);
        EXPECT_EQ(inParts.loopLine, whole.loopLine);
        EXPECT_EQ(inParts.messages, whole.messages);
        EXPECT_EQ(inParts.ran, whole.ran);
        EXPECT_TRUE(inParts.registers == whole.registers);
        EXPECT_EQ(inParts.steps, whole.steps);
        EXPECT_EQ(tableText(inParts.table), tableText(whole.table));
        EXPECT_TRUE(run.advance(1)) << "an ended run stays ended";
    }
    // The random programs reach the run, and many of the runs are divided.
    EXPECT_GT(ran, 100);
    EXPECT_GT(paused, 50);
}

}  // namespace
}  // namespace quarzel::grading
