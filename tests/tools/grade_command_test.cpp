// quarzel-grade in process: its arguments, the order of its console lines on several threads,
// its exit statuses, and the escaping of its reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "tools/grade_command.h"
#include "tools/grade_report.h"

namespace quarzel::grading {
namespace {

namespace fs = std::filesystem;

using testing::freshFolder;
using testing::writeBytes;

// ---- order and reports -------------------------------------------------------------------

TEST(GradeCommand, ResultsFollowTheClassListWhateverTheThreads) {
    const std::string dir = freshFolder("order");
    fs::create_directories(dir + "/klasse/tiefer");
    // Long and short runs mixed, so that threads finish out of order.
    const char* names[] = {"z.prg", "B.PRG", "m.prg", "a.prg", "k.prg", "c.prg", "y.prg"};
    std::string longRun;
    for (int i = 0; i < 20000; ++i) {
        longRun += "INC\r\n";
    }
    for (std::size_t i = 0; i < std::size(names); ++i) {
        writeBytes(dir + "/klasse/" + names[i], (i % 2 ? longRun : "") + "STP\r\n");
    }
    writeBytes(dir + "/klasse/notiz.txt", "x");
    writeBytes(dir + "/klasse/tiefer/d.prg", "STP\r\n");
    writeBytes(dir + "/einzeln.prg", "STP\r\n");
    writeBytes(dir + "/klasse/einzeln.prg", "STP\r\n");
    writeBytes(dir + "/a.toml", "[[fall]]\nname = \"A\"\n[[fall]]\nname = \"B\"\n");

    // A file found in a folder is named with the system's own separator after the folder.
    const std::string inFolder = dir + "/klasse" +
                                 std::string(1, static_cast<char>(fs::path::preferred_separator)) +
                                 "einzeln.prg";
    std::string first;
    for (const char* jobs : {"1", "4"}) {
        std::ostringstream out, err;
        EXPECT_EQ(gradeCommand({"--jobs", jobs, dir + "/a.toml", dir + "/klasse",
                                dir + "/einzeln.prg", dir + "/fehlt.prg"},
                               out, err),
                  kGraded);
        EXPECT_EQ(err.str(), "");
        std::vector<std::string> heads;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("  ", 0) != 0) {
                heads.push_back(line.substr(0, line.find(": ")));
            }
        }
        EXPECT_EQ(heads, (std::vector<std::string>{
                             "a.prg", "B.PRG", "c.prg", dir + "/einzeln.prg", inFolder, "fehlt.prg",
                             "k.prg", "m.prg", "y.prg", "z.prg",
                             "10 Programme, 1 nicht bewertet, 9 mit voller Punktzahl, im "
                             "Mittel 2,0 von 2 Punkten"}));
        if (first.empty()) {
            first = out.str();
        }
        EXPECT_EQ(out.str(), first);
    }
}

TEST(Reports, EscapeWhatTheTeacherOrTheFilesBring) {
    Task task;
    task.title = "<Summe> & \"mehr\"";
    TaskCase c;
    c.name = "a;b \"c\"";
    task.cases.push_back(c);
    ProgramGrade grade;
    grade.name = "<b>.prg";
    grade.cases.push_back({0, {{"Zelle 1", "\"<x>\"", "\"&\"", ""}}});
    const std::string csv = csvReport(task, {grade});
    EXPECT_EQ(csv, "\xEF\xBB\xBFProgramm;\"a;b \"\"c\"\"\";Summe;Fehler\r\n<b>.prg;0;0;\r\n");
    // A program that could not be read scores nothing that looks like a score.
    ProgramGrade unread;
    unread.name = "weg.prg";
    unread.error = "Datei \"weg.prg\" nicht gefunden.";
    EXPECT_EQ(csvReport(task, {unread}).substr(csv.find("\r\n") + 2),
              "weg.prg;;;\"Datei \"\"weg.prg\"\" nicht gefunden.\"\r\n");
    const std::string page = htmlReport(task, {grade});
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_EQ(page.find("<x>"), std::string::npos);
    EXPECT_NE(page.find("<h1>&lt;Summe&gt; &amp; &quot;mehr&quot;</h1>"), std::string::npos);
    EXPECT_NE(page.find("<td>&quot;&lt;x&gt;&quot;</td><td>&quot;&amp;&quot;</td>"),
              std::string::npos);
    EXPECT_EQ(page.find("src="), std::string::npos);  // nothing is loaded from elsewhere
    EXPECT_EQ(page.find("<script"), std::string::npos);
}

