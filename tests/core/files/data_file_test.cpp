// The data file: its exact bytes, reading by line position, and the partly read table that a
// short or ill-formed file leaves.
#include "files/data_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "common/number_text.h"
#include "common/system_error.h"
#include "common/win1252.h"
#include "files/text_file.h"
#include "model/data_table.h"
#include "temp_folder.h"

namespace quarzel {
namespace {

using namespace std::string_literals;
using testing::byteRange;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

// `count` lines "n:<n*10>:Zeile n" joined by `lineEnd`, with a line end after the last one
// when `endsWithBreak`.
std::string lines(int count, const std::string& lineEnd = "\r\n", bool endsWithBreak = true) {
    std::string text;
    for (int n = 1; n <= count; ++n) {
        text += std::to_string(n) + ":" + std::to_string(n * 10) + ":Zeile " + std::to_string(n);
        if (n < count || endsWithBreak) {
            text += lineEnd;
        }
    }
    return text;
}

// A table whose every cell holds something other than the start-up contents, so that a load
// shows which cells it reached.
DataTable oldTable() {
    DataTable table;
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        table.setValue(row, "alt");
        table.setComment(row, "alter Kommentar");
    }
    return table;
}

std::optional<std::string> applyError(const std::string& text, DataTable& table) {
    try {
        applyDataFileText(text, table);
    } catch (const SystemError& error) {
        return toUtf8(error.text());
    }
    return std::nullopt;
}

// Rows 0..count-1 hold the values of lines(), the rest the old contents.
void expectReadUpTo(const DataTable& table, int count) {
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        if (row < count) {
            ASSERT_EQ(table.value(row), std::to_string((row + 1) * 10)) << "row " << row;
            ASSERT_EQ(table.comment(row), "Zeile " + std::to_string(row + 1)) << "row " << row;
        } else {
            ASSERT_EQ(table.value(row), "alt") << "row " << row;
            ASSERT_EQ(table.comment(row), "alter Kommentar") << "row " << row;
        }
    }
}

TEST(DataFileTest, WritesFiveHundredTwelveNumberedLinesEachEndingInCrLf) {
    DataTable table;
    table.setValue(4, "17");
    table.setComment(4, fromUtf8("Zähler: a<b"));
    table.setValue(511, "abc");  // written unchanged: saving does not check the values
    const std::string text = dataFileText(table);
    std::string expected;
    for (int n = 1; n <= 512; ++n) {
        expected += n == 5     ? "5:17:Z\xe4hler: a<b\r\n"
                    : n == 512 ? "512:abc:\r\n"
                               : std::to_string(n) + ":0:\r\n";
    }
    EXPECT_EQ(text, expected);
    EXPECT_EQ(text.substr(0, 6), "1:0:\r\n");
}

TEST(DataFileTest, SavingAndLoadingRestoresEveryValueAndComment) {
    DataTable saved;
    const std::string comments[] = {
        "a:b:c",
        ":",
        "",
        fromUtf8("Zähler ÄÖÜ ß €"),
        byteRange(0x80, 0xFF),
        "\t eingerückt ",
        "Text mit \"Anführung\" & <Zeichen>",
    };
    const std::string values[] = {"-17", "007", "", "abc", "99999999999", "-", "  5 "};
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        saved.setValue(row, values[row % 7] == "" ? "42" : values[row % 7]);
        saved.setComment(row, comments[row % 7]);
    }
    TempFolder folder;
    const std::string path = folder.file("daten.dta");
    writeDataFile(path, saved);
    EXPECT_EQ(readBytes(path), dataFileText(saved));

    DataTable loaded = oldTable();
    readDataFile(path, loaded);
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        ASSERT_EQ(loaded.value(row), saved.value(row)) << "row " << row;
        ASSERT_EQ(loaded.comment(row), saved.comment(row)) << "row " << row;
        ASSERT_EQ(loaded.text(0, row), int32ToText(row + 1));
    }
}

