// The memory table's editing rules and the four state flags with their two change handlers.
#include <gtest/gtest.h>

#include <string>

#include "common/system_error.h"
#include "common/win1252.h"
#include "fakes.h"
#include "model/data_table.h"
#include "model/state_flags.h"

namespace quarzel {
namespace {

StateFlags flagsFrom(unsigned bits) {
    StateFlags f;
    f.ProgramChecked = bits & 1u;
    f.DataChecked = bits & 2u;
    f.ProgramModified = bits & 4u;
    f.DataModified = bits & 8u;
    return f;
}

TEST(StateFlagsTest, AProgramChangeMakesTheProgramModifiedAndUncheckedAndLeavesTheData) {
    for (unsigned bits = 0; bits < 16; ++bits) {
        StateFlags f = flagsFrom(bits);
        const StateFlags before = f;
        f.meProgramChange();
        EXPECT_TRUE(f.ProgramModified) << bits;
        EXPECT_FALSE(f.ProgramChecked) << bits;
        EXPECT_EQ(f.DataChecked, before.DataChecked) << bits;
        EXPECT_EQ(f.DataModified, before.DataModified) << bits;
    }
}

TEST(StateFlagsTest, AUserEditOfAnyCellMakesTheDataModifiedAndUncheckedAndLeavesTheProgram) {
    const struct {
        int column;
        int row;
        const char* text;
    } edits[] = {{1, 0, "5"}, {1, 511, ""}, {2, 3, "Zähler"}, {2, 0, ""}, {1, 7, "abc"}};
    for (unsigned bits = 0; bits < 16; ++bits) {
        for (const auto& e : edits) {
            StateFlags f = flagsFrom(bits);
            const StateFlags before = f;
            f.sgDataSetEditText(e.column, e.row, fromUtf8(e.text));
            EXPECT_TRUE(f.DataModified) << bits << " " << e.column << "/" << e.row;
            EXPECT_FALSE(f.DataChecked) << bits << " " << e.column << "/" << e.row;
            EXPECT_EQ(f.ProgramChecked, before.ProgramChecked);
            EXPECT_EQ(f.ProgramModified, before.ProgramModified);
        }
    }
}

TEST(DataTableTest, SystemWritesChangeOnlyTheirCellAndNeverTheFlags) {
    testing::TestBench t;
    t.bench.table.setValue(6, "42");
    t.bench.table.setComment(6, fromUtf8("Zähler"));
    EXPECT_EQ(t.bench.table.text(0, 6), "7");
    EXPECT_EQ(t.bench.table.value(6), "42");
    EXPECT_EQ(toUtf8(t.bench.table.comment(6)), "Zähler");
    EXPECT_EQ(t.bench.table.value(5), "0");
    EXPECT_EQ(t.bench.table.value(7), "0");
    EXPECT_FALSE(t.bench.flags.DataModified) << "only the user's edits and the machine's writes";
    EXPECT_FALSE(t.bench.flags.DataChecked);
}

TEST(DataTableTest, PositionsOutsideTheTableRaiseTheListIndexError) {
    const struct {
        int column;
        int row;
        const char* message;
    } cases[] = {
        {1, -1, "Listenindex überschreitet das Maximum (-1)"},
        {1, 512, "Listenindex überschreitet das Maximum (512)"},
        {2, 1000, "Listenindex überschreitet das Maximum (1000)"},
        {3, 0, "Listenindex überschreitet das Maximum (3)"},
        {-1, 0, "Listenindex überschreitet das Maximum (-1)"},
    };
    DataTable table;
    for (const auto& c : cases) {
        try {
            (void)table.text(c.column, c.row);
            ADD_FAILURE() << "read " << c.column << "/" << c.row;
        } catch (const SystemError& error) {
            EXPECT_EQ(toUtf8(error.text()), c.message);
        }
        try {
            table.setText(c.column, c.row, "1");
            ADD_FAILURE() << "wrote " << c.column << "/" << c.row;
        } catch (const SystemError& error) {
            EXPECT_EQ(toUtf8(error.text()), c.message);
        }
    }
}

TEST(DataTableTest, TheNumberColumnCannotBeWritten) {
    testing::TestBench t;
    EXPECT_THROW(t.bench.table.setText(0, 4, "99"), SystemError);
    EXPECT_EQ(t.bench.table.text(0, 4), "5");
    EXPECT_TRUE(t.screen.grid.changedRows.empty());
}

}  // namespace
}  // namespace quarzel

namespace quarzel {
namespace {

TEST(DataTableTest, TypedTextsAreCutAtTheLongestTextACellTakes) {
    DataTable table;
    const std::string longText(DataTable::kMaxTextLength + 40, '7');
    table.setValue(3, longText);
    table.setComment(3, longText);
    EXPECT_EQ(table.value(3), longText.substr(0, DataTable::kMaxTextLength));
    EXPECT_EQ(table.comment(3), longText.substr(0, DataTable::kMaxTextLength));
}

TEST(DataTableTest, AWrittenNumberReplacesTheTypedTextByItsDecimalForm) {
    DataTable table;
    table.setValue(0, "007");
    std::int32_t number = 0;
    ASSERT_TRUE(table.readNumber(0, number));
    EXPECT_EQ(number, 7);
    EXPECT_EQ(table.value(0), "007");
    table.writeNumber(0, -12);
    EXPECT_EQ(table.value(0), "-12");
    table.setValue(1, "abc");
    EXPECT_FALSE(table.readNumber(1, number));
}

}  // namespace
}  // namespace quarzel