// A learner's file name reaches the console, the CSV and the page; no byte of it may move the
// cursor, end a line or vanish, or another learner's line could be forged.
TEST(Reports, ShowEveryControlCharacterOfANameVisibly) {
    const struct {
        std::string name;
        std::string shown;
    } rows[] = {
        {"a\nx.prg: 4 von 4 Punkten", "a\\nx.prg: 4 von 4 Punkten"},
        {"\x1b[2K\r\x1b[1Ax.prg", "\\x1b[2K\\r\\x1b[1Ax.prg"},
        {"tab\tnul\x01"
         "del\x7f.prg",
         "tab\\tnul\\x01del\\x7f.prg"},
        {std::string("null\0.prg", 9), "null\\x00.prg"},
        {"csi\xC2\x9B"
         "2J.prg",
         "csi\\u009b2J.prg"},  // a control character of its own in UTF-8
        {"lose\x9B"
         "2J.prg",
         "lose\\x9b2J.prg"},  // a byte that is no UTF-8 at all
        {"kurz\xC3.prg", "kurz\\xc3.prg"},
        {"Übung ß – \xE2\x82\xAC\\n.prg", "Übung ß – \xE2\x82\xAC\\n.prg"},
    };
    Task task;
    TaskCase c;
    c.name = "A";
    c.points = 1;
    task.cases.push_back(c);
    for (const auto& row : rows) {
        ProgramGrade grade;
        grade.name = row.name;
        grade.cases.push_back({1, {}});
        grade.points = 1;
        ProgramGrade unread;
        unread.name = "u.prg";
        unread.error = "Datei " + row.name + " kann nicht geöffnet werden.";
        std::ostringstream out;
        writeConsoleReport(task, {grade, unread}, out);
        std::istringstream lines(out.str());
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line, row.shown + ": 1 von 1 Punkt") << row.shown;
        std::getline(lines, line);
        std::getline(lines, line);
        EXPECT_EQ(line, "  Datei " + row.shown + " kann nicht geöffnet werden.") << row.shown;
        EXPECT_NE(csvReport(task, {grade}).find("\r\n" + row.shown + ";1;1;\r\n"),
                  std::string::npos)
            << row.shown;
        EXPECT_NE(htmlReport(task, {grade}).find("<tr><th>" + row.shown + "</th>"),
                  std::string::npos)
            << row.shown;
    }
}

// A spreadsheet takes a field that begins with one of "=+-@", a tab or a carriage return for a
// formula; the quote in front makes it text. The points stay numbers.
TEST(Reports, CsvFieldsThatWouldBeFormulasBecomeText) {
    const struct {
        std::string text;
        std::string field;
    } rows[] = {
        {"=HYPERLINK(\"http://x.invalid\";\"Hier\").prg",
         "\"'=HYPERLINK(\"\"http://x.invalid\"\";\"\"Hier\"\").prg\""},
        {"=1+1.prg", "'=1+1.prg"},
        {"+1.prg", "'+1.prg"},
        {"-1.prg", "'-1.prg"},
        {"@SUMME(A1).prg", "'@SUMME(A1).prg"},
        {"\t=1.prg", "'\\t=1.prg"},
        {"\r=1.prg", "'\\r=1.prg"},
        {"a=1+1.prg", "a=1+1.prg"},
        {"1.prg", "1.prg"},
        {"'=1.prg", "'=1.prg"},
    };
    for (const auto& row : rows) {
        Task task;
        TaskCase c;
        c.name = row.text;
        c.points = 2;
        task.cases.push_back(c);
        ProgramGrade graded;
        graded.name = row.text;
        graded.cases.push_back({2, {}});
        graded.points = 2;
        ProgramGrade unread;
        unread.name = "weg.prg";
        unread.error = row.text;
        EXPECT_EQ(csvReport(task, {graded, unread}), "\xEF\xBB\xBFProgramm;" + row.field +
                                                         ";Summe;Fehler\r\n" + row.field +
                                                         ";2;2;\r\nweg.prg;;;" + row.field + "\r\n")
            << row.text;
    }
}

