// "Exportieren" of the protocol: the rows of the steps taken, as a CSV file and as an HTML
// page, handed on where the user chose them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"
#include "temp_folder.h"

namespace quarzel {
namespace {

using testing::readBytes;
using testing::TempFolder;

// A comment whose text needs quoting in either file, a read and a write, then STP.
void runThreeSteps(testing::TestBench& t) {
    t.screen.editor.type({"* a<b> & \"c\"; d   ", "LAD 1", "STO 2", "STP"});
    t.bench.table.setValue(0, "5");
    t.workbench.btCheckClick();
    t.workbench.btRunClick();
    for (int i = 0; i < 3; ++i) {
        t.workbench.btStepClick();
    }
}

const std::string kCsvHeader =
    "\xEF\xBB\xBFSchritt;Zeile;Befehl;Akku;Fenster;Index;Anweisung;Stack;Zelle;Zugriff\r\n";
const std::vector<std::string> kCsvRows = {
    "1;1;\"* a<b> & \"\"c\"\"; d\";0;0;0;1;512;;\r\n",
    "2;2;LAD 1;5;0;0;2;512;1;lesen\r\n",
    "3;3;STO 2;5;0;0;3;512;2;schreiben\r\n",
};

TEST(TraceExportTest, WritesTheRowsOfTheStepsTakenAndHandsTheFileOn) {
    struct Case {
        TraceFormat format;
        int backs;  // "Zurück" pressed before the export
        std::string pattern;
    };
    for (const Case& c :
         {Case{TraceFormat::Csv, 0, "*.csv"}, Case{TraceFormat::Csv, 1, "*.csv"},
          Case{TraceFormat::Html, 0, "*.html"}, Case{TraceFormat::Html, 1, "*.html"}}) {
        SCOPED_TRACE(c.pattern + " after " + std::to_string(c.backs) + " Zurück");
        testing::TestBench t;
        TempFolder folder;
        runThreeSteps(t);
        for (int i = 0; i < c.backs; ++i) {
            t.workbench.btBackClick();
        }
        const std::string path = folder.file("protokoll");
        t.screen.prompts.files = {path};
        t.workbench.btTraceExportClick(c.format);

        ASSERT_EQ(t.screen.prompts.dialogs.size(), 1u);
        EXPECT_EQ(t.screen.prompts.dialogs[0].pattern, c.pattern);
        EXPECT_TRUE(t.screen.prompts.messages.empty());
        EXPECT_EQ(t.screen.log.back(), "finish " + path) << "the page delivers the file";
        const std::string bytes = readBytes(path);
        const std::size_t rows = kCsvRows.size() - static_cast<std::size_t>(c.backs);
        if (c.format == TraceFormat::Csv) {
            std::string expected = kCsvHeader;
            for (std::size_t r = 0; r < rows; ++r) {
                expected += kCsvRows[r];
            }
            EXPECT_EQ(bytes, expected);
            continue;
        }
        EXPECT_NE(bytes.find("<td class=\"befehl\">* a&lt;b&gt; &amp; &quot;c&quot;; d</td>"),
                  std::string::npos)
            << bytes;
        EXPECT_EQ(bytes.find("a<b>"), std::string::npos) << "nothing unescaped";
        EXPECT_NE(bytes.find("<td>lesen</td>"), std::string::npos);
        EXPECT_EQ(bytes.find("<td>schreiben</td>") != std::string::npos, rows == 3);
    }
}

TEST(TraceExportTest, ACancelledDialogWritesNothing) {
    testing::TestBench t;
    TempFolder folder;
    runThreeSteps(t);
    t.screen.prompts.files = {std::nullopt};
    t.workbench.btTraceExportClick(TraceFormat::Csv);
    EXPECT_TRUE(folder.entries().empty());
    EXPECT_TRUE(t.screen.prompts.messages.empty());
}

}  // namespace
}  // namespace quarzel
