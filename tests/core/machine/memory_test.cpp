// The machine's memory access: reading and writing the value column of the data table with its
// side effects in their order, and the stack at the top end of the same cells.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "common/number_text.h"
#include "common/system_error.h"
#include "common/win1252.h"
#include "fakes.h"
#include "machine/instruction_step.h"
#include "machine/memory.h"
#include "machine/runtime_fault.h"

namespace quarzel {
namespace {

using testing::EventLog;

// What the machine state looks like at the moment a view is called, so that a test can tell
// "clear, then scroll, then record, then repaint" from any other order.
std::string snapshot(const MachineState& m, const DataTable& t, const StateFlags& f, int row) {
    return "cell=" + toUtf8(t.value(row)) + " last=" + std::to_string(m.LastAccessCell) +
           (m.LastAccessWrite ? "w" : "r") + " modified=" + (f.DataModified ? "1" : "0");
}

class SnoopGrid : public testing::FakeGrid {
  public:
    SnoopGrid(EventLog& log, const WorkbenchInternals& b) : FakeGrid(log), m_log(log), m_bench(b) {}
    void showRowAtTop(int row) override {
        m_log.push_back("at scroll: " +
                        snapshot(m_bench.machine, m_bench.table, m_bench.flags, row));
        FakeGrid::showRowAtTop(row);
    }

  private:
    EventLog& m_log;
    const WorkbenchInternals& m_bench;
};

class SnoopPicture : public testing::FakePicture {
  public:
    SnoopPicture(EventLog& log, const WorkbenchInternals& b)
        : FakePicture(log), m_log(log), m_bench(b) {}
    void repaintNow() override {
        const int row = m_bench.machine.LastAccessCell - 1;
        m_log.push_back("at repaint: " +
                        snapshot(m_bench.machine, m_bench.table, m_bench.flags, row < 0 ? 0 : row));
        FakePicture::repaintNow();
    }

  private:
    EventLog& m_log;
    const WorkbenchInternals& m_bench;
};

// The bench's own state, read and written by a Memory whose views also report what the state
// was when they were called.
struct MemoryBench : testing::TestBench {
    EventLog& log = screen.log;
    SnoopGrid grid{log, bench};
    SnoopPicture picture{log, bench};
    Memory memory{bench.machine, bench.table, bench.flags,        bench.input,
                  grid,          picture,     screen.numberInput, screen.prompts};

    void push(std::int32_t value) { pushValue(bench.machine, memory, value); }
    std::int32_t pop() { return popValue(bench.machine, memory); }

    MemoryBench() {
        bench.machine.VM_SP = kEmptyStack;  // as VM_Start leaves it
        bench.machine.LastAccessCell = 9;
        bench.machine.LastAccessWrite = true;
    }
    void setCell(int cell, const std::string& utf8) {
        bench.table.setValue(cell - 1, fromUtf8(utf8));
        log.clear();
    }
    std::string cell(int cell) const { return toUtf8(bench.table.value(cell - 1)); }
};

struct ReadCase {
    const char* text;
    std::int32_t value;
};

class VmGetData : public ::testing::TestWithParam<ReadCase> {};

TEST_P(VmGetData, ConvertsTheCellTextAndKeepsItUnlessAskedToClear) {
    const ReadCase& c = GetParam();
    for (const bool clear : {false, true}) {
        MemoryBench m;
        m.setCell(5, c.text);
        EXPECT_EQ(m.memory.VM_GetData(5, clear), c.value);
        EXPECT_EQ(m.cell(5), clear ? "0" : c.text);
        EXPECT_EQ(m.bench.machine.LastAccessCell, 5);
        EXPECT_FALSE(m.bench.machine.LastAccessWrite);
        EXPECT_FALSE(m.bench.flags.DataModified) << "reading, even clearing, is no modification";
    }
}

INSTANTIATE_TEST_SUITE_P(CellTexts, VmGetData,
                         ::testing::Values(ReadCase{"0", 0}, ReadCase{"007", 7}, ReadCase{"-0", 0},
                                           ReadCase{"-17", -17}, ReadCase{"2147483647", 2147483647},
                                           ReadCase{"-2147483648",
                                                    std::numeric_limits<std::int32_t>::min()},
                                           ReadCase{"$1F", 31}));

TEST(MemoryTest, GetDataHasItsSideEffectsInOrder) {
    MemoryBench m;
    m.setCell(5, "-42");
    EXPECT_EQ(m.memory.VM_GetData(5, true), -42);
    EXPECT_EQ(m.log, (EventLog{"at scroll: cell=0 last=9w modified=0", "grid.top 4",
                               "at repaint: cell=0 last=5r modified=0", "picture.repaint"}));
}

TEST(MemoryTest, SetDataHasItsSideEffectsInOrder) {
    MemoryBench m;
    m.setCell(5, "007");
    m.memory.VM_SetData(5, -7);
    EXPECT_EQ(m.log, (EventLog{"at scroll: cell=-7 last=9w modified=0", "grid.top 4",
                               "at repaint: cell=-7 last=5w modified=1", "picture.repaint"}));
}

TEST(MemoryTest, AReadThatDoesNotConvertHasNoSideEffectAtAll) {
    for (const char* text : {"", "-", "99999999999", "2147483648", "abc", "5 "}) {
        for (const bool clear : {false, true}) {
            MemoryBench m;
            m.setCell(512, text);
            m.bench.table.setComment(511, "Zeiger");
            m.screen.grid.changedRows.clear();
            try {
                m.memory.VM_GetData(512, clear);
                ADD_FAILURE() << '"' << text << "\" converted";
            } catch (const SystemError& error) {
                EXPECT_EQ(toUtf8(error.text()),
                          std::string("'") + text + "' ist kein gültiger Integerwert");
            }
            EXPECT_EQ(m.cell(512), text) << "the cell must not be cleared";
            EXPECT_TRUE(m.log.empty()) << "no scroll, no repaint for \"" << text << '"';
            EXPECT_TRUE(m.screen.grid.changedRows.empty());
            EXPECT_EQ(m.bench.machine.LastAccessCell, 9);
            EXPECT_TRUE(m.bench.machine.LastAccessWrite);
        }
    }
}

TEST(MemoryTest, SetDataStoresPlainDecimalAndMarksTheDataModifiedButStillChecked) {
    const struct {
        std::int32_t value;
        const char* text;
    } cases[] = {{7, "7"},
                 {0, "0"},
                 {-7, "-7"},
                 {2147483647, "2147483647"},
                 {std::numeric_limits<std::int32_t>::min(), "-2147483648"}};
    for (const auto& c : cases) {
        MemoryBench m;
        m.setCell(1, "007");
        m.bench.table.setComment(0, fromUtf8("Zähler"));
        m.bench.flags.DataChecked = true;
        m.memory.VM_SetData(1, c.value);
        EXPECT_EQ(m.cell(1), c.text);
        EXPECT_EQ(toUtf8(m.bench.table.comment(0)), "Zähler");
        EXPECT_TRUE(m.bench.flags.DataModified);
        EXPECT_TRUE(m.bench.flags.DataChecked) << "machine writes leave the data checked";
        EXPECT_EQ(m.bench.machine.LastAccessCell, 1);
        EXPECT_TRUE(m.bench.machine.LastAccessWrite);
        EXPECT_EQ(m.grid.topRow, 0);
        EXPECT_EQ(m.screen.grid.changedRows.back(), 0) << "the bench grid hears of the write";
    }
}

TEST(MemoryTest, ReadsAndWritesAtBothEndsOfMemoryUseTheirOwnRow) {
    for (const std::int32_t cell : {1, 2, 511, 512}) {
        MemoryBench m;
        m.memory.VM_SetData(cell, cell * 10);
        EXPECT_EQ(m.cell(cell), std::to_string(cell * 10));
        EXPECT_EQ(m.grid.topRow, cell - 1);
        EXPECT_EQ(m.memory.VM_GetData(cell, false), cell * 10);
    }
}

std::string faultOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeFault& fault) {
        return fault.text();
    }
    return "(no fault)";
}

