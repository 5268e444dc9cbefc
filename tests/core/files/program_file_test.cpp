// The program file: byte-exact writing, every kind of line break on reading, the size limit.
#include "files/program_file.h"

#include <gtest/gtest.h>

#include "common/system_error.h"
#include "common/win1252.h"
#include "temp_folder.h"

namespace quarzel {
namespace {

using namespace std::string_literals;
using testing::byteRange;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

std::string repeat(const std::string& piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

TEST(ProgramFileTest, WritesTheTextByteForByteAndReadsItBack) {
    const std::string texts[] = {
        "",
        "LAD 1",             // no line end is added
        "LAD 1\r\nSTP\r\n",  // nor taken away
        "\r\n",
        "MRK Schleife\r\n\tADD [X]\r\n   \r\n* Kommentar",
        fromUtf8("* Zähler für Übungen: äöüß ÄÖÜ €"),
        "* " + byteRange(0x80, 0xFF) + "\r\n* " + byteRange(0x20, 0x7F),
        "\t\r\n\r\n\r\nJMP 5",
    };
    TempFolder folder;
    const std::string path = folder.file("prog.prg");
    for (const std::string& text : texts) {
        writeProgramFile(path, text);
        EXPECT_EQ(readBytes(path), text);
        EXPECT_EQ(readProgramFile(path), text);
    }
}

TEST(ProgramFileTest, ReadsLoneLfAndLoneCrAsCrLfLineBreaks) {
    struct Case {
        std::string file;
        std::string text;
    };
    const Case cases[] = {
        {"LAD 1\nADD 2\nSTP\n", "LAD 1\r\nADD 2\r\nSTP\r\n"},
        {"LAD 1\rADD 2\rSTP", "LAD 1\r\nADD 2\r\nSTP"},
        {"LAD 1\r\nADD 2\nSUB 3\rSTP", "LAD 1\r\nADD 2\r\nSUB 3\r\nSTP"},
        {"\n\n\n", "\r\n\r\n\r\n"},
        {"STP\0MÜLL\r\n"s, "STP"},
        {"\0"s, ""},
    };
    TempFolder folder;
    const std::string path = folder.file("prog.prg");
    for (const Case& c : cases) {
        writeBytes(path, c.file);
        EXPECT_EQ(readProgramFile(path), c.text) << c.file;
    }
}

struct SizeCase {
    const char* name;
    std::string bytes;
    bool refused;
};

TEST(ProgramFileTest, AFileBeyondTheLimitOfBytesOrLineBreaksIsRefused) {
    const SizeCase cases[] = {
        {"bytes at the limit", std::string(kMaxProgramFileBytes, 'A'), false},
        {"one byte more", std::string(kMaxProgramFileBytes + 1, 'A'), true},
        {"LF at the limit", std::string(kMaxProgramLineBreaks, '\n'), false},
        {"one LF more", std::string(kMaxProgramLineBreaks + 1, '\n'), true},
        {"CR LF at the limit, then a line", repeat("\r\n", kMaxProgramLineBreaks) + "STP", false},
        {"one lone CR more", std::string(kMaxProgramLineBreaks + 1, '\r'), true},
    };
    TempFolder folder;
    const std::string path = folder.file("gross.prg");
    for (const SizeCase& c : cases) {
        writeBytes(path, c.bytes);
        try {
            readProgramFile(path);
            EXPECT_FALSE(c.refused) << c.name << ": a file above the limit was taken";
        } catch (const SystemError& error) {
            EXPECT_TRUE(c.refused) << c.name;
            EXPECT_EQ(toUtf8(error.text()), "Text überschreitet Memo-Kapazität") << c.name;
        }
    }
}

// A pasted text is held to the same limits as a file, in the editor's CR LF form.
TEST(ProgramFileTest, APastedTextBeyondTheLimitDoesNotFit) {
    const SizeCase cases[] = {
        {"bytes at the limit", std::string(kMaxProgramFileBytes, 'A'), false},
        {"one byte more", std::string(kMaxProgramFileBytes + 1, 'A'), true},
        {"line breaks at the limit", repeat("\r\n", kMaxProgramLineBreaks), false},
        {"one line break more", repeat("\r\n", kMaxProgramLineBreaks) + "\r\nSTP", true},
    };
    for (const SizeCase& c : cases) {
        EXPECT_EQ(programTextFits(c.bytes), !c.refused) << c.name;
    }
}

TEST(ProgramFileTest, OnlyTheTextBeforeANulByteCountsForTheLimit) {
    TempFolder folder;
    const std::string path = folder.file("nach-nul.prg");
    writeBytes(path, "STP\0"s + std::string(kMaxProgramFileBytes, 'x'));
    EXPECT_EQ(readProgramFile(path), "STP");
}

}  // namespace
}  // namespace quarzel
