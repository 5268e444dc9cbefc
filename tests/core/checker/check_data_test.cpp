// The data check before a run: every value an optional leading "-" and digits (or empty); the
// first bad row is reported in the "Datenfehler" box and nothing else happens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checker/check_data.h"
#include "common/win1252.h"
#include "fakes.h"

namespace quarzel {
namespace {

struct TableSnapshot {
    std::vector<std::string> values;
    std::vector<std::string> comments;
    bool operator==(const TableSnapshot& o) const {
        return values == o.values && comments == o.comments;
    }
};

TableSnapshot snapshotOf(const DataTable& table) {
    TableSnapshot s;
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        s.values.push_back(table.value(row));
        s.comments.push_back(table.comment(row));
    }
    return s;
}

struct CheckBench : testing::TestBench {
    void setCell(int cell, const std::string& utf8) {
        bench.table.setValue(cell - 1, fromUtf8(utf8));
    }
    bool check() { return CheckData(bench.table, screen.prompts); }
    const std::vector<testing::FakePrompts::Message>& messages() const {
        return screen.prompts.messages;
    }
};

TEST(CheckDataTest, AnUntouchedTablePasses) {
    CheckBench b;
    EXPECT_TRUE(b.check());
    EXPECT_TRUE(b.messages().empty());
}

TEST(CheckDataTest, WellFormedTextsPassEvenWhenTheMachineCannotReadThem) {
    for (const char* text :
         {"-17", "007", "-0", "", "-", "99999999999", "0123456789", "-2147483649"}) {
        for (const int cell : {1, 256, 512}) {
            CheckBench b;
            b.setCell(cell, text);
            EXPECT_TRUE(b.check()) << '"' << text << "\" in cell " << cell;
            EXPECT_TRUE(b.messages().empty());
        }
    }
}

TEST(CheckDataTest, AnyOtherTextIsReportedWithItsRowAndWholeText) {
    for (const char* text : {"+5", " 5", "5 ", "1.5", "5-", "--5", "abc", "-5-", "$1F", "0x10",
                             "1e3", "\t5", "Zähler"}) {
        CheckBench b;
        b.setCell(3, text);
        EXPECT_FALSE(b.check()) << '"' << text << '"';
        ASSERT_EQ(b.messages().size(), 1u) << '"' << text << '"';
        EXPECT_EQ(b.messages()[0].text,
                  std::string("Fehler in Zeile 3: ") + text + " ist keine Zahl!");
        EXPECT_EQ(b.messages()[0].caption, "Datenfehler");
        EXPECT_EQ(b.messages()[0].icon, MessageIcon::Error);
    }
}

TEST(CheckDataTest, OnlyTheFirstBadRowIsReportedAndTheTableIsLeftAlone) {
    const struct {
        std::vector<std::pair<int, const char*>> cells;
        const char* message;
    } cases[] = {
        {{{7, "x7"}, {3, "x3"}}, "Fehler in Zeile 3: x3 ist keine Zahl!"},
        {{{1, "a"}, {512, "b"}}, "Fehler in Zeile 1: a ist keine Zahl!"},
        {{{512, "5 "}}, "Fehler in Zeile 512: 5  ist keine Zahl!"},
    };
    for (const auto& c : cases) {
        CheckBench b;
        for (const auto& [cell, text] : c.cells) {
            b.setCell(cell, text);
        }
        b.screen.log.clear();
        b.screen.grid.changedRows.clear();
        const TableSnapshot before = snapshotOf(b.bench.table);
        EXPECT_FALSE(b.check());
        ASSERT_EQ(b.messages().size(), 1u);
        EXPECT_EQ(b.messages()[0].text, c.message);
        EXPECT_TRUE(snapshotOf(b.bench.table) == before);
        EXPECT_EQ(b.screen.log,
                  (testing::EventLog{std::string("message Datenfehler|") + c.message}))
            << "no scrolling or selecting, only the box";
        EXPECT_TRUE(b.screen.grid.changedRows.empty());
    }
}

TEST(CheckDataTest, CommentsNeverCauseAnError) {
    CheckBench b;
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        b.bench.table.setComment(row, fromUtf8(row % 2 ? "Zähler" : "abc -- 1.5"));
    }
    EXPECT_TRUE(b.check());
    EXPECT_TRUE(b.messages().empty());
}

}  // namespace
}  // namespace quarzel