// A program that could not be read has no score: it is named with its message, and the mean
// is that of the programs graded.
TEST(Reports, AnUnreadProgramIsNotGradedAndLeftOutOfTheMean) {
    Task task;
    TaskCase c;
    c.name = "A";
    c.points = 4;
    task.cases.push_back(c);
    const auto read = [](const std::string& name, std::int64_t points) {
        ProgramGrade grade;
        grade.name = name;
        grade.cases.push_back(
            {points, points == 4 ? std::vector<Deviation>{}
                                 : std::vector<Deviation>{{"Akku", "1", "2", "Akku 2 statt 1"}}});
        grade.points = points;
        return grade;
    };
    ProgramGrade unread;
    unread.name = "weg.prg";
    unread.error = "Datei weg.prg kann nicht geöffnet werden. Datei nicht gefunden.";
    const struct {
        std::vector<ProgramGrade> grades;
        std::string summary;
    } rows[] = {
        {{read("a.prg", 4), unread},
         "2 Programme, 1 nicht bewertet, 1 mit voller Punktzahl, im Mittel 4,0 von 4 Punkten"},
        {{read("a.prg", 4), read("b.prg", 0), unread, unread},
         "4 Programme, 2 nicht bewertet, 1 mit voller Punktzahl, im Mittel 2,0 von 4 Punkten"},
        {{unread}, "1 Programm, 1 nicht bewertet"},
        {{unread, unread}, "2 Programme, 2 nicht bewertet"},
        {{read("a.prg", 4), read("b.prg", 0)},
         "2 Programme, 1 mit voller Punktzahl, im Mittel 2,0 von 4 Punkten"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(summaryLine(task, row.grades), row.summary);
        std::ostringstream out;
        writeConsoleReport(task, row.grades, out);
        EXPECT_NE(out.str().find("\n" + row.summary + "\n"), std::string::npos) << out.str();
        const std::string page = htmlReport(task, row.grades);
        EXPECT_NE(page.find("<p>" + row.summary + "</p>"), std::string::npos) << row.summary;
    }
    std::ostringstream out;
    writeConsoleReport(task, {unread}, out);
    EXPECT_EQ(out.str(),
              "weg.prg: nicht bewertet\n  " + unread.error + "\n1 Programm, 1 nicht bewertet\n");
    const std::string page = htmlReport(task, {unread});
    EXPECT_NE(page.find("<tr><th>weg.prg</th><td class=\"fehlt\">–</td><td>nicht bewertet</td>"),
              std::string::npos)
        << page;
    EXPECT_EQ(page.find("0 von 4"), std::string::npos) << page;
}

// Reading a class folder must not read what lies outside it: a learner's link to another
// user's file would put that file's first letters into the message. A link that stays in the
// folder is graded as the file it names; a program named on the command line is read as given.
TEST(GradeCommand, ALinkLeavingTheClassFolderIsSkipped) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need rights on Windows that a test cannot count on";
#endif
    const std::string skipped =
        "nicht bewertet\n  übersprungen: Verknüpfung auf eine Datei außerhalb des Ordners";
    const struct {
        std::string target;  // of klasse/link.prg
        std::string line;    // what the console says of it
    } rows[] = {
        {"echt.prg", "1 von 1 Punkt"},
        {"tiefer/d.prg", "1 von 1 Punkt"},
        {"../klasse/echt.prg", "1 von 1 Punkt"},
        {"../geheim.prg", skipped},
        {"", skipped},                   // the outside file by its absolute path
        {"zwischen", skipped},           // a link in the folder leading on to the outside
        {"../klasse-2/x.prg", skipped},  // a folder whose name begins like the class's
    };
    for (const auto& row : rows) {
        const std::string dir = freshFolder("links");
        fs::create_directories(dir + "/klasse/tiefer");
        fs::create_directories(dir + "/klasse-2");
        writeBytes(dir + "/klasse/echt.prg", "STP\r\n");
        writeBytes(dir + "/klasse/tiefer/d.prg", "STP\r\n");
        writeBytes(dir + "/geheim.prg", "STP\r\n");
        writeBytes(dir + "/klasse-2/x.prg", "STP\r\n");
        writeBytes(dir + "/a.toml", "[[fall]]\nname = \"A\"\n");
        std::error_code error;
        fs::create_symlink("../geheim.prg", dir + "/klasse/zwischen", error);
        fs::create_symlink(
            row.target.empty() ? fs::path(dir + "/geheim.prg") : fs::path(row.target),
            dir + "/klasse/link.prg", error);
        if (error) {
            GTEST_SKIP() << "no symbolic links here: " << error.message();
        }
        std::ostringstream out, err;
        EXPECT_EQ(gradeCommand({dir + "/a.toml", dir + "/klasse"}, out, err), kGraded);
        EXPECT_EQ(err.str(), "");
        const std::string whole = out.str();
        const std::size_t at = whole.find("link.prg: ");
        ASSERT_NE(at, std::string::npos) << whole;
        EXPECT_EQ(whole.substr(at, whole.find('\n', at + row.line.size()) - at),
                  "link.prg: " + row.line)
            << row.target;

        // Named on its own, the link is the teacher's choice.
        out.str("");
        EXPECT_EQ(gradeCommand({dir + "/a.toml", dir + "/klasse/link.prg"}, out, err), kGraded);
        EXPECT_EQ(out.str().substr(0, out.str().find('\n')), "link.prg: 1 von 1 Punkt");
    }
}

