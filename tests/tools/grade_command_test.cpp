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

// A task of one case worth `points`, and a program that passed it or could not be read.
Task oneCase(const std::string& name, std::int64_t points) {
    Task task;
    task.cases.resize(1);
    task.cases[0].name = name;
    task.cases[0].points = points;
    return task;
}
ProgramGrade graded(const std::string& name, std::int64_t points) {
    return {name, "", {{points, {}}}, points};
}
ProgramGrade unread(const std::string& name, const std::string& error) {
    return {name, error, {}, 0};
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
        {"tab\tsoh\x01"
         "del\x7f.prg",
         "tab\\tsoh\\x01del\\x7f.prg"},
        {std::string("nul\0.prg", 8), "nul\\x00.prg"},
        {"csi\xC2\x9B"
         "2J.prg",
         "csi\\u009b2J.prg"},  // U+009B, a control character of its own
        {"lose\x9B"
         "2J.prg",
         "lose\\x9b2J.prg"},  // a byte that is no UTF-8 at all
        {"kurz\xC3.prg", "kurz\\xc3.prg"},
        {"Übung ß – \xE2\x82\xAC\\n.prg", "Übung ß – \xE2\x82\xAC\\n.prg"},
    };
    const Task task = oneCase("A", 1);
    for (const auto& row : rows) {
        const std::vector<ProgramGrade> grades = {graded(row.name, 1),
                                                  unread("u.prg", "Datei " + row.name + " fehlt.")};
        std::ostringstream out;
        writeConsoleReport(task, grades, out);
        EXPECT_EQ(out.str().rfind(row.shown + ": 1 von 1 Punkt\nu.prg: nicht bewertet\n  Datei " +
                                      row.shown + " fehlt.\n",
                                  0),
                  0u)
            << out.str();
        EXPECT_NE(csvReport(task, grades).find("\r\n" + row.shown + ";1;1;\r\n"), std::string::npos)
            << row.shown;
        EXPECT_NE(htmlReport(task, grades).find("<tr><th>" + row.shown + "</th>"),
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
        // As a case's name, a program's name and a message.
        EXPECT_EQ(csvReport(oneCase(row.text, 2), {graded(row.text, 2), unread("u.prg", row.text)}),
                  "\xEF\xBB\xBFProgramm;" + row.field + ";Summe;Fehler\r\n" + row.field +
                      ";2;2;\r\nu.prg;;;" + row.field + "\r\n")
            << row.text;
    }
}

// A program that could not be read has no score: it is named with its message, and the mean
// is that of the programs graded.
TEST(Reports, AnUnreadProgramIsNotGradedAndLeftOutOfTheMean) {
    const Task task = oneCase("A", 4);
    const ProgramGrade lost = unread("weg.prg", "Datei weg.prg fehlt.");
    const struct {
        std::vector<ProgramGrade> grades;
        std::string summary;
    } rows[] = {
        {{graded("a.prg", 4), lost},
         "2 Programme, 1 nicht bewertet, 1 mit voller Punktzahl, im Mittel 4,0 von 4 Punkten"},
        {{graded("a.prg", 4), graded("b.prg", 0), lost, lost},
         "4 Programme, 2 nicht bewertet, 1 mit voller Punktzahl, im Mittel 2,0 von 4 Punkten"},
        {{lost}, "1 Programm, 1 nicht bewertet"},
        {{lost, lost}, "2 Programme, 2 nicht bewertet"},
        {{graded("a.prg", 4), graded("b.prg", 0)},
         "2 Programme, 1 mit voller Punktzahl, im Mittel 2,0 von 4 Punkten"},
    };
    for (const auto& row : rows) {
        std::ostringstream out;
        writeConsoleReport(task, row.grades, out);
        EXPECT_NE(out.str().find("\n" + row.summary + "\n"), std::string::npos) << out.str();
        EXPECT_NE(htmlReport(task, row.grades).find("<p>" + row.summary + "</p>"),
                  std::string::npos)
            << row.summary;
    }
    std::ostringstream out;
    writeConsoleReport(task, {lost}, out);
    EXPECT_EQ(out.str(),
              "weg.prg: nicht bewertet\n  Datei weg.prg fehlt.\n1 Programm, 1 nicht "
              "bewertet\n");
    const std::string page = htmlReport(task, {lost});
    EXPECT_NE(page.find("<tr><th>weg.prg</th><td class=\"fehlt\">–</td><td>nicht bewertet</td>"),
              std::string::npos)
        << page;
}

// Reading a class folder must not read what lies outside it: a learner's link to another
// user's file would put that file's first letters into the message. A link that stays in the
// folder is graded as the file it names; a program named on the command line is read as given.
TEST(GradeCommand, ALinkLeavingTheClassFolderIsSkipped) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need rights on Windows that a test cannot count on";
#endif
    const std::string skipped =
        "nicht bewertet\n  übersprungen: Verknüpfung auf eine Datei außerhalb des Ordners\n";
    const struct {
        std::string target;  // of klasse/link.prg; "" for the outside file's absolute path
        std::string line;    // what the console says of it
    } rows[] = {
        {"echt.prg", "1 von 1 Punkt\n"},
        {"tiefer/d.prg", "1 von 1 Punkt\n"},
        {"../klasse/echt.prg", "1 von 1 Punkt\n"},
        {"../geheim.prg", skipped},
        {"", skipped},
        {"zwischen", skipped},           // a link in the folder leading on to the outside
        {"../klasse-2/x.prg", skipped},  // a folder whose name begins like the class's
    };
    for (const auto& row : rows) {
        const std::string dir = freshFolder("links");
        fs::create_directories(dir + "/klasse/tiefer");
        fs::create_directories(dir + "/klasse-2");
        for (const char* file :
             {"klasse/echt.prg", "klasse/tiefer/d.prg", "geheim.prg", "klasse-2/x.prg"}) {
            writeBytes(dir + "/" + file, "STP\r\n");
        }
        writeBytes(dir + "/a.toml", "[[fall]]\nname = \"A\"\n");
        std::error_code error;
        fs::create_symlink("../geheim.prg", dir + "/klasse/zwischen", error);
        if (!error) {
            fs::create_symlink(
                row.target.empty() ? fs::path(dir + "/geheim.prg") : fs::path(row.target),
                dir + "/klasse/link.prg", error);
        }
        if (error) {
            GTEST_SKIP() << "no symbolic links here: " << error.message();
        }
        std::ostringstream out, err;
        EXPECT_EQ(gradeCommand({dir + "/a.toml", dir + "/klasse"}, out, err), kGraded);
        EXPECT_EQ(out.str().rfind("echt.prg: 1 von 1 Punkt\nlink.prg: " + row.line, 0), 0u)
            << row.target << "\n"
            << out.str();

        // Named on its own, the link is the teacher's choice.
        out.str("");
        EXPECT_EQ(gradeCommand({dir + "/a.toml", dir + "/klasse/link.prg"}, out, err), kGraded);
        EXPECT_EQ(out.str().rfind("link.prg: 1 von 1 Punkt\n", 0), 0u) << out.str();
        EXPECT_EQ(err.str(), "");
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
