// The headless run loop: it ends every run exactly where and how the window's steps end it,
// and with loop detection it finds a state that repeats, but nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "common/win1252.h"
#include "fakes.h"
#include "machine/run_loop.h"
#include "model/trace_row.h"
#include "session/step_history.h"

namespace quarzel {
namespace {

using M = Mnemonic;

using testing::op;

struct LoopRig {
    testing::TestBench t;
    WorkbenchInternals& b = t.bench;

    LoopRig(Instructions program, std::vector<std::string> inputs = {}) {
        for (const std::string& text : inputs) {
            t.screen.numberInput.script.push_back(text);
        }
        b.machine.InstructionList = std::move(program);
        b.flags.ProgramChecked = true;
        b.flags.DataChecked = true;
        b.runControl.VM_Start();
    }
    RunLoopResult run(std::uint64_t maxSteps, bool detectLoops, TraceSink* trace = nullptr) {
        return runLoop(b.machine, b.table, b.flags, b.input, t.screen.numberInput, t.screen.prompts,
                       maxSteps, detectLoops, trace);
    }
};

std::string describe(const WorkbenchInternals& b, StepEnd end, const std::string& message) {
    std::string text =
        "end " + std::to_string(static_cast<int>(end)) + " " + toUtf8(message) + " accu " +
        std::to_string(b.machine.VM_Accu) + " window " + std::to_string(b.machine.VM_Window) +
        " index " + std::to_string(b.machine.VM_Index) + " ip " + std::to_string(b.machine.VM_IP) +
        " sp " + std::to_string(b.machine.VM_SP) + " steps " + std::to_string(b.machine.StepCount) +
        " last " + std::to_string(b.machine.LastAccessCell) +
        (b.machine.LastAccessWrite ? "w" : "r") + " input " + std::to_string(b.input.InputValue);
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        text += " " + toUtf8(b.table.value(row));
    }
    return text;
}

// A random program of twelve lines over the first ten cells, and those cells' texts.
struct RandomCase {
    Instructions code;
    std::vector<std::string> cells;
};

RandomCase randomCase(std::mt19937& random) {
    const char* const texts[] = {"0", "1", "-3", "007", "abc", "", "$1F", "600", "5", "3", "9"};
    RandomCase c;
    for (int i = 0; i < 12; ++i) {
        const int opcode = 1 + static_cast<int>(random() % 28);
        VM_Instruction ins{opcode, 0, true};
        if (inAddressOperandSet(opcode)) {
            ins.Operand = static_cast<int>(random() % 10);
            ins.IsDirect = random() % 3 != 0;
        } else if (inMarkOperandSet(opcode)) {
            ins.Operand = static_cast<int>(random() % 12);
        }
        c.code.push_back(ins);
    }
    for (int row = 0; row < 10; ++row) {
        c.cells.push_back(texts[random() % std::size(texts)]);
    }
    return c;
}

void fillCells(LoopRig& rig, const RandomCase& c) {
    for (int row = 0; row < 10; ++row) {
        rig.b.table.setValue(row, c.cells[static_cast<std::size_t>(row)]);
    }
}

TEST(RunLoopTest, RandomProgramsEndAsTheirStepsInTheWindowEndThem) {
    std::mt19937 random(8122026);
    for (int program = 0; program < 500; ++program) {
        const RandomCase c = randomCase(random);
        const std::vector<std::string> inputs = {"4", "x", "-2"};
        LoopRig window(c.code, inputs);
        LoopRig headless(c.code, inputs);
        fillCells(window, c);
        fillCells(headless, c);
        StepOutcome last;
        while (window.b.machine.VM_Running && window.b.machine.StepCount < 300) {
            last = window.b.runControl.VM_Step();
        }
        const RunLoopResult result = headless.run(300, false);
        const StepEnd expected = window.b.machine.VM_Running ? StepEnd::StepLimit : last.end;
        ASSERT_EQ(describe(headless.b, result.outcome.end, result.outcome.message),
                  describe(window.b, expected, last.end == expected ? last.message : ""))
            << "program " << program;
    }
}

// An endless loop is named by the lowest line of its cycle, whichever line the detector looked
// at, and finding that line leaves the machine exactly as the detection found it.
TEST(RunLoopTest, AnEndlessLoopIsNamedByTheLowestLineOfItsCycle) {
    struct Case {
        const char* name;
        Instructions program;
        std::int32_t line;
    };
    const std::vector<Case> cases = {
        {"a tight jump", {op(M::ZZZ), op(M::MRK), op(M::JMP, 1), op(M::STP)}, 2},
        {"jumps back and forth", {op(M::CLA), op(M::JMP, 3), op(M::JMP, 1), op(M::JMP, 2)}, 2},
        // CAL and RET write and clear the stack cell on every round.
        {"a subroutine",
         {op(M::CLA), op(M::INC), op(M::CAL, 4), op(M::JMP, 1), op(M::DEC), op(M::RET)},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopRig rig(c.program);
        const RunLoopResult result = rig.run(1000000, true);
        EXPECT_EQ(result.outcome.end, StepEnd::EndlessLoop);
        EXPECT_EQ(result.loopLine, c.line);
        EXPECT_LT(rig.b.machine.StepCount, 40u);
        LoopRig plain(c.program);
        plain.run(rig.b.machine.StepCount, false);
        EXPECT_EQ(describe(rig.b, StepEnd::EndlessLoop, ""),
                  describe(plain.b, StepEnd::EndlessLoop, ""));
    }
}

TEST(RunLoopTest, ALoopThatChangesACellIsFoundOnlyOnceTheStateRepeats) {
    // Cell 1 goes round 1, 2, ... 100 and back to 0 while the registers are the same at the
    // top of every round: only the cell tells the rounds apart, and the whole state repeats
    // after 99 rounds of eight steps and one of nine.
    LoopRig rig({op(M::MRK), op(M::LAD, 1), op(M::INC), op(M::STO, 1), op(M::SUB, 2), op(M::JEQ, 8),
                 op(M::CLA), op(M::JMP, 0), op(M::MRK), op(M::STO, 1), op(M::JMP, 0)});
    rig.b.table.setValue(1, "100");
    const std::uint64_t cycle = 99 * 8 + 9;
    const RunLoopResult result = rig.run(1000000, true);
    EXPECT_EQ(result.outcome.end, StepEnd::EndlessLoop);
    EXPECT_GE(rig.b.machine.StepCount, cycle) << "no alarm before the state repeats";
    EXPECT_LE(rig.b.machine.StepCount, 3 * cycle);
}

TEST(RunLoopTest, ALongRunThatNeverRepeatsIsNoLoop) {
    // A countdown from 5000: every round leaves another value in cell 1.
    const Instructions countdown = {op(M::MRK),    op(M::LAD, 1), op(M::DEC),
                                    op(M::STO, 1), op(M::JNE, 0), op(M::STP)};
    LoopRig plain(countdown);
    LoopRig detecting(countdown);
    plain.b.table.setValue(0, "5000");
    detecting.b.table.setValue(0, "5000");
    const RunLoopResult without = plain.run(1000000, false);
    const RunLoopResult with = detecting.run(1000000, true);
    EXPECT_EQ(with.outcome.end, StepEnd::Stopped);
    EXPECT_EQ(detecting.b.machine.StepCount, plain.b.machine.StepCount);
    EXPECT_EQ(without.outcome.end, StepEnd::Stopped);
}

TEST(RunLoopTest, AProgramWaitingOnInputLoopsOnlyOnceTheInputsAreUsedUp) {
    LoopRig rig({op(M::MRK), op(M::INP), op(M::OUT), op(M::JMP, 0)}, {"1", "2", "3"});
    const RunLoopResult result = rig.run(1000000, true);
    EXPECT_EQ(result.outcome.end, StepEnd::EndlessLoop);
    EXPECT_EQ(rig.b.machine.VM_Window, 3) << "every input was read before the alarm";
    EXPECT_EQ(rig.t.screen.numberInput.shown, static_cast<int>(rig.b.machine.StepCount + 3) / 4);
}

// The loop hands control back to its caller every so many steps and goes on: a run ends on
// the same step, in the same state, whether its end falls just before, on or just after such a
// pause, with or without loop detection. A countdown of five steps a round, after a few MRK
// lines that set where its last instruction (STP, or a division by zero) falls.
TEST(RunLoopTest, ALongRunEndsOnTheSameStepAsTheWindowsSteps) {
    struct Case {
        const char* name;
        std::uint64_t lastStep;  // the step that runs the last instruction
        Mnemonic last;
        std::uint64_t maxSteps;
    };
    const std::vector<Case> cases = {
        {"STP on step 65 536", 65536, M::STP, 1000000},
        {"STP on step 65 537", 65537, M::STP, 1000000},
        {"STP on step 131 072", 131072, M::STP, 1000000},
        {"division by zero on step 65 537", 65537, M::DIV, 1000000},
        {"the step limit on 65 536", 200001, M::STP, 65536},
        {"the step limit on 65 537", 200001, M::STP, 65537},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::uint64_t rounds = (c.lastStep - 1) / 5;
        const auto leading = static_cast<std::int32_t>((c.lastStep - 1) % 5);
        Instructions program(static_cast<std::size_t>(leading), op(M::MRK));
        for (const VM_Instruction& ins : {op(M::MRK), op(M::LAD, 1), op(M::DEC), op(M::STO, 1),
                                          op(M::JNE, leading), op(c.last, 2)}) {
            program.push_back(ins);
        }
        const std::string counter = std::to_string(rounds);
        LoopRig window(program);
        window.b.table.setValue(0, counter);
        StepOutcome last;
        while (window.b.machine.VM_Running && window.b.machine.StepCount < c.maxSteps) {
            last = window.b.runControl.VM_Step();
        }
        ASSERT_EQ(window.b.machine.StepCount, std::min(c.lastStep, c.maxSteps));
        const StepEnd expected = window.b.machine.VM_Running ? StepEnd::StepLimit : last.end;
        for (const bool detectLoops : {false, true}) {
            LoopRig headless(program);
            headless.b.table.setValue(0, counter);
            const RunLoopResult result = headless.run(c.maxSteps, detectLoops);
            EXPECT_EQ(describe(headless.b, result.outcome.end, result.outcome.message),
                      describe(window.b, expected, last.end == expected ? last.message : ""))
                << (detectLoops ? "loops watched" : "loops not watched");
        }
    }
}

TEST(RunLoopTest, TypedTextsStayAsTheyAreUntilTheMachineWritesThem) {
    LoopRig rig({op(M::LAD, 1), op(M::ADD, 2), op(M::STO, 3), op(M::STP)});
    rig.b.table.setValue(0, "007");
    rig.b.table.setValue(1, "$1F");
    rig.b.table.setValue(2, "-0");
    EXPECT_EQ(rig.run(100, false).outcome.end, StepEnd::Stopped);
    EXPECT_EQ(rig.b.table.value(0), "007");
    EXPECT_EQ(rig.b.table.value(1), "$1F");
    EXPECT_EQ(rig.b.table.value(2), "38");
}

std::string describe(const TraceRow& row) {
    const Registers& r = row.after;
    return std::to_string(row.step) + " line " + std::to_string(row.line) + " accu " +
           std::to_string(r.VM_Accu) + " window " + std::to_string(r.VM_Window) + " index " +
           std::to_string(r.VM_Index) + " ip " + std::to_string(r.VM_IP) + " sp " +
           std::to_string(r.VM_SP) + " cell " + std::to_string(row.cell) + (row.write ? "w" : "r");
}

struct CollectedRows : TraceSink {
    std::vector<std::string> rows;
    void row(const TraceRow& r) override { rows.push_back(describe(r)); }
};

// The protocol's rows three ways: as the window's steps show them (the registers after each
// step, the picture repainted when a cell was touched), as the journal gives them back, and as
// the headless run loop traces them, with and without loop detection.
TEST(RunLoopTest, TraceRowsAreTheStepsAsTheWindowTakesThem) {
    std::mt19937 random(9122026);
    for (int program = 0; program < 300; ++program) {
        const RandomCase c = randomCase(random);
        const std::vector<std::string> inputs = {"4", "x", "-2"};
        LoopRig window(c.code, inputs);
        fillCells(window, c);
        std::vector<std::string> seen;
        while (window.b.machine.VM_Running && window.b.machine.StepCount < 300) {
            const std::int32_t line = window.b.machine.VM_IP;
            const int repaints = window.t.screen.picture.repaints;
            window.b.runControl.VM_Step();
            const MachineState& m = window.b.machine;
            const bool touched = window.t.screen.picture.repaints != repaints;
            seen.push_back(describe({m.StepCount, line, m, touched ? m.LastAccessCell : 0,
                                     touched && m.LastAccessWrite}));
            // Whatever the step met, its sentence names its line.
            ASSERT_EQ(toUtf8(window.t.workbench.stepSentence())
                          .rfind("Zeile " + std::to_string(line + 1) + ": ", 0),
                      0u)
                << "program " << program;
        }
        std::vector<std::string> journal;
        for (std::uint64_t step = 1; step <= window.b.machine.StepCount; ++step) {
            journal.push_back(describe(traceRowOf(window.b.journal, window.b.machine, step)));
        }
        EXPECT_EQ(journal, seen) << "program " << program;

        for (const bool detectLoops : {false, true}) {
            LoopRig headless(c.code, inputs);
            fillCells(headless, c);
            CollectedRows traced;
            headless.run(300, detectLoops, &traced);
            ASSERT_LE(traced.rows.size(), seen.size());
            EXPECT_EQ(traced.rows,
                      std::vector<std::string>(seen.begin(), seen.begin() + traced.rows.size()))
                << "program " << program;
            if (!detectLoops) {
                EXPECT_EQ(traced.rows.size(), seen.size()) << "program " << program;
            }
        }
    }
}

}  // namespace
}  // namespace quarzel
