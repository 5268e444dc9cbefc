// The HTML page against golden lines, and the export command around it.
#include "session/html_export.h"

#include <gtest/gtest.h>

#include <system_error>
#include <vector>

#include "fakes.h"
#include "os_text.h"
#include "temp_folder.h"

namespace quarzel {
namespace {

using Lines = std::vector<std::string>;
using testing::readBytes;
using testing::TempFolder;

const std::string kGap = "<tr><td colspan=\"3\">...</td></tr>";
const std::string kWidths = "<tr><td width = \"10%\"></td><td width = \"20%\"></td><td></td></tr>";

const Lines kHead = {
    "<html><head><title>QRZL Ausgabe:</title><style>",
    "h1 {font-family: Arial; font-size: 20px; font-weight: bold; text-align: center; color: "
    "#000000; margin-left: -4cm;}",
    "h2 {font-family: Arial; font-size: 16px; font-weight: bold; text-align: center; color: "
    "#000000; margin-left: -4cm;}",
    "h3 {font-family: Arial; font-size: 16px; font-weight: bold; text-align: left; color: "
    "#000000; margin-left: 0cm;}",
    "BODY {font-family: Courier; font-size: 14px; font-weight: normal; text-align: left; color: "
    "#000000; margin-left: 4cm;}",
    "</style></head><body>",
    "<h1>Quarzel 3.1</h1><p />",
    "<h2>Datum: 24.12.2024</h2><p />",
    "<h3>Programm:</h3> <p />",
};

Lines concat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// The lines between the row of widths and "</table>".
Lines dataRows(const Lines& page) {
    const auto widths = std::find(page.begin(), page.end(), kWidths);
    const auto end = std::find(page.begin(), page.end(), "</table>");
    EXPECT_NE(widths, page.end());
    EXPECT_NE(end, page.end());
    EXPECT_EQ(end + 2, page.end()) << "</table> is followed only by the closing line";
    return Lines(widths + 1, end);
}

std::string row(int cell, const std::string& value, const std::string& comment) {
    return "<tr><td> " + std::to_string(cell) + " </td><td>" + value + " </td><td>" + comment +
           " </td></tr>";
}

TEST(HtmlPageTest, TheWholePageOfAShortProgramAndAnEmptyTable) {
    const Lines page = htmlPageLines({"LAD 1", "", "STP"}, DataTable(), "24.12.2024");
    EXPECT_EQ(page, concat({kHead,
                            {"LAD 1 <br />", "STP <br />", "<h3>Daten:</h3> <p />",
                             "<table width = \"100%\" border=\"0\" cols =\"3\">", kWidths, kGap,
                             "</table>", "</body></html>"}}));
}

TEST(HtmlPageTest, DataRowsWithOneGapLinePerRunOfZeroCells) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::string>> cells;  // cell number, value
        Lines rows;
    };
    const Case cases[] = {
        {"all zero", {}, {kGap}},
        {"cell 1 only", {{1, "5"}}, {row(1, "5", ""), kGap}},
        {"cell 512 only", {{512, "-1"}}, {kGap, row(512, "-1", "")}},
        {"cells 1 and 3", {{1, "1"}, {3, "3"}}, {row(1, "1", ""), kGap, row(3, "3", ""), kGap}},
        {"cells 1 and 2", {{1, "1"}, {2, "2"}}, {row(1, "1", ""), row(2, "2", ""), kGap}},
        {"zero only as text",
         {{5, "00"}, {6, "-0"}, {7, " 0"}, {8, ""}},
         {kGap, row(5, "00", ""), row(6, "-0", ""), row(7, " 0", ""), row(8, "", ""), kGap}},
    };
    for (const Case& c : cases) {
        DataTable table;
        for (const auto& [cell, value] : c.cells) {
            table.setValue(cell - 1, value);
        }
        table.setComment(3, "not shown while cell 4 is 0");
        EXPECT_EQ(dataRows(htmlPageLines({}, table, "d")), c.rows) << c.name;
    }
}

TEST(HtmlPageTest, AllCellsWrittenGiveNoGapLine) {
    DataTable table;
    for (int r = 0; r < DataTable::kRowCount; ++r) {
        table.setValue(r, std::to_string(r));  // cell 1 holds "0"
    }
    const Lines rows = dataRows(htmlPageLines({}, table, "d"));
    ASSERT_EQ(rows.size(), 512u);
    EXPECT_EQ(rows.front(), kGap);
    EXPECT_EQ(rows[1], row(2, "1", ""));
    EXPECT_EQ(rows.back(), row(512, "511", ""));
}

