// The editor's edit by range: the text it leaves, the marks that move with their lines, and the
// positions it refuses.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "common/system_error.h"
#include "session/text_editor.h"

namespace quarzel {
namespace {

std::set<int> marksOf(const TextEditor& editor, int lines) {
    std::set<int> marks;
    for (int line = 0; line < lines; ++line) {
        if (editor.hasBreakpoint(line)) {
            marks.insert(line);
        }
    }
    return marks;
}

struct EditCase {
    const char* what;
    const char* before;  // lines broken by CR LF
    std::set<int> marksBefore;
    int fromLine, fromColumn, toLine, toColumn;
    const char* inserted;
    const char* after;
    std::set<int> marksAfter;
};

TEST(TextEditorEdit, ReplacesTheRangeAndMovesTheMarksWithTheirLines) {
    // clang-format off
    const EditCase cases[] = {
        {"a key typed inside a line", "LAD 1\r\nSTP", {0, 1}, 0, 3, 0, 3, "X", "LADX 1\r\nSTP", {0, 1}},
        {"a key at the very end", "LAD 1\r\nSTP", {}, 1, 3, 1, 3, "\r\n", "LAD 1\r\nSTP\r\n", {}},
        {"Enter in the middle of a line", "A\r\nBC\r\nD", {1, 2}, 1, 1, 1, 1, "\r\n", "A\r\nB\r\nC\r\nD", {1, 3}},
        {"Enter at the start of a marked line", "A\r\nB", {1}, 1, 0, 1, 0, "\r\n", "A\r\n\r\nB", {1}},
        {"Backspace joining two lines", "A\r\nB\r\nC", {0, 1, 2}, 0, 1, 1, 0, "", "AB\r\nC", {0, 1}},
        {"a selection over three lines deleted", "L0\r\nL1\r\nL2\r\nL3\r\nL4", {0, 1, 2, 3, 4}, 1, 1, 3, 1, "",
         "L0\r\nL3\r\nL4", {0, 1, 2}},
        {"a paste of three lines into one", "AB\r\nZ", {0, 1}, 0, 1, 0, 1, "1\r\n2\r\n3", "A1\r\n2\r\n3B\r\nZ", {0, 3}},
        {"a multi-line selection replaced by more lines", "a\r\nb\r\nc\r\nd", {3}, 0, 0, 1, 1, "x\r\ny\r\nz",
         "x\r\ny\r\nz\r\nc\r\nd", {4}},
        {"the whole text replaced", "A\r\nB", {0, 1}, 0, 0, 1, 1, "C", "C", {0}},
        {"a lone LF stays inside its line", "A\r\nB", {1}, 0, 1, 0, 1, "\n", "A\n\r\nB", {1}},
        {"an empty text gets its first line", "", {}, 0, 0, 0, 0, "STP", "STP", {}},
        {"nothing replaced by nothing", "A\r\nB", {0, 1}, 1, 0, 1, 0, "", "A\r\nB", {0, 1}},
    };
    // clang-format on
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.what);
        TextEditor editor;
        editor.setText(c.before);
        for (const int line : c.marksBefore) {
            editor.setBreakpoint(line, true);
        }
        int changes = 0;
        editor.onChange = [&changes] { ++changes; };
        editor.replaceRange(c.fromLine, c.fromColumn, c.toLine, c.toColumn, c.inserted);
        EXPECT_EQ(editor.text(), c.after);
        EXPECT_EQ(marksOf(editor, 16), c.marksAfter);
        EXPECT_EQ(changes, 1);
    }
}

TEST(TextEditorEdit, RefusesPositionsOutsideTheTextAndLeavesItAsItWas) {
    struct Bad {
        const char* what;
        int fromLine, fromColumn, toLine, toColumn;
    };
    const Bad bad[] = {
        {"a line before the first", -1, 0, 0, 0},
        {"a line after the last", 2, 0, 2, 0},
        {"the end before the start line", 1, 0, 0, 0},
        {"the end before the start column", 0, 2, 0, 1},
        {"a column past the line's end", 0, 4, 0, 4},
        {"a negative column", 1, -1, 1, 0},
        {"an end column past its line", 0, 0, 1, 4},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.what);
        TextEditor editor;
        editor.setText("LAD\r\nSTP");
        EXPECT_THROW(editor.replaceRange(b.fromLine, b.fromColumn, b.toLine, b.toColumn, "X"),
                     SystemError);
        EXPECT_EQ(editor.text(), "LAD\r\nSTP");
    }
}

// Offset of (line, column) in a text broken by CR LF.
std::size_t offsetOf(const std::string& text, int line, int column) {
    std::size_t at = 0;
    for (int i = 0; i < line; ++i) {
        at = text.find("\r\n", at) + 2;
    }
    return at + static_cast<std::size_t>(column);
}

TEST(TextEditorEdit, ManyRandomEditsLeaveTheTextThatReplacingItsCharactersLeaves) {
    std::mt19937 random(20261208);
    const std::vector<std::string> pieces = {"",       "A",        "LAD 1", "\r\n",
                                             "x\r\ny", "\r\n\r\n", "\t",    "\n"};
    TextEditor editor;
    std::string expected = "MRK A\r\nINC\r\nJMP A";
    editor.setText(expected);
    for (int step = 0; step < 2000; ++step) {
        const int lines = editor.lineCount() +
                          (expected.size() >= 2 && expected.substr(expected.size() - 2) == "\r\n");
        const auto pick = [&](int below) {
            return static_cast<int>(random() % static_cast<unsigned>(below));
        };
        int fromLine = pick(std::max(lines, 1));
        int toLine = fromLine + pick(std::min(3, std::max(lines, 1) - fromLine));
        int fromColumn = pick(
            static_cast<int>(editor.lineCount() > fromLine ? editor.lineText(fromLine).size() : 0) +
            1);
        int toColumn = pick(
            static_cast<int>(editor.lineCount() > toLine ? editor.lineText(toLine).size() : 0) + 1);
        if (fromLine == toLine && toColumn < fromColumn) {
            std::swap(fromColumn, toColumn);
        }
        const std::string& inserted = pieces[random() % pieces.size()];
        const std::size_t from = offsetOf(expected, fromLine, fromColumn);
        const std::size_t to = offsetOf(expected, toLine, toColumn);
        expected.replace(from, to - from, inserted);
        editor.replaceRange(fromLine, fromColumn, toLine, toColumn, inserted);
        ASSERT_EQ(editor.text(), expected) << "step " << step;
    }
}

}  // namespace
}  // namespace quarzel
