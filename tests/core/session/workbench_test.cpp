// The state of a fresh start, as the main window creates it.
#include <gtest/gtest.h>

#include "fakes.h"

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

}  // namespace
}  // namespace quarzel
