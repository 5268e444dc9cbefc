// Run control on a workbench of fakes: the presses of "Start", "Schritt" and "Prüfen", the
// speeds, the timers, and what the run panel, the editor and the table show in each state.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "fakes.h"

namespace quarzel {
namespace {

using M = Mnemonic;

using testing::op;

class RunControlTest : public ::testing::Test {
  protected:
    testing::TestBench t;
    MachineState& m = t.bench.machine;
    StateFlags& flags = t.bench.flags;
    RunControl& rc = t.bench.runControl;
    testing::EventLog& log = t.screen.log;

    // A program that the checker would have produced, with both checks passed.
    void ready(Instructions program) {
        m.InstructionList = std::move(program);
        flags.ProgramChecked = true;
        flags.DataChecked = true;
    }
    void press(void (RunControl::*handler)()) {
        RunControl* target = &rc;
        t.handle([target, handler] { (target->*handler)(); });
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& msg : t.screen.prompts.messages) {
            out.push_back(msg.caption + "|" + msg.text);
        }
        return out;
    }
    void typeProgram(const std::vector<std::string>& lines) {
        t.screen.editor.type(lines);
        log.clear();
    }
    void expectIdleScreen() {
        EXPECT_FALSE(m.VM_Running);
        EXPECT_EQ(t.screen.runPanel.caption, "Start");
        EXPECT_FALSE(t.screen.editor.readOnly());
        EXPECT_TRUE(t.screen.grid.inputEnabled);
    }
};

// ---- btRunClick with the flags set directly ---------------------------------------------

TEST_F(RunControlTest, ReadyPressStartsTheRunWithResetRegisters) {
    ready({op(M::INC), op(M::STP)});
    m.VM_Accu = m.VM_Index = m.VM_Window = m.VM_IP = 9;
    m.VM_SP = 3;
    m.LastAccessCell = 17;
    t.bench.table.setValue(0, "55");
    press(&RunControl::btRunClick);
    EXPECT_TRUE(m.VM_Running);
    EXPECT_EQ(m.VM_Accu, 0);
    EXPECT_EQ(m.VM_Index, 0);
    EXPECT_EQ(m.VM_Window, 0);
    EXPECT_EQ(m.VM_IP, 0);
    EXPECT_EQ(m.VM_SP, 512);
    EXPECT_EQ(m.LastAccessCell, 0);
    EXPECT_EQ(t.bench.table.value(0), "55") << "memory is not reset";
    const testing::EventLog expected = {
        "register.Accu 0",   "register.Index 0", "register.IP 0",      "register.SP 512",
        "register.Window 0", "editor.scroll 0",  "editor.readOnly on", "grid.input off",
        "run.caption Stop",  "picture.repaint",
    };
    EXPECT_EQ(log, expected);
    EXPECT_TRUE(messages().empty());
}

TEST_F(RunControlTest, PressDuringARunStopsIt) {
    ready({op(M::INC), op(M::JMP, 0), op(M::STP)});
    press(&RunControl::btRunClick);
    press(&RunControl::btStepClick);
    press(&RunControl::btStepClick);
    log.clear();
    press(&RunControl::btRunClick);
    expectIdleScreen();
    EXPECT_EQ(m.VM_IP, 0) << "registers stay as they were";
    EXPECT_EQ(m.VM_Accu, 1);
    EXPECT_EQ(log.front(), "editor.readOnly off");
    EXPECT_EQ(log.back(), "run.caption Start");
    press(&RunControl::btStepClick);
    EXPECT_EQ(m.VM_Accu, 1) << "a stray step after the stop does nothing";
}

TEST_F(RunControlTest, StartNeedsBothFlags) {
    for (const auto& [program, data] : {std::pair{false, true}, {true, false}, {false, false}}) {
        testing::TestBench fresh;
        fresh.bench.flags.ProgramChecked = program;
        fresh.bench.flags.DataChecked = data;
        fresh.bench.machine.VM_IP = 4;
        fresh.bench.runControl.VM_Start();
        EXPECT_FALSE(fresh.bench.machine.VM_Running);
        EXPECT_EQ(fresh.bench.machine.VM_IP, 4);
        EXPECT_TRUE(fresh.screen.log.empty());
    }
}

TEST_F(RunControlTest, StopIsHarmlessWithoutARun) {
    m.VM_Accu = 12;
    m.VM_IP = 3;
    rc.VM_Stop();
    rc.VM_Stop();
    expectIdleScreen();
    EXPECT_EQ(m.VM_Accu, 12);
    EXPECT_EQ(m.VM_IP, 3);
    EXPECT_TRUE(messages().empty());
}

TEST_F(RunControlTest, FailedDataCheckOnThePressStartsNothing) {
    flags.ProgramChecked = true;
    t.bench.table.setValue(2, "abc");
    press(&RunControl::btRunClick);
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"Hinweis|Daten werden geprüft",
                                        "Datenfehler|Fehler in Zeile 3: abc ist keine Zahl!"}));
    EXPECT_EQ(t.screen.prompts.messages.front().icon, MessageIcon::Information);
    EXPECT_FALSE(flags.DataChecked);
    EXPECT_TRUE(flags.ProgramChecked);
    expectIdleScreen();
    // The next press repeats the note and the check.
    press(&RunControl::btRunClick);
    EXPECT_EQ(messages().size(), 4u);
    EXPECT_EQ(messages()[2], "Hinweis|Daten werden geprüft");
}