TEST(DataFileTest, EachLineIsSplitAtItsFirstTwoColons) {
    struct Case {
        std::string line3;
        std::string value;
        std::string comment;
    };
    const Case cases[] = {
        {"7::Kommentar", "0", "Kommentar"},  // the number is never read: this is cell 3
        {"3:12:", "12", ""},
        {"3:12:a:b:c", "12", "a:b:c"},
        {"3:7:x:Rest", "7", "x:Rest"},  // a value "7:x" does not survive a save
        {":12:", "12", ""},
        {"::", "0", ""},
        {"irgendwas:-5:Text", "-5", "Text"},
        {"3:  5 : x ", "  5 ", " x "},
        {"3:\t-1:\tTab", "\t-1", "\tTab"},
        {"3:abc:", "abc", ""},
    };
    for (const Case& c : cases) {
        DataTable table = oldTable();
        std::string text = lines(512);
        const std::size_t start = text.find("3:30:Zeile 3");
        text.replace(start, std::string("3:30:Zeile 3").size(), c.line3);
        applyDataFileText(text, table);
        EXPECT_EQ(table.value(2), c.value) << c.line3;
        EXPECT_EQ(table.comment(2), c.comment) << c.line3;
        EXPECT_EQ(table.value(3), "40") << c.line3;
    }
}

TEST(DataFileTest, AShortOrIllFormedFileStopsAtItsFirstBadLine) {
    struct Case {
        const char* name;
        std::string text;
        std::string error;
        int cellsRead;
    };
    const auto withLine = [](int index, const std::string& line) {
        std::string text = lines(index - 1) + line + "\r\n";
        for (int n = index + 1; n <= 512; ++n) {
            text += std::to_string(n) + ":1:x\r\n";
        }
        return text;
    };
    const std::string listIndex = "Listenindex überschreitet das Maximum ";
    const Case cases[] = {
        {"empty file", "", listIndex + "(0)", 0},
        {"three lines", lines(3), listIndex + "(3)", 3},
        {"511 lines", lines(511), listIndex + "(511)", 511},
        {"511 lines, no final break", lines(511, "\r\n", false), listIndex + "(511)", 511},
        {"an empty line after a final break", lines(3) + "\r\n", "Fehler bei Bereichsprüfung", 3},
        {"line 100 without a colon", withLine(100, "100 55 Text"), "Fehler bei Bereichsprüfung",
         99},
        {"line 1 with one colon", withLine(1, "1:55"), "Fehler bei Bereichsprüfung", 0},
        {"line 512 empty", withLine(512, ""), "Fehler bei Bereichsprüfung", 511},
    };
    for (const Case& c : cases) {
        DataTable table = oldTable();
        EXPECT_EQ(applyError(c.text, table), c.error) << c.name;
        expectReadUpTo(table, c.cellsRead);
    }
}

TEST(DataFileTest, ReadsFilesWithAnyLineEndAndIgnoresLinesAfterThe512th) {
    struct Case {
        const char* name;
        std::string file;
    };
    const Case cases[] = {
        {"CR LF", lines(512)},
        {"no break after the last line", lines(512, "\r\n", false)},
        {"lone LF", lines(512, "\n")},
        {"lone CR", lines(512, "\r", false)},
        {"600 lines", lines(600)},
        {"600 lines and a NUL", lines(600) + "\0"s + "garbage"},
        {"a NUL after line 512", lines(512) + "\0"s + "\r\n:::"},
    };
    TempFolder folder;
    const std::string path = folder.file("daten.dta");
    for (const Case& c : cases) {
        writeBytes(path, c.file);
        DataTable table = oldTable();
        readDataFile(path, table);
        expectReadUpTo(table, 512);
    }
}

TEST(DataFileTest, ANulByteEndsTheFileForReading) {
    TempFolder folder;
    const std::string path = folder.file("daten.dta");
    writeBytes(path, lines(299) + "\0"s + lines(512).substr(lines(299).size()));
    DataTable table = oldTable();
    try {
        readDataFile(path, table);
        FAIL() << "a file cut short by a NUL byte was read in full";
    } catch (const SystemError& error) {
        EXPECT_EQ(toUtf8(error.text()), "Listenindex überschreitet das Maximum (299)");
    }
    expectReadUpTo(table, 299);
}

}  // namespace
}  // namespace quarzel
