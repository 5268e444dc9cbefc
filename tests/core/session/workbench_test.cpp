// The state of a fresh start, as the main window creates it; a task case's memory taken over
// into the table; the line a run executes next, as the editor is told it.
#include <gtest/gtest.h>

#include "fakes.h"
#include "temp_folder.h"

namespace quarzel {
namespace {

TEST(WorkbenchTest, FreshStartHasTheStartUpState) {
    testing::TestBench t;
    const Workbench& b = t.bench;
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
    t.bench.btRunClick();
    t.bench.btStepClick();
    t.bench.table.setValue(4, "99");
    t.bench.table.setComment(4, "alt");
    t.bench.flags.DataModified = true;
}

TEST(WorkbenchTest, TakingOverACaseReplacesTheTableAsLoadingDataDoes) {
    testing::TestBench t;
    Workbench& b = t.bench;
    runWithModifiedData(t);
    t.screen.prompts.answers = {false};  // "Daten speichern?" - No
    EXPECT_TRUE(b.takeOverData(caseTable()));
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
    Workbench& b = t.bench;
    runWithModifiedData(t);
    t.screen.prompts.answers = {true};
    t.screen.prompts.files = {folder.file("fehlt/daten.dta")};
    EXPECT_FALSE(b.takeOverData(caseTable()));
    EXPECT_EQ(t.screen.prompts.messages.size(), 1u);
    EXPECT_EQ(b.table.value(0) + b.table.value(4), "099");
    EXPECT_TRUE(b.flags.DataModified && b.machine.VM_Running);
}

TEST(WorkbenchTest, TheEditorIsToldTheLineARunExecutesNext) {
    testing::TestBench t;
    Workbench& b = t.bench;
    std::vector<int> lines{t.screen.editor.currentLine()};
    const auto press = [&](void (Workbench::*command)()) {
        (b.*command)();
        lines.push_back(t.screen.editor.currentLine());
    };
    b.machine.InstructionList = {testing::op(Mnemonic::INC), testing::op(Mnemonic::JMP, 3),
                                 testing::op(Mnemonic::STP), testing::op(Mnemonic::STP)};
    b.flags.ProgramChecked = b.flags.DataChecked = true;
    for (auto command :
         {&Workbench::btRunClick, &Workbench::btStepClick, &Workbench::btStepClick,
          &Workbench::btBackClick, &Workbench::btStepClick, &Workbench::btStepClick}) {
        press(command);
    }
    // Idle, started, two steps, one back, the same step again, STP.
    EXPECT_EQ(lines, (std::vector<int>{-1, 0, 1, 3, 1, 3, -1}));
}

}  // namespace
}  // namespace quarzel