TEST_F(RunControlTest, EditingACellAfterTheChecksRechecksOnlyTheData) {
    ready({op(M::STP)});
    flags.sgDataSetEditText(1, 4, "12");
    press(&RunControl::btRunClick);
    EXPECT_EQ(messages(), std::vector<std::string>{"Hinweis|Daten werden geprüft"});
    EXPECT_TRUE(flags.DataChecked);
    EXPECT_FALSE(m.VM_Running) << "the press that checks does not start";
    press(&RunControl::btRunClick);
    EXPECT_TRUE(m.VM_Running);
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(RunControlTest, SecondRunResetsRegistersButKeepsMemory) {
    // LAD 1; INC; STO 1; PUS; STP
    ready({op(M::LAD, 1), op(M::INC), op(M::STO, 1), op(M::PUS), op(M::STP)});
    for (int run = 1; run <= 2; ++run) {
        press(&RunControl::btRunClick);
        EXPECT_EQ(t.screen.registers.texts[Register::SP], "512");
        EXPECT_EQ(t.screen.registers.texts[Register::Accu], "0");
        for (int guard = 0; guard < 10 && m.VM_Running; ++guard) {
            press(&RunControl::btStepClick);
        }
        EXPECT_FALSE(m.VM_Running);
        EXPECT_EQ(t.bench.table.value(0), std::to_string(run));
        EXPECT_EQ(m.VM_SP, 511);
        EXPECT_EQ(m.VM_IP, 4);
        EXPECT_EQ(t.screen.registers.texts[Register::Accu], std::to_string(run));
    }
    EXPECT_TRUE(flags.DataChecked) << "the machine's own writes keep the data checked";
    EXPECT_TRUE(flags.DataModified);
}

TEST_F(RunControlTest, StopInstructionEndsInReadyWithTheFinalRegisters) {
    ready({op(M::INC), op(M::OUT), op(M::STP)});
    press(&RunControl::btRunClick);
    for (int i = 0; i < 3; ++i) {
        press(&RunControl::btStepClick);
    }
    expectIdleScreen();
    EXPECT_EQ(t.screen.registers.texts[Register::Window], "1");
    EXPECT_EQ(t.screen.registers.texts[Register::IP], "2");
    log.clear();
    press(&RunControl::btRunClick);
    EXPECT_TRUE(m.VM_Running) << "Ready: one press starts again";
}

TEST_F(RunControlTest, RunTimeErrorEndsTheRunBeforeItsBox) {
    ready({op(M::POP), op(M::STP)});
    press(&RunControl::btRunClick);
    log.clear();
    press(&RunControl::btStepClick);
    const testing::EventLog expected = {
        "editor.readOnly off",
        "grid.input on",
        "run.caption Start",
        "message Laufzeitfehler|Stack-Overflow",
    };
    EXPECT_EQ(log, expected);
    expectIdleScreen();
}

// ---- steps and ticks ---------------------------------------------------------------------

TEST_F(RunControlTest, StrayStepsAndTicksDoNothing) {
    ready({op(M::INC), op(M::STP)});
    for (auto handler : {&RunControl::btStepClick, &RunControl::tSlowTimer, &RunControl::tFastTimer,
                         &RunControl::tDirectTimer}) {
        press(handler);
    }
    EXPECT_EQ(m.VM_IP, 0);
    EXPECT_EQ(m.VM_Accu, 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(RunControlTest, EveryPressOrTickIsExactlyOneInstruction) {
    ready({op(M::INC), op(M::INC), op(M::INC), op(M::INC), op(M::INC), op(M::STP)});
    press(&RunControl::btRunClick);
    std::int32_t expected = 0;
    for (auto handler : {&RunControl::btStepClick, &RunControl::tSlowTimer, &RunControl::tFastTimer,
                         &RunControl::tDirectTimer}) {
        press(handler);
        EXPECT_EQ(m.VM_Accu, ++expected);
        EXPECT_EQ(m.VM_IP, expected);
    }
}

// ---- speeds ------------------------------------------------------------------------------

TEST_F(RunControlTest, EachModeHasOneTimerAndStepConfiguration) {
    struct Row {
        void (RunControl::*click)();
        Speed speed;
        std::array<bool, 3> timers;  // Slow, Fast, Direct
        bool step;
    };
    const Row rows[] = {
        {&RunControl::rbSlowClick, Speed::Slow, {true, false, false}, false},
        {&RunControl::rbFastClick, Speed::Fast, {false, true, false}, false},
        {&RunControl::rbDirectClick, Speed::Direct, {false, false, true}, false},
        {&RunControl::rbStepClick, Speed::Step, {false, false, false}, true},
        {&RunControl::rbDirectClick, Speed::Direct, {false, false, true}, false},
        {&RunControl::rbSlowClick, Speed::Slow, {true, false, false}, false},
    };
    for (const Row& row : rows) {
        press(row.click);
        EXPECT_EQ(m.RunMode, row.speed);
        EXPECT_EQ(t.screen.runPanel.timers, row.timers);
        EXPECT_EQ(t.screen.runPanel.stepEnabled, row.step);
    }
}

TEST_F(RunControlTest, ChangeRunModeTakesTheNumberAndIgnoresOthers) {
    rc.VM_ChangeRunMode(2);
    EXPECT_EQ(m.RunMode, Speed::Fast);
    const int restarts = t.screen.runPanel.timerRestarts;
    log.clear();
    for (const std::int32_t bad : {-1, 4, 99, INT32_MIN}) {
        rc.VM_ChangeRunMode(bad);
    }
    EXPECT_EQ(m.RunMode, Speed::Fast);
    EXPECT_EQ(t.screen.runPanel.timers, (std::array<bool, 3>{false, true, false}));
    EXPECT_EQ(t.screen.runPanel.timerRestarts, restarts);
    EXPECT_TRUE(log.empty());
    rc.VM_ChangeRunMode(2);
    EXPECT_EQ(t.screen.runPanel.timerRestarts, restarts) << "a running timer keeps its interval";
}

TEST_F(RunControlTest, ModeChangesDuringARunKeepTheRun) {
    ready({op(M::INC), op(M::INC), op(M::INC), op(M::STP)});
    press(&RunControl::rbSlowClick);
    press(&RunControl::btRunClick);
    press(&RunControl::tSlowTimer);
    press(&RunControl::rbStepClick);
    EXPECT_TRUE(m.VM_Running) << "switching to Schritt does not end the run";
    EXPECT_TRUE(t.screen.runPanel.stepEnabled);
    press(&RunControl::btStepClick);
    press(&RunControl::rbFastClick);
    EXPECT_FALSE(t.screen.runPanel.stepEnabled);
    press(&RunControl::tFastTimer);
    EXPECT_EQ(m.VM_Accu, 3);
    EXPECT_EQ(t.screen.runPanel.caption, "Stop");
}

// ---- with the program checker ------------------------------------------------------------

TEST_F(RunControlTest, ThreePressesFromStartUp) {
    typeProgram({"LAD 1", "STP"});
    press(&RunControl::btRunClick);
    EXPECT_EQ(messages(), std::vector<std::string>{"Hinweis|Programm wird geprüft"});
    EXPECT_TRUE(flags.ProgramChecked);
    EXPECT_FALSE(flags.DataChecked);
    EXPECT_FALSE(m.VM_Running);
    press(&RunControl::btRunClick);
    EXPECT_EQ(messages().back(), "Hinweis|Daten werden geprüft");
    EXPECT_TRUE(flags.DataChecked);
    EXPECT_FALSE(m.VM_Running);
    press(&RunControl::btRunClick);
    EXPECT_TRUE(m.VM_Running);
    EXPECT_EQ(t.screen.runPanel.caption, "Stop");
    EXPECT_EQ(messages().size(), 2u);
}

TEST_F(RunControlTest, FailedProgramCheckOnThePressLeavesDataCheckedAlone) {
    typeProgram({"FOO", "STP"});
    flags.DataChecked = false;
    press(&RunControl::btRunClick);
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "Hinweis|Programm wird geprüft",
                              "Programmfehler|Fehler in Zeile 1: FOO ist kein gültiger Befehl"}));
    EXPECT_FALSE(flags.ProgramChecked);
    EXPECT_FALSE(flags.DataChecked) << "the data check waits for a later press";
    press(&RunControl::btRunClick);
    EXPECT_EQ(messages().at(2), "Hinweis|Programm wird geprüft") << "the check repeats";
    EXPECT_FALSE(m.VM_Running);
}

