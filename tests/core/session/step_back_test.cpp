// Taking steps back through the journal: every step, STP and a failing one included, comes
// back byte for byte, and the journal forgets what no longer matches the program or data.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/win1252.h"
#include "fakes.h"

namespace quarzel {
namespace {

using M = Mnemonic;

using testing::op;

// Everything a step may change, compared as a whole.
struct State {
    Registers registers;
    std::int32_t lastAccessCell;
    bool lastAccessWrite;
    std::int32_t inputValue;
    std::uint64_t steps;
    bool running;
    std::vector<std::string> values;

    bool operator==(const State& o) const {
        return registers == o.registers && lastAccessCell == o.lastAccessCell &&
               lastAccessWrite == o.lastAccessWrite && inputValue == o.inputValue &&
               steps == o.steps && running == o.running && values == o.values;
    }
};

State stateOf(const WorkbenchInternals& b) {
    State s{b.machine,
            b.machine.LastAccessCell,
            b.machine.LastAccessWrite,
            b.input.InputValue,
            b.machine.StepCount,
            b.machine.VM_Running,
            {}};
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        s.values.push_back(b.table.value(row));
    }
    return s;
}

struct StepBackRig {
    testing::TestBench t;
    WorkbenchInternals& b = t.bench;

    void run(Instructions program) {
        b.machine.InstructionList = std::move(program);
        b.flags.ProgramChecked = true;
        b.flags.DataChecked = true;
        b.runControl.VM_Start();
    }
    void step() {
        t.handle([this] { b.runControl.VM_Step(); });
    }
    void back() {
        t.handle([this] { b.runControl.VM_StepBack(); });
    }
};

// Random programs over a few cells with typed texts that are numbers, no numbers, or numbers
// written oddly, so that the journal has to give back texts, not only values.
Instructions randomProgram(std::mt19937& random, int lines) {
    std::uniform_int_distribution<int> opcode(kFirstOpcode, kLastOpcode);
    std::uniform_int_distribution<int> cell(0, 12);  // 0 is the index register
    std::uniform_int_distribution<int> line(0, lines - 1);
    Instructions program;
    for (int i = 0; i < lines; ++i) {
        const int code = opcode(random);
        VM_Instruction ins{code, 0, true};
        if (inAddressOperandSet(code)) {
            ins.Operand = cell(random);
            ins.IsDirect = random() % 3 != 0;
        } else if (inMarkOperandSet(code)) {
            ins.Operand = line(random);
        }
        program.push_back(ins);
    }
    return program;
}

void randomCells(std::mt19937& random, DataTable& table) {
    const char* const texts[] = {"0",   "1",   "-3", "007", "abc",        "",
                                 "$1F", "600", "5",  "-0",  "2147483647", "12"};
    for (int row = 0; row < 12; ++row) {
        table.setValue(row, texts[random() % std::size(texts)]);
    }
    table.setValue(511, "4");  // the stack's first cell, for a RET without CAL
}

TEST(StepBackTest, RandomRunsComeBackStepByStepToEveryEarlierState) {
    std::mt19937 random(20261208);
    for (int program = 0; program < 300; ++program) {
        StepBackRig rig;
        randomCells(random, rig.b.table);
        for (int i = 0; i < 4; ++i) {
            rig.t.screen.numberInput.script.push_back(std::to_string(i * 7 - 3));
        }
        rig.run(randomProgram(random, 10));
        std::vector<State> before;
        for (int i = 0; i < 40 && rig.b.machine.VM_Running; ++i) {
            before.push_back(stateOf(rig.b));
            rig.step();
        }
        while (!before.empty()) {
            ASSERT_TRUE(rig.b.runControl.canStepBack()) << "program " << program;
            rig.back();
            State now = stateOf(rig.b);
            now.running = true;  // a run taken back is in progress again, paused
            ASSERT_TRUE(now == before.back())
                << "program " << program << ", back to step " << before.size() - 1;
            before.pop_back();
        }
        EXPECT_FALSE(rig.b.runControl.canStepBack());
    }
}

TEST(StepBackTest, EachKindOfWriteComesBackWithItsText) {
    struct Case {
        const char* name;
        Instructions program;
        int cell;  // the cell the last step writes
    };
    const Case cases[] = {
        {"STO", {op(M::LAD, 2), op(M::STO, 1), op(M::STP)}, 1},
        {"STO [n]", {op(M::LAD, 2), op(M::STO, 3, false), op(M::STP)}, 1},
        {"PUS", {op(M::LAD, 2), op(M::PUS), op(M::STP)}, 512},
        {"POP", {op(M::LAD, 2), op(M::POP), op(M::STP)}, 512},
        {"CAL", {op(M::LAD, 2), op(M::CAL, 2), op(M::STP)}, 512},
        {"RET", {op(M::LAD, 2), op(M::RET), op(M::STP)}, 512},
    };
    for (const Case& c : cases) {
        StepBackRig rig;
        rig.b.table.setValue(0, "007");
        rig.b.table.setValue(1, "-0");
        rig.b.table.setValue(2, "1");
        rig.b.table.setValue(511, "$1");
        rig.run(c.program);
        if (std::string(c.name) == "POP" || std::string(c.name) == "RET") {
            rig.b.machine.VM_SP = 511;  // one entry on the stack: cell 512
        }
        rig.step();
        const State before = stateOf(rig.b);
        const std::string text = rig.b.table.value(c.cell - 1);
        rig.step();
        ASSERT_NE(rig.b.table.value(c.cell - 1), text) << c.name;
        rig.back();
        EXPECT_TRUE(stateOf(rig.b) == before) << c.name;
        EXPECT_EQ(rig.b.table.value(c.cell - 1), text) << c.name;
        EXPECT_EQ(rig.t.screen.grid.topRow, c.cell - 1) << c.name << ": the table shows the cell";
    }
}

TEST(StepBackTest, AfterStpOrAnErrorTheFirstBackTakesOnlyThatStepAndResumesTheRun) {
    for (const bool error : {false, true}) {
        StepBackRig rig;
        rig.b.table.setValue(0, "0");
        rig.run({op(M::INC), op(error ? M::DIV : M::STP, 1), op(M::STP)});
        rig.step();
        const State onTheLastLine = stateOf(rig.b);
        rig.step();
        ASSERT_FALSE(rig.b.machine.VM_Running);
        ASSERT_EQ(rig.b.machine.StepCount, 2u);
        rig.t.screen.log.clear();

        rig.back();
        EXPECT_TRUE(stateOf(rig.b) == onTheLastLine) << error;
        EXPECT_EQ(rig.t.screen.runPanel.caption, "Stop");
        EXPECT_TRUE(rig.t.screen.editor.readOnly());
        EXPECT_FALSE(rig.t.screen.grid.inputEnabled);

        rig.back();
        EXPECT_EQ(rig.b.machine.VM_IP, 0);
        EXPECT_EQ(rig.b.machine.VM_Accu, 0);
        EXPECT_EQ(rig.b.machine.StepCount, 0u);
        EXPECT_FALSE(rig.b.runControl.canStepBack());
    }
}

TEST(StepBackTest, BackOverInpRestoresTheAccuAndTheNextStepAsksAgain) {
    StepBackRig rig;
    rig.t.screen.numberInput.script = {std::string("5"), std::string("9")};
    rig.run({op(M::INP), op(M::STP)});
    rig.step();
    ASSERT_EQ(rig.b.machine.VM_Accu, 5);
    rig.back();
    EXPECT_EQ(rig.b.machine.VM_Accu, 0);
    EXPECT_EQ(rig.b.input.InputValue, 0);
    rig.step();
    EXPECT_EQ(rig.t.screen.numberInput.shown, 2);
    EXPECT_EQ(rig.b.machine.VM_Accu, 9);
}

TEST(StepBackTest, TheJournalIsForgottenWhenItNoLongerMatches) {
    const struct {
        const char* name;
        void (*change)(StepBackRig&);
    } changes[] = {
        {"a new run", [](StepBackRig& r) { r.b.runControl.VM_Start(); }},
        {"an edit of the program", [](StepBackRig& r) { r.t.screen.editor.setText("STP"); }},
        {"an edit of a cell", [](StepBackRig& r) { r.b.flags.sgDataSetEditText(1, 3, "4"); }},
        {"New for the data",
         [](StepBackRig& r) {
             r.t.screen.prompts.answers = {false, true};
             r.b.files.btNewClick();
             r.b.flags.ProgramChecked = r.b.flags.DataChecked = true;
         }},
    };
    for (const auto& c : changes) {
        StepBackRig rig;
        rig.run({op(M::INC), op(M::INC), op(M::STP)});
        rig.step();
        ASSERT_TRUE(rig.b.runControl.canStepBack());
        c.change(rig);
        EXPECT_FALSE(rig.b.runControl.canStepBack()) << c.name;
        const State now = stateOf(rig.b);
        rig.back();
        EXPECT_TRUE(stateOf(rig.b) == now) << c.name << ": a refused back changes nothing";
    }
}

TEST(StepBackTest, ACommandThatChangesNothingKeepsTheJournal) {
    // Load and New with every question declined, and a save, replace neither the program nor
    // the data: what the journal recorded still fits, also for the steps taken afterwards.
    const struct {
        const char* name;
        std::vector<bool> answers;
        void (FileCommands::*command)();
    } commands[] = {
        {"Load", {false, false}, &FileCommands::btLoadClick},
        {"New", {false, false}, &FileCommands::btNewClick},
        {"Save", {false, false}, &FileCommands::btSaveClick},
    };
    for (const auto& c : commands) {
        StepBackRig rig;
        rig.run({op(M::INC), op(M::INC), op(M::INC), op(M::STP)});
        rig.step();
        rig.t.screen.prompts.answers.assign(c.answers.begin(), c.answers.end());
        rig.t.handle([&] { (rig.b.files.*c.command)(); });
        rig.step();
        ASSERT_TRUE(rig.b.runControl.canStepBack()) << c.name;
        rig.back();
        rig.back();
        EXPECT_EQ(rig.b.machine.VM_Accu, 0) << c.name;
        EXPECT_EQ(rig.b.machine.StepCount, 0u) << c.name;
        EXPECT_FALSE(rig.b.runControl.canStepBack()) << c.name;
    }
}

TEST(StepBackTest, TheJournalKeepsTheLastHundredThousandSteps) {
    StepBackRig rig;
    rig.run({op(M::JMP, 0)});
    const std::uint64_t steps = StepJournal::kCapacity + 5;
    for (std::uint64_t i = 0; i < steps; ++i) {
        rig.b.runControl.VM_Step();
    }
    std::uint64_t backs = 0;
    while (rig.b.runControl.canStepBack()) {
        rig.b.runControl.VM_StepBack();
        ++backs;
    }
    EXPECT_EQ(backs, StepJournal::kCapacity);
    EXPECT_EQ(rig.b.machine.StepCount, steps - StepJournal::kCapacity);
    // The protocol and the slider hold what the journal holds: the oldest five steps are gone.
    rig.b.runControl.historyMove(steps);
    EXPECT_EQ(rig.t.screen.runPanel.traceFirst, 6u);
    EXPECT_EQ(rig.t.screen.runPanel.traceLast, steps);
    EXPECT_EQ(rig.t.screen.runPanel.history, (HistoryRange{5, steps, steps, true}));
}

TEST(StepBackTest, TheRunPanelShowsTheCountAndWhetherBackCanBePressed) {
    StepBackRig rig;
    rig.run({op(M::INC), op(M::STP)});
    EXPECT_EQ(rig.t.screen.runPanel.steps, 0u);
    EXPECT_FALSE(rig.t.screen.runPanel.backEnabled);
    rig.step();
    EXPECT_EQ(rig.t.screen.runPanel.steps, 1u);
    EXPECT_TRUE(rig.t.screen.runPanel.backEnabled);
    rig.b.runControl.rbFastClick();
    EXPECT_FALSE(rig.t.screen.runPanel.backEnabled) << "only at speed Schritt";
    rig.b.runControl.rbStepClick();
    rig.back();
    EXPECT_EQ(rig.t.screen.runPanel.steps, 0u);
    EXPECT_FALSE(rig.t.screen.runPanel.backEnabled);
}

// "Verlauf": moving through the journal back and forward lands on exactly the state the run
// had after that step; forward, INP takes the number typed then and asks nothing.
TEST(HistoryTest, RandomRunsMoveToExactlyTheStatesTheyHadAndAskNothingAgain) {
    std::mt19937 random(20261209);
    for (int program = 0; program < 200; ++program) {
        StepBackRig rig;
        randomCells(random, rig.b.table);
        auto& script = rig.t.screen.numberInput.script;
        script = {std::string("zwölf"),     std::string("4"),   std::nullopt,
                  std::string("-9"),        std::string("$10"), std::nullopt,
                  std::string("2147483647")};
        rig.run(randomProgram(random, 10));
        std::vector<State> states{stateOf(rig.b)};
        for (int i = 0; i < 40 && rig.b.machine.VM_Running; ++i) {
            rig.step();
            states.push_back(stateOf(rig.b));
        }
        const int asked = rig.t.screen.numberInput.shown;
        const std::size_t boxes = rig.t.screen.prompts.messages.size();
        const std::uint64_t newest = states.size() - 1;
        for (int move = 0; move < 12; ++move) {
            const std::uint64_t target = random() % states.size();
            rig.t.workbench.historyMove(target);
            State expected = states[target];
            expected.running = target < newest || states[newest].running;
            ASSERT_TRUE(stateOf(rig.b) == expected)
                << "program " << program << ", move " << move << " to step " << target;
            const testing::FakeRunPanel& panel = rig.t.screen.runPanel;
            EXPECT_EQ(panel.history, rig.t.workbench.historyRange());
            EXPECT_EQ(panel.history.newest, newest);
            EXPECT_EQ(panel.traceLast, target) << "the protocol follows the run";
        }
        EXPECT_EQ(rig.t.screen.numberInput.shown, asked) << "program " << program;
        EXPECT_EQ(rig.t.screen.prompts.messages.size(), boxes) << "no box is shown again";
    }
}

TEST(HistoryTest, AStepTakenAfterGoingBackAsksAgainAndReplacesWhatWasRecordedAfterIt) {
    StepBackRig rig;
    rig.t.screen.numberInput.script = {std::string("5"), std::string("6"), std::string("7")};
    rig.run({op(M::INP), op(M::INP), op(M::STP)});
    rig.step();
    rig.step();
    rig.t.workbench.historyMove(0);
    EXPECT_EQ(rig.t.workbench.historyRange(), (HistoryRange{0, 2, 0, true}));
    rig.t.workbench.btStepClick();
    EXPECT_EQ(rig.b.machine.VM_Accu, 7);
    EXPECT_EQ(rig.t.workbench.historyRange(), (HistoryRange{0, 1, 1, true}));
}

TEST(HistoryTest, TheSliderMovesOnlyAtTheSpeedSchritt) {
    StepBackRig rig;
    rig.run({op(M::INC), op(M::INC), op(M::INC), op(M::STP)});
    rig.step();
    rig.step();
    rig.t.workbench.speedClick(Speed::Direct);
    EXPECT_FALSE(rig.t.workbench.historyRange().movable);
    rig.t.workbench.historyMove(0);
    EXPECT_EQ(rig.b.machine.StepCount, 2u);
    rig.t.workbench.speedClick(Speed::Step);
    rig.t.workbench.historyMove(99);  // beyond the newest: the newest
    EXPECT_EQ(rig.b.machine.StepCount, 2u);
    rig.t.workbench.historyMove(1);
    EXPECT_EQ(rig.b.machine.VM_Accu, 1);
}

TEST(HistoryTest, BackToABreakpointFindsTheLastTimeTheRunStoodBeforeAMarkedInstruction) {
    testing::TestBench t;
    t.screen.editor.type({"MRK S", "INC", "* Kommentar", "JMP S", "STP"});
    t.workbench.btCheckClick();
    t.workbench.btRunClick();
    for (int i = 0; i < 10; ++i) {
        t.workbench.btStepClick();
    }
    t.workbench.toggleBreakpoint(1);  // INC
    t.workbench.toggleBreakpoint(2);  // a comment: never stops a run
    const MachineState& machine = t.bench.machine;
    // Lines before the steps: 0 1 2 3 0 1 2 3 0 1; the run stood before INC after 1, 5 and 9.
    for (const std::uint64_t steps : {9u, 5u, 1u}) {
        t.workbench.btBackToBreakpointClick();
        EXPECT_EQ(machine.StepCount, steps);
        EXPECT_EQ(machine.VM_IP, 1);
        EXPECT_EQ(machine.VM_Accu, static_cast<std::int32_t>(steps / 4));
    }
    t.workbench.btBackToBreakpointClick();
    EXPECT_EQ(machine.StepCount, 1u) << "no earlier stand";
    EXPECT_EQ(t.screen.prompts.notes.size(), 1u);
    t.workbench.historyMove(10);
    EXPECT_EQ(machine.VM_Accu, 3);
    EXPECT_EQ(machine.VM_IP, 2);
}

}  // namespace
}  // namespace quarzel
