// The state of a fresh start, as the main window creates it; a task case's memory taken over
// into the table; the line a run executes next, as the editor is told it.
#include <gtest/gtest.h>

#include <stdexcept>

#include "fakes.h"
#include "files/program_file.h"
#include "temp_folder.h"

namespace quarzel {
namespace {

TEST(WorkbenchTest, FreshStartHasTheStartUpState) {
    testing::TestBench t;
    const WorkbenchInternals& b = t.bench;
    EXPECT_FALSE(b.flags.ProgramChecked);
    EXPECT_FALSE(b.flags.DataChecked);
    EXPECT_FALSE(b.flags.ProgramModified);
    EXPECT_FALSE(b.flags.DataModified);
    EXPECT_FALSE(b.machine.VM_Running);
    EXPECT_EQ(b.machine.RunMode, Speed::Step);
    EXPECT_EQ(b.machine.LastAccessCell, 0);
    EXPECT_TRUE(b.machine.InstructionList.empty());
    EXPECT_EQ(b.input.InputValue, 0);
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        ASSERT_EQ(b.table.text(0, row), std::to_string(row + 1));
        ASSERT_EQ(b.table.value(row), "0");
        ASSERT_EQ(b.table.comment(row), "");
    }
}

TEST(WorkbenchTest, SystemWritesToTheTableReachTheGrid) {
    testing::TestBench t;
    t.bench.table.setValue(6, "42");
    t.bench.table.setComment(511, "x");
    EXPECT_EQ(t.screen.grid.changedRows, (std::vector<int>{6, 511}));
}

// A case's starting memory: 7 in cell 1 with its comment, every other cell "0"; taken over
// into a table with modified data while a run is in progress.
DataTable caseTable() {
    DataTable start;
    start.setValue(0, "7");
    start.setComment(0, "Anzahl");
    return start;
}
void runWithModifiedData(testing::TestBench& t) {
    t.bench.machine.InstructionList = {testing::op(Mnemonic::INC), testing::op(Mnemonic::STP)};
    t.bench.flags.ProgramChecked = t.bench.flags.DataChecked = true;
    t.workbench.btRunClick();
    t.workbench.btStepClick();
    t.bench.table.setValue(4, "99");
    t.bench.table.setComment(4, "alt");
    t.bench.flags.DataModified = true;
}

TEST(WorkbenchTest, TakingOverACaseReplacesTheTableAsLoadingDataDoes) {
    testing::TestBench t;
    WorkbenchInternals& b = t.bench;
    runWithModifiedData(t);
    t.screen.prompts.answers = {false};  // "Daten speichern?" - No
    EXPECT_TRUE(t.workbench.takeOverData(caseTable()));
    EXPECT_EQ(t.screen.prompts.questions, std::vector<std::string>{"QRZL|Daten speichern?"});
    EXPECT_EQ(b.table.value(0) + b.table.comment(0) + b.table.value(4) + b.table.comment(4),
              "7Anzahl0");
    EXPECT_FALSE(b.machine.VM_Running);
    EXPECT_EQ(t.screen.runPanel.caption, "Start");
    EXPECT_FALSE(b.flags.DataChecked || b.flags.DataModified || b.runControl.canStepBack());
    EXPECT_TRUE(b.flags.ProgramChecked) << "the program is the same";
    EXPECT_EQ(b.machine.LastAccessCell, 0);
}

TEST(WorkbenchTest, ASaveThatFailsLeavesTheTableAndTheRun) {
    testing::TempFolder folder;
    testing::TestBench t;
    WorkbenchInternals& b = t.bench;
    runWithModifiedData(t);
    t.screen.prompts.answers = {true};
    t.screen.prompts.files = {folder.file("fehlt/daten.dta")};
    EXPECT_FALSE(t.workbench.takeOverData(caseTable()));
    EXPECT_EQ(t.screen.prompts.messages.size(), 1u);
    EXPECT_EQ(b.table.value(0) + b.table.value(4), "099");
    EXPECT_TRUE(b.flags.DataModified && b.machine.VM_Running);
}

TEST(WorkbenchTest, TheEditorIsToldTheLineARunExecutesNext) {
    testing::TestBench t;
    WorkbenchInternals& b = t.bench;
    std::vector<int> lines{t.screen.editor.currentLine()};
    const auto press = [&](auto command) {
        (t.workbench.*command)();
        lines.push_back(t.screen.editor.currentLine());
    };
    b.machine.InstructionList = {testing::op(Mnemonic::INC), testing::op(Mnemonic::JMP, 3),
                                 testing::op(Mnemonic::STP), testing::op(Mnemonic::STP)};
    b.flags.ProgramChecked = b.flags.DataChecked = true;
    press(&Workbench::btRunClick);
    for (auto command : {&Workbench::btStepClick, &Workbench::btStepClick, &Workbench::btBackClick,
                         &Workbench::btStepClick, &Workbench::btStepClick}) {
        press(command);
    }
    // Idle, started, two steps, one back, the same step again, STP.
    EXPECT_EQ(lines, (std::vector<int>{-1, 0, 1, 3, 1, 3, -1}));
}

}  // namespace
}  // namespace quarzel