TEST_F(RunControlTest, EditingTheProgramAfterTheChecksRechecksIt) {
    typeProgram({"STP"});
    press(&RunControl::btCheckClick);
    ASSERT_TRUE(flags.ProgramChecked && flags.DataChecked);
    typeProgram({"INC", "STP"});
    EXPECT_FALSE(flags.ProgramChecked);
    press(&RunControl::btRunClick);
    EXPECT_EQ(messages(), std::vector<std::string>{"Hinweis|Programm wird geprüft"});
    EXPECT_FALSE(m.VM_Running);
    EXPECT_EQ(m.InstructionList.size(), 2u);
}

TEST_F(RunControlTest, CheckButtonRunsBothChecksSilentlyThenOnePressStarts) {
    typeProgram({"LAD 1", "STP"});
    press(&RunControl::btCheckClick);
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(flags.ProgramChecked);
    EXPECT_TRUE(flags.DataChecked);
    press(&RunControl::btRunClick);
    EXPECT_TRUE(m.VM_Running);
    EXPECT_TRUE(messages().empty());
}

TEST_F(RunControlTest, CheckButtonRunsTheDataCheckAfterAFailedProgramCheck) {
    typeProgram({"STP 1", "JMP NIRGENDS"});
    t.bench.table.setValue(6, "1x");
    flags.ProgramChecked = flags.DataChecked = true;
    press(&RunControl::btCheckClick);
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "Programmfehler|Fehler in Zeile 2: Ziel NIRGENDS ist nicht vorhanden",
                              "Datenfehler|Fehler in Zeile 7: 1x ist keine Zahl!"}));
    EXPECT_FALSE(flags.ProgramChecked);
    EXPECT_FALSE(flags.DataChecked);
}