TEST(GradeArguments, RefusesWhatItCannotUse) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"a.toml"},
        {"--jobs", "0", "a.toml", "p.prg"},
        {"--jobs", "00001", "a.toml", "p.prg"},  // five digits, whatever their value
        {"--jobs", "zwei", "a.toml", "p.prg"},
        {"a.toml", "p.prg", "--jobs"},
        {"--csv", "a.csv", "--csv", "b.csv", "a.toml", "p.prg"},
        {"a.toml", "p.prg", "--html"},
        {"--verbose", "a.toml", "p.prg"},
    };
    for (const auto& args : bad) {
        std::ostringstream out, err;
        EXPECT_EQ(gradeCommand(args, out, err), kGradeUsage) << args.size();
        EXPECT_EQ(err.str().rfind("quarzel-grade: ", 0), 0u) << err.str();
        EXPECT_NE(err.str().find("Aufruf: quarzel-grade"), std::string::npos);
        EXPECT_EQ(out.str(), "");
    }
    const GradeParse ok =
        parseGradeArguments({"--html", "h.html", "a.toml", "--jobs", "3", "x", "--csv", "c", "y"});
    ASSERT_TRUE(ok.options) << ok.problem;
    EXPECT_EQ(ok.options->task, "a.toml");
    EXPECT_EQ(ok.options->paths, (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(ok.options->jobs, 3u);
    EXPECT_EQ(ok.options->csv, "c");
    EXPECT_EQ(ok.options->html, "h.html");
}

TEST(GradeCommand, RefusedTaskOrUnwritableReportIsStatusFour) {
    const std::string dir = freshFolder("status");
    writeBytes(dir + "/p.prg", "STP\r\n");
    writeBytes(dir + "/a.toml", "[[fall]]\nname = \"A\"\n");
    writeBytes(dir + "/bad.toml", "[[fall]]\nname = \"A\"\nakku = 1\n");
    std::ostringstream out, err;
    EXPECT_EQ(gradeCommand({dir + "/bad.toml", dir + "/p.prg"}, out, err), kGradeUsage);
    EXPECT_EQ(out.str(), "");  // nothing ran
    EXPECT_EQ(err.str(),
              "quarzel-grade: " + dir +
                  "/bad.toml, Zeile 3, Schlüssel \"fall.akku\": unbekannter Schlüssel\n");
    err.str("");
    EXPECT_EQ(
        gradeCommand({"--csv", dir + "/nirgends/x.csv", dir + "/a.toml", dir + "/p.prg"}, out, err),
        kGradeUsage);
    EXPECT_EQ(out.str(),
              "p.prg: 1 von 1 Punkt\n1 Programm, 1 mit voller Punktzahl, im Mittel 1,0 "
              "von 1 Punkt\n");
    EXPECT_EQ(err.str().rfind("quarzel-grade: Datei ", 0), 0u) << err.str();
}

}  // namespace
}  // namespace quarzel::grading