namespace quarzel {
namespace {

using M = Mnemonic;
using testing::op;

// A checked program running at "Direkt", driven only through the facade.
struct FacadeRig {
    testing::TestBench t;
    WorkbenchInternals& b = t.bench;

    explicit FacadeRig(const std::vector<std::string>& lines) {
        t.screen.editor.type(lines);
        t.workbench.btCheckClick();
        t.workbench.btRunClick();
        t.workbench.speedClick(Speed::Direct);
    }
    // Ticks of the 25 ms timer, as long as it runs.
    void ticks(int count) {
        for (int i = 0; i < count && t.screen.runPanel.timers[2]; ++i) {
            t.workbench.timerTick(RunTimer::Direct);
        }
    }
};

TEST(WorkbenchFacadeTest, ATimedRunPausesBeforeAMarkedInstructionOnly) {
    const struct {
        const char* marked;  // the text of line 1
        bool pauses;
    } cases[] = {{"INC", true}, {"\tINC", true}, {"", false}, {"* Zähler", false}, {"\t", false}};
    for (const auto& c : cases) {
        FacadeRig rig({"CLA", c.marked, "INC", "STP"});
        rig.t.workbench.toggleBreakpoint(1);
        rig.ticks(1);
        EXPECT_EQ(rig.b.machine.VM_IP, 1) << c.marked;
        rig.ticks(1);
        EXPECT_EQ(rig.b.machine.RunMode == Speed::Step, c.pauses) << c.marked;
        EXPECT_EQ(rig.b.machine.VM_IP, c.pauses ? 1 : 2) << c.marked;
        EXPECT_TRUE(rig.b.machine.VM_Running);
        EXPECT_EQ(rig.t.screen.runPanel.timers[2], !c.pauses);
        EXPECT_TRUE(rig.t.screen.runPanel.stepEnabled || !c.pauses);
    }
}

TEST(WorkbenchFacadeTest, AMarkPausesOncePerVisitAndATimedSpeedGoesOnFromIt) {
    FacadeRig rig({"MRK L", "INC", "JMP L", "STP"});
    rig.t.workbench.toggleBreakpoint(1);
    rig.ticks(10);
    ASSERT_EQ(rig.b.machine.RunMode, Speed::Step);
    EXPECT_EQ(rig.b.machine.VM_IP, 1);
    EXPECT_EQ(rig.b.machine.VM_Accu, 0);
    rig.t.workbench.speedClick(Speed::Direct);  // looking at the marked line: it runs
    rig.ticks(10);
    EXPECT_EQ(rig.b.machine.VM_IP, 1) << "the next visit pauses again";
    EXPECT_EQ(rig.b.machine.VM_Accu, 1);
    rig.t.workbench.toggleBreakpoint(1);
    rig.t.workbench.speedClick(Speed::Direct);
    rig.ticks(7);
    EXPECT_EQ(rig.b.machine.VM_Accu, 4) << "without the mark the loop runs on";
}

TEST(WorkbenchFacadeTest, CellsAreEditableOnlyWhileNoRunIsInProgress) {
    FacadeRig rig({"STP"});
    EXPECT_FALSE(rig.t.workbench.cellEdited(1, 0, "5"));
    EXPECT_EQ(rig.b.table.value(0), "0");
    rig.t.workbench.btRunClick();  // stop
    EXPECT_FALSE(rig.t.workbench.cellEdited(0, 0, "9")) << "the number column is never written";
    EXPECT_FALSE(rig.t.workbench.cellEdited(1, 0, "0")) << "the cell's own text is no edit";
    EXPECT_TRUE(rig.b.flags.DataChecked);
    EXPECT_TRUE(rig.t.workbench.cellEdited(2, 511, "Ende"));
    EXPECT_EQ(rig.b.table.comment(511), "Ende");
    EXPECT_FALSE(rig.b.flags.DataChecked);
    EXPECT_TRUE(rig.b.flags.DataModified);
}

TEST(WorkbenchFacadeTest, ClosingAsksForWhatWasModifiedThenEndsTheRun) {
    FacadeRig rig({"MRK L", "JMP L", "STP"});
    rig.b.flags.DataModified = false;
    rig.t.screen.prompts.answers = {true};
    rig.t.screen.prompts.files = {std::string("/nicht/vorhanden/ordner/x.prg")};
    EXPECT_FALSE(rig.t.workbench.closeRequested()) << "a failed save keeps the window";
    EXPECT_TRUE(rig.b.machine.VM_Running);
    EXPECT_TRUE(rig.t.screen.runPanel.timers[2]);
    ASSERT_EQ(rig.t.screen.prompts.messages.size(), 1u);
    EXPECT_EQ(rig.t.screen.prompts.messages[0].caption, "Quarzel 3");

    rig.t.screen.prompts.answers = {false};
    EXPECT_TRUE(rig.t.workbench.closeRequested());
    EXPECT_FALSE(rig.b.machine.VM_Running);
    EXPECT_EQ(rig.t.screen.runPanel.timers, (std::array<bool, 3>{false, false, false}));
    EXPECT_TRUE(rig.b.machine.InstructionList.empty());
    EXPECT_FALSE(rig.b.flags.ProgramChecked);
    rig.t.workbench.reopened();
    EXPECT_TRUE(rig.t.screen.runPanel.timers[2]) << "shown again, the speed's timer runs";
}

TEST(WorkbenchFacadeTest, AnInternalFaultIsShownAndGoesNoFurther) {
    testing::TestBench t;
    t.workbench.guard([] { throw std::logic_error("kaputt"); });
    ASSERT_EQ(t.screen.prompts.messages.size(), 1u);
    EXPECT_EQ(t.screen.prompts.messages[0].text, "Interner Fehler: kaputt.");
    EXPECT_EQ(t.screen.prompts.messages[0].caption, "Quarzel 3");
}

// ---- what a front end asks before it lets a text in, and the fresh start on its views -----

TEST(WorkbenchDoorTest, AFreshStartIsShownWhateverTheViewsShowedBefore) {
    // The views of a page after "Ende" at "Direkt": a run was in progress on another session.
    testing::FakeScreen screen;
    screen.runPanel.caption = "Stop";
    screen.runPanel.stepEnabled = false;
    screen.runPanel.timers = {false, false, true};
    screen.runPanel.backEnabled = true;
    screen.runPanel.steps = 17;
    screen.grid.inputEnabled = false;
    screen.editor.setReadOnly(true);
    screen.registers.texts[Register::SP] = "509";
    screen.registers.texts[Register::Accu] = "4";
    Workbench fresh(screen.views());
    fresh.showFreshStart();
    EXPECT_EQ(screen.runPanel.caption, "Start");
    EXPECT_TRUE(screen.runPanel.stepEnabled) << "Schritt works for the next run";
    EXPECT_EQ(screen.runPanel.timers, (std::array<bool, 3>{false, false, false}));
    EXPECT_FALSE(screen.runPanel.backEnabled);
    EXPECT_EQ(screen.runPanel.steps, 0u);
    EXPECT_TRUE(screen.grid.inputEnabled);
    EXPECT_FALSE(screen.editor.readOnly());
    EXPECT_EQ(screen.registers.texts[Register::SP], "512");
    EXPECT_EQ(screen.registers.texts[Register::Accu], "0");
    EXPECT_EQ(screen.grid.changedRows.size(), std::size_t{DataTable::kRowCount});
    EXPECT_TRUE(screen.prompts.messages.empty());
}

TEST(WorkbenchDoorTest, AProgramTextOverTheEditorsLimitsIsRefused) {
    struct Row {
        std::size_t bytes;
        std::size_t lineBreaks;
        bool accepted;
    };
    const Row rows[] = {
        {0, 0, true},
        {kMaxProgramFileBytes, kMaxProgramLineBreaks, true},
        {kMaxProgramFileBytes + 1, 0, false},
        {2 * kMaxProgramLineBreaks + 2, kMaxProgramLineBreaks + 1, false},
        {std::size_t{50} * 1024 * 1024, 3, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.bytes) + " bytes, " + std::to_string(row.lineBreaks));
        testing::TestBench t;
        EXPECT_EQ(t.workbench.acceptProgramSize(row.bytes, row.lineBreaks), row.accepted);
        if (row.accepted) {
            EXPECT_TRUE(t.screen.prompts.messages.empty());
        } else {
            ASSERT_EQ(t.screen.prompts.messages.size(), 1u);
            EXPECT_EQ(t.screen.prompts.messages[0].caption, "Quarzel 3");
            EXPECT_EQ(t.screen.prompts.messages[0].text, "Text überschreitet Memo-Kapazität.");
        }
    }
}

TEST(WorkbenchDoorTest, CharactersTheFilesCannotHoldAreRefusedByName) {
    struct Row {
        const char* typed;    // UTF-8
        const char* refused;  // the character the note names, or nothing
    };
    const Row rows[] = {
        {"LAD 5 * Zähler: 3 € für ½ Maß", nullptr},
        {"\t* «Schleife» – “Ende”", nullptr},
        {"", nullptr},
        {"Ergebnis: ğ", "ğ"},
        {"ł", "ł"},
        {"x → y", "→"},
        {"Daumen 👍 hoch", "👍"},
        {"kaputt \xff", "\xff"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        testing::TestBench t;
        EXPECT_EQ(t.workbench.acceptTypedText(row.typed), row.refused == nullptr);
        if (row.refused == nullptr) {
            EXPECT_TRUE(t.screen.prompts.notes.empty());
        } else {
            ASSERT_EQ(t.screen.prompts.notes.size(), 1u);
            EXPECT_NE(t.screen.prompts.notes[0].find(std::string("„") + row.refused + "“"),
                      std::string::npos)
                << t.screen.prompts.notes[0];
        }
        EXPECT_TRUE(t.screen.prompts.messages.empty()) << "a note, not a box";
    }
}

TEST(WorkbenchDoorTest, UnsavedWorkIsWhatASaveWouldBeOfferedFor) {
    testing::TestBench t;
    EXPECT_FALSE(t.workbench.hasUnsavedWork());
    t.screen.editor.type({"STP"});
    EXPECT_TRUE(t.workbench.hasUnsavedWork());
    t.bench.flags.ProgramModified = false;
    EXPECT_TRUE(t.workbench.cellEdited(1, 3, "7"));
    EXPECT_TRUE(t.workbench.hasUnsavedWork());
}

TEST(WorkbenchDoorTest, TypingInACellDuringARunChangesNoFlag) {
    testing::TestBench t;
    t.bench.machine.InstructionList = {testing::op(Mnemonic::STP)};
    t.bench.flags.ProgramChecked = t.bench.flags.DataChecked = true;
    t.workbench.btRunClick();
    ASSERT_TRUE(t.bench.machine.VM_Running);
    t.workbench.cellTyped(1, 0, "5");
    EXPECT_TRUE(t.bench.flags.DataChecked);
    EXPECT_FALSE(t.bench.flags.DataModified);
}

}  // namespace
}  // namespace quarzel
