// Work kept outside the files: the record of program and table written whole and read back
// exactly, a damaged record never applied, and what restoring does to the session.
#include <gtest/gtest.h>

#include <string>

#include "fakes.h"
#include "files/data_file.h"
#include "files/program_file.h"
#include "session/kept_work.h"

namespace quarzel {
namespace {

// A program with the characters a learner types (umlauts, tabs, an empty last line) and a
// table with a value, a comment and a text that is no number.
struct Work {
    std::string program = fromUtf8("* Zähler\r\n\tLAD 1\r\nSTP\r\n");
    DataTable table;
    Work() {
        table.setValue(0, "7");
        table.setComment(0, fromUtf8("Anzahl der Äpfel"));
        table.setValue(511, "abc");
    }
};

TEST(KeptWorkTest, ARecordReadsBackExactly) {
    const Work work;
    const KeptWorkRead read = readKeptWork(keptWorkRecord(work.program, work.table));
    ASSERT_TRUE(read.work.has_value()) << read.problem;
    EXPECT_EQ(read.work->program, work.program);
    EXPECT_EQ(read.work->data, dataFileText(work.table));
}

TEST(KeptWorkTest, ADamagedRecordIsRefusedWithItsReason) {
    const Work work;
    const std::string record = keptWorkRecord(work.program, work.table);
    std::string flipped = record;
    flipped[record.size() / 2] ^= 0x20;
    std::string lengthChanged = record;
    lengthChanged.replace(lengthChanged.find("Programm ") + 9, 2, "99");
    const std::string huge(kMaxProgramFileBytes + 1, 'x');
    struct Row {
        const char* name;
        std::string record;
        const char* problem;
    };
    const Row rows[] = {
        {"empty", "", "unbekanntes Format"},
        {"another format", "Programm 3\r\nSTP", "unbekanntes Format"},
        {"cut in the program", record.substr(0, 40), "unvollständig"},
        {"cut before the sum", record.substr(0, record.rfind("Summe")), "Prüfsumme falsch"},
        {"cut in the sum", record.substr(0, record.size() - 3), "Prüfsumme falsch"},
        {"one byte changed", flipped, "Prüfsumme falsch"},
        {"a length changed", lengthChanged, "unvollständig"},
        {"more after the end", record + "x", "Prüfsumme falsch"},
        {"program over the editor's limit", keptWorkRecord(huge, work.table), "Programm zu groß"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const KeptWorkRead read = readKeptWork(row.record);
        EXPECT_FALSE(read.work.has_value());
        EXPECT_EQ(read.problem, row.problem);
    }
}

TEST(KeptWorkTest, RestoringPutsBackBothAsUnsavedWork) {
    const Work work;
    testing::TestBench t;
    t.screen.editor.type({"LAD 2"});
    t.bench.flags.ProgramChecked = t.bench.flags.DataChecked = true;
    const KeptWorkRestore restore =
        t.workbench.restoreKeptWork(keptWorkRecord(work.program, work.table));
    EXPECT_EQ(restore.result, KeptWorkRestore::Restored);
    EXPECT_EQ(t.workbench.programText(), work.program);
    EXPECT_EQ(dataFileText(t.workbench.table()), dataFileText(work.table));
    const StateFlags& flags = t.workbench.flags();
    EXPECT_TRUE(flags.ProgramModified && flags.DataModified);
    EXPECT_FALSE(flags.ProgramChecked || flags.DataChecked);
    EXPECT_EQ(t.screen.prompts.notes,
              std::vector<std::string>{"Programm und Daten der letzten Sitzung wurden "
                                       "wiederhergestellt."});
    EXPECT_EQ(t.workbench.keptWork(), keptWorkRecord(work.program, work.table))
        << "kept again, it is the same record";
}

TEST(KeptWorkTest, AnEmptyProgramAndTableAreNoUnsavedWork) {
    testing::TestBench t;
    t.workbench.restoreKeptWork(keptWorkRecord("", DataTable()));
    EXPECT_FALSE(t.workbench.hasUnsavedWork());
}

TEST(KeptWorkTest, ADamagedRecordChangesNothingAndSaysWhy) {
    testing::TestBench t;
    t.screen.editor.type({"STP"});
    t.bench.table.setValue(4, "5");
    const StateFlags before = t.workbench.flags();
    std::string record = keptWorkRecord(fromUtf8("LAD 9\r\n"), DataTable());
    record.pop_back();
    const KeptWorkRestore restore = t.workbench.restoreKeptWork(record);
    EXPECT_EQ(restore.result, KeptWorkRestore::Damaged);
    EXPECT_EQ(t.workbench.programText(), "STP");
    EXPECT_EQ(t.workbench.table().value(4), "5");
    EXPECT_EQ(t.workbench.flags().ProgramModified, before.ProgramModified);
    EXPECT_EQ(t.workbench.flags().Edits, before.Edits);
    ASSERT_EQ(t.screen.prompts.notes.size(), 1u);
    EXPECT_EQ(t.screen.prompts.notes[0],
              "Die zwischengespeicherte Arbeit der letzten Sitzung ist beschädigt (Prüfsumme "
              "falsch) und wurde nicht geladen; sie bleibt gesondert aufbewahrt.");
}

}  // namespace
}  // namespace quarzel