TEST_F(RunControlTest, ConversionErrorOfTheProgramCheckEndsTheWholeCheckAction) {
    typeProgram({"LAD 5X", "STP"});
    t.bench.table.setValue(0, "bad");
    for (const bool before : {false, true}) {
        flags.ProgramChecked = flags.DataChecked = before;
        t.screen.prompts.messages.clear();
        press(&RunControl::btCheckClick);
        EXPECT_EQ(messages(),
                  std::vector<std::string>{"Quarzel 3|'5X' ist kein gültiger Integerwert."});
        EXPECT_EQ(flags.ProgramChecked, before);
        EXPECT_EQ(flags.DataChecked, before) << "the data check was skipped";
    }
}

TEST_F(RunControlTest, CheckDuringARunRebuildsTheListAndTheRunGoesOn) {
    typeProgram({"INC", "INC", "STP"});
    press(&RunControl::btCheckClick);
    press(&RunControl::btRunClick);
    press(&RunControl::btStepClick);
    press(&RunControl::btCheckClick);
    EXPECT_TRUE(m.VM_Running);
    EXPECT_EQ(m.InstructionList.size(), 3u);
    press(&RunControl::btStepClick);
    press(&RunControl::btStepClick);
    EXPECT_EQ(m.VM_Accu, 2);
    EXPECT_FALSE(m.VM_Running);
    EXPECT_TRUE(messages().empty());
}

}  // namespace
}  // namespace quarzel