TEST(HtmlPageTest, ProgramLinesWithoutTheEmptyOnes) {
    struct Case {
        Lines program;
        Lines written;
    };
    const Case cases[] = {
        {{}, {}},
        {{"", "", ""}, {}},
        {{"   "}, {"    <br />"}},
        {{"\tLAD 1", "", "   ", "STP"}, {"\tLAD 1 <br />", "    <br />", "STP <br />"}},
    };
    for (const Case& c : cases) {
        const Lines page = htmlPageLines(c.program, DataTable(), "24.12.2024");
        const Lines expected =
            concat({kHead,
                    c.written,
                    {"<h3>Daten:</h3> <p />", "<table width = \"100%\" border=\"0\" cols =\"3\">",
                     kWidths, kGap, "</table>", "</body></html>"}});
        EXPECT_EQ(page, expected);
    }
}

TEST(HtmlPageTest, MarkupCharactersInProgramValuesAndCommentsAreEscaped) {
    DataTable table;
    table.setValue(0, "<5>");
    table.setComment(0, "a < b & \"c\" > d");
    table.setComment(1, "<b>hidden: value 0</b>");
    const Lines page = htmlPageLines({"* if a<b & c>\"d\""}, table, "1.1.2025");
    EXPECT_EQ(page[9], "* if a&lt;b &amp; c&gt;&quot;d&quot; <br />");
    EXPECT_EQ(dataRows(page),
              (Lines{row(1, "&lt;5&gt;", "a &lt; b &amp; &quot;c&quot; &gt; d"), kGap}));
}

// --- The command ----------------------------------------------------------------------

TEST(HtmlExportTest, WritesThePageAndChangesNothing) {
    testing::TestBench t;
    TempFolder folder;
    t.screen.editor.type({"LAD 1", "", "STP"});
    t.bench.table.setValue(2, "7");
    t.bench.table.setComment(2, fromUtf8("Zähler"));
    t.bench.flags = {true, true, true, true};
    const std::string path = folder.file("seite.html");
    t.screen.prompts.files = {path};
    const std::string textBefore = t.screen.editor.text();
    t.handle([&] { t.bench.html.btHTMLClick("24.12.2024"); });

    ASSERT_EQ(t.screen.prompts.dialogs.size(), 1u);
    EXPECT_TRUE(t.screen.prompts.dialogs[0].save);
    EXPECT_EQ(t.screen.prompts.dialogs[0].description, "HTML Dateien (*.html)");
    EXPECT_EQ(t.screen.prompts.dialogs[0].pattern, "*.html");
    EXPECT_EQ(t.screen.prompts.dialogs[0].defaultExtension, "html");
    EXPECT_TRUE(t.screen.prompts.questions.empty());
    EXPECT_TRUE(t.screen.prompts.messages.empty());

    const std::string expected =
        htmlPageText(concat({kHead,
                             {"LAD 1 <br />", "STP <br />", "<h3>Daten:</h3> <p />",
                              "<table width = \"100%\" border=\"0\" cols =\"3\">", kWidths, kGap,
                              row(3, "7", "Z\xe4hler"), kGap, "</table>", "</body></html>"}}));
    EXPECT_EQ(readBytes(path), expected);

    EXPECT_EQ(t.screen.editor.text(), textBefore);
    EXPECT_TRUE(t.bench.flags.ProgramChecked && t.bench.flags.DataChecked &&
                t.bench.flags.ProgramModified && t.bench.flags.DataModified);
}

TEST(HtmlExportTest, ACancelledDialogWritesNothing) {
    testing::TestBench t;
    TempFolder folder;
    t.screen.prompts.files = {std::nullopt};
    t.handle([&] { t.bench.html.btHTMLClick("24.12.2024"); });
    EXPECT_TRUE(folder.entries().empty());
    EXPECT_TRUE(t.screen.prompts.messages.empty());
}

TEST(HtmlExportTest, AFileThatCannotBeCreatedIsReported) {
    testing::TestBench t;
    TempFolder folder;
    const std::string path = folder.file("fehlt/seite.html");
    t.screen.prompts.files = {path};
    t.handle([&] { t.bench.html.btHTMLClick("24.12.2024"); });
    ASSERT_EQ(t.screen.prompts.messages.size(), 1u);
    EXPECT_EQ(t.screen.prompts.messages[0].caption, "Quarzel 3");
    EXPECT_EQ(t.screen.prompts.messages[0].text,
              "Datei \"" + path + "\" kann nicht erstellt werden. " +
                  testing::osTextEndingMessage(std::errc::no_such_file_or_directory,
                                               testing::WindowsError::PathNotFound));
    EXPECT_TRUE(folder.entries().empty());
}

}  // namespace
}  // namespace quarzel