TEST(MemoryTest, FiveHundredTwelvePushesFillTheMemoryDownwardAndTheNextOneFails) {
    MemoryBench m;
    for (std::int32_t i = 1; i <= 512; ++i) {
        m.push(1000 + i);
        ASSERT_EQ(m.bench.machine.VM_SP, 512 - i);
    }
    for (std::int32_t cell = 1; cell <= 512; ++cell) {
        ASSERT_EQ(m.cell(cell), std::to_string(1000 + 513 - cell)) << "cell " << cell;
    }
    EXPECT_EQ(m.bench.machine.LastAccessCell, 1);
    EXPECT_TRUE(m.bench.machine.LastAccessWrite);

    m.log.clear();
    m.bench.flags.DataModified = false;
    EXPECT_EQ(faultOf([&] { m.push(-1); }), "Stack-Underflow");
    EXPECT_EQ(m.bench.machine.VM_SP, 0);
    EXPECT_EQ(m.cell(1), "1512");
    EXPECT_TRUE(m.log.empty());
    EXPECT_FALSE(m.bench.flags.DataModified);
    EXPECT_EQ(m.bench.machine.LastAccessCell, 1);
}

TEST(MemoryTest, PopsReturnInReverseOrderLeaveZerosAndStopAtTheEmptyStack) {
    MemoryBench m;
    for (std::int32_t i = 1; i <= 512; ++i) {
        m.push(-i);
    }
    m.bench.flags.DataModified = false;
    for (std::int32_t i = 512; i >= 1; --i) {
        ASSERT_EQ(m.pop(), -i);
        ASSERT_EQ(m.bench.machine.VM_SP, 513 - i);
        ASSERT_EQ(m.cell(513 - i), "0");
        ASSERT_EQ(m.bench.machine.LastAccessCell, 513 - i);
        ASSERT_FALSE(m.bench.machine.LastAccessWrite) << "a pop is a read";
    }
    EXPECT_FALSE(m.bench.flags.DataModified) << "the clearing pop is no modification";

    m.log.clear();
    EXPECT_EQ(faultOf([&] { m.pop(); }), "Stack-Overflow");
    EXPECT_EQ(m.bench.machine.VM_SP, 512);
    EXPECT_TRUE(m.log.empty());
    EXPECT_EQ(m.bench.machine.LastAccessCell, 512);
}

TEST(MemoryTest, ThePoppedCellStaysZeroAndTheOverwrittenDataIsLost) {
    MemoryBench m;
    m.setCell(512, "77");
    m.setCell(511, "88");
    m.push(5);
    EXPECT_EQ(m.cell(512), "5");
    EXPECT_EQ(m.cell(511), "88") << "one push writes one cell";
    EXPECT_EQ(m.pop(), 5);
    EXPECT_EQ(m.cell(512), "0");
    EXPECT_EQ(m.bench.machine.VM_SP, 512);
    EXPECT_EQ(faultOf([&] { m.pop(); }), "Stack-Overflow");
    EXPECT_EQ(m.cell(512), "0");
}

}  // namespace
}  // namespace quarzel
