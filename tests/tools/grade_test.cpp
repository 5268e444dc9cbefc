// The grader in process: task files it refuses, how each kind of failure is told, the order
// of results on several threads, and the escaping of the reports.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "grade_command.h"
#include "grade_report.h"
#include "grader.h"
#include "task_file.h"

namespace quarzel::grading {
namespace {

namespace fs = std::filesystem;

std::string tempDir(const std::string& name) {
    const fs::path dir = fs::path(::testing::TempDir()) / ("quarzel_grade_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir.string();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// ---- task files --------------------------------------------------------------------------

TEST(TaskFile, ReadsEveryKey) {
    const std::string dir = tempDir("keys");
    std::string data;
    for (int n = 1; n <= 512; ++n) {
        data += std::to_string(n) + ":" + (n == 3 ? "7" : "0") + ":\r\n";
    }
    writeFile(dir + "/d.dta", data);
    const TaskLoad load = parseTask(R"(titel = "T"
schrittgrenze = 500
[[fall]]
name = "Eins"
daten = "d.dta"
eingaben = ["5", "$1F"]
punkte = 3
[fall.erwartet]
ende = "Laufzeitfehler: Division durch Null"
akku = -1
stack = 511
zellen = { 12 = "x", 3 = 7 }
[[fall]]
name = "Zwei"
)",
                                    dir + "/a.toml");
    ASSERT_TRUE(load.task) << load.problem;
    const Task& task = *load.task;
    EXPECT_EQ(task.title, "T");
    EXPECT_EQ(task.stepLimit, 500u);
    ASSERT_EQ(task.cases.size(), 2u);
    const TaskCase& one = task.cases[0];
    EXPECT_EQ(one.name, "Eins");
    EXPECT_EQ(one.data, data);
    EXPECT_EQ(one.inputs, (std::vector<std::string>{"5", "$1F"}));
    EXPECT_EQ(one.points, 3);
    EXPECT_EQ(one.expected.end, "Laufzeitfehler: Division durch Null");
    EXPECT_EQ(one.expected.registers[0], -1);
    EXPECT_FALSE(one.expected.registers[1]);
    EXPECT_EQ(one.expected.registers[4], 511);
    EXPECT_EQ(one.expected.cells, (std::vector<std::pair<int, std::string>>{{3, "7"}, {12, "x"}}));
    const TaskCase& two = task.cases[1];
    EXPECT_EQ(two.points, 1);
    EXPECT_EQ(two.expected.end, "STP");
    EXPECT_FALSE(two.data);
    EXPECT_EQ(task.totalPoints(), 4);
}

TEST(TaskFile, RefusesWithFileLineAndKey) {
    const std::string head = "titel = \"T\"\n[[fall]]\nname = \"A\"\n";  // lines 1 to 3
    struct Row {
        std::string text;
        std::string message;
    };
    const Row rows[] = {
        {"titel = \"T\"\n", "a.toml, Schlüssel \"fall\": kein Fall angegeben ([[fall]] fehlt)"},
        {"titel = \"T\"\nfall = 3\n",
         "a.toml, Zeile 2, Schlüssel \"fall\": Liste von Fällen [[fall]] erwartet"},
        {head + "farbe = 1\n", "a.toml, Zeile 4, Schlüssel \"fall.farbe\": unbekannter Schlüssel"},
        {"titel = \"T\"\ntempo = 1\n[[fall]]\nname = \"A\"\n",
         "a.toml, Zeile 2, Schlüssel \"tempo\": unbekannter Schlüssel"},
        {"titel = 1\n[[fall]]\nname = \"A\"\n",
         "a.toml, Zeile 1, Schlüssel \"titel\": Text erwartet"},
        {"schrittgrenze = -1\n[[fall]]\nname = \"A\"\n",
         "a.toml, Zeile 1, Schlüssel \"schrittgrenze\": Zahl ab 0 erwartet"},
        {head + "punkte = \"2\"\n",
         "a.toml, Zeile 4, Schlüssel \"fall.punkte\": ganze Zahl erwartet"},
        {head + "eingaben = [\"1\", 2]\n",
         "a.toml, Zeile 4, Schlüssel \"fall.eingaben\": Text erwartet"},
        {head + "erwartet = 5\n", "a.toml, Zeile 4, Schlüssel \"fall.erwartet\": Tabelle erwartet"},
        {head + "[fall.erwartet]\nakku = 2147483648\n",
         "a.toml, Zeile 5, Schlüssel \"fall.erwartet.akku\": Zahl von -2147483648 bis 2147483647 "
         "erwartet"},
        {head + "[fall.erwartet]\nakku = 1\nzellen = { 513 = \"1\" }\n",
         "a.toml, Zeile 6, Schlüssel \"fall.erwartet.zellen.513\": Zellnummer von 1 bis 512 "
         "erwartet"},
        {head + "[fall.erwartet]\nzellen = { 0 = \"1\" }\n",
         "a.toml, Zeile 5, Schlüssel \"fall.erwartet.zellen.0\": Zellnummer von 1 bis 512 "
         "erwartet"},
        {head + "[fall.erwartet]\nzellen = { 5 = true }\n",
         "a.toml, Zeile 5, Schlüssel \"fall.erwartet.zellen.5\": Text erwartet"},
        {head + "[fall.erwartet]\nregister = 1\n",
         "a.toml, Zeile 5, Schlüssel \"fall.erwartet.register\": unbekannter Schlüssel"},
        {"[[fall]]\npunkte = 1\n", "a.toml, Zeile 1, Schlüssel \"fall.name\": fehlt"},
        {head + "[[fall]]\nname = \"A\"\n",
         "a.toml, Zeile 5, Schlüssel \"fall.name\": Fall \"A\" gibt es schon"},
        {head + "daten = \"fehlt.dta\"\n", "a.toml, Zeile 4, Schlüssel \"fall.daten\": Datei "},
        {head + "name = \"B\"\n", "a.toml, Zeile 4, Spalte "},  // the library refuses duplicates
        {"titel = \"T\"\n[[fall]\n", "a.toml, Zeile 2, Spalte "},
        // Of several problems the one nearest the top is told.
        {"[[fall]]\nname = \"A\"\nx = 1\n[[fall]]\nname = 2\n",
         "a.toml, Zeile 3, Schlüssel \"fall.x\": unbekannter Schlüssel"},
    };
    for (const Row& row : rows) {
        const TaskLoad load = parseTask(row.text, "a.toml");
        EXPECT_FALSE(load.task) << row.text;
        EXPECT_EQ(load.problem.substr(0, row.message.size()), row.message) << row.text;
    }
}

TEST(TaskFile, NonAsciiOnlyInsideStringsAndComments) {
    struct Row {
        std::string text;
        std::string titleOrProblem;
    };
    const std::string bad =
        ": kein gültiges TOML (Umlaute und andere Sonderzeichen nur in \"Texten\" und Kommentaren)";
    const Row rows[] = {
        {"titel = 'Ä' # Größe\n", "Ä"},
        {"\xEF\xBB\xBFtitel = \"Ü\"\n", "Ü"},
        {"titel = \"\\\"ä\\\"\"\n", "\"ä\""},
        {"titel = '''ä\nö'''\n", "ä\nö"},
        {"titel = \"\"\"a \\\r\n   Überlauf\"\"\"\n", "a Überlauf"},
        {"titel = \"\"\"x\"\"\"\"\n", "x\""},
        {"größe = 1\n", "a.toml, Zeile 1, Spalte 3" + bad},
        {"titel = \"x\"\nakku = 5Ü\n", "a.toml, Zeile 2, Spalte 9" + bad},
        {"titel = \"\"\"\\Ü\"\"\"\n", "a.toml, Zeile 1, Spalte 13" + bad},
        {"titel = \"\"\"x\"\"\"\"\nä = 1\n", "a.toml, Zeile 2, Spalte 1" + bad},
        {"titel=\"Ü\"\n", "Ü"},
        {"extra.\"Ü\" = [1, \"Ä\",\n'Ö', {a.'ß' = 1}]\n",
         "a.toml, Zeile 1, Schlüssel \"extra\": unbekannter Schlüssel"},
        // A quote inside a value that is read to its end begins no string.
        {"titel = V\"Ü\"\n", "a.toml, Zeile 1, Spalte 11" + bad},
        {"titel = 5.\"\"\"Ü\"\"\"\n", "a.toml, Zeile 1, Spalte 14" + bad},
        {"titel = [1,\n5=\"Ü\"]\n", "a.toml, Zeile 2, Spalte 4" + bad},
    };
    for (const Row& row : rows) {
        const TaskLoad load = parseTask(row.text + "[[fall]]\nname = \"A\"\n", "a.toml");
        EXPECT_EQ(load.task ? load.task->title : load.problem, row.titleOrProblem) << row.text;
    }
}

TEST(TaskFile, DataFileThatIsNoDataFileIsRefused) {
    const std::string dir = tempDir("baddata");
    writeFile(dir + "/kurz.dta", "1:1:\r\n");
    const TaskLoad load =
        parseTask("[[fall]]\nname = \"A\"\ndaten = \"kurz.dta\"\n", dir + "/a.toml");
    EXPECT_EQ(load.problem, dir +
                                "/a.toml, Zeile 3, Schlüssel \"fall.daten\": Listenindex "
                                "überschreitet das Maximum (1)");
}

// ---- one case of each failure kind -------------------------------------------------------

struct KindRow {
    std::string program;
    std::string setup;  // the case's TOML lines after the name
    std::string line;   // what the console says, "" for a pass
};

std::string gradeOne(const KindRow& row) {
    const TaskLoad load =
        parseTask("schrittgrenze = 200\n[[fall]]\nname = \"F\"\n" + row.setup, "a.toml");
    if (!load.task) {
        return "task: " + load.problem;
    }
    const Task& task = *load.task;
    const auto grades = gradeAll(task, {{"p.prg", row.program, ""}}, 1);
    const CaseGrade& grade = grades.at(0).cases.at(0);
    return grade.passed() ? "" : failureLine(task.cases[0], grade);
}

TEST(Grading, EachKindOfFailureInOneLine) {
    const KindRow rows[] = {
        {"LAD 1\r\nINC\r\nOUT\r\nSTP\r\n", "[fall.erwartet]\nakku = 1\nfenster = 2\n",
         "Fall \"F\": Fenster 1 statt 2"},
        {"CLA\r\nINC\r\nSTO 5\r\nSTP\r\n", "[fall.erwartet]\nakku = 2\nzellen = { 5 = \"2\" }\n",
         "Fall \"F\": Akku 1 statt 2, Zelle 5 \"1\" statt \"2\""},
        {"CLA\r\nSTP\r\n", "[fall.erwartet]\nakku = 0\nzellen = { 5 = 0 }\n", ""},
        {"CLA\r\nMRK A\r\nINC\r\nDEC\r\nJMP A\r\nSTP\r\n", "",
         "Fall \"F\": Endlosschleife ab Zeile 2"},
        {"MRK A\r\nINC\r\nJMP A\r\nSTP\r\n", "", "Fall \"F\": Schrittgrenze (200) erreicht"},
        {"CLA\r\nINC\r\nDIV 1\r\nSTP\r\n", "",
         "Fall \"F\": endet mit \"Laufzeitfehler: Division durch Null\" statt \"STP\""},
        {"CLA\r\nINC\r\nDIV 1\r\nSTP\r\n",
         "[fall.erwartet]\nende = \"Laufzeitfehler: Division durch Null\"\n", ""},
        {"STP\r\n", "[fall.erwartet]\nende = \"Quarzel 3: Integerüberlauf.\"\n",
         "Fall \"F\": endet mit \"STP\" statt \"Quarzel 3: Integerüberlauf.\""},
        {"LAD 1\r\nFOO\r\nSTP\r\n", "",
         "Fall \"F\": Programmfehler: Fehler in Zeile 2: FOO ist kein gültiger Befehl"},
        {"INP\r\nSTO 3\r\nINP\r\nSTP\r\n",
         "eingaben = [\"x\", \"$1F\", \"-2\"]\n[fall.erwartet]\nakku = -2\nzellen = { 3 = \"31\" "
         "}\n",
         ""},
    };
    for (const KindRow& row : rows) {
        EXPECT_EQ(gradeOne(row), row.line) << row.program << row.setup;
    }
}

TEST(Grading, EndlessLoopIsFoundWithoutReachingTheStepLimit) {
    headless::CaseInput input;
    input.program = "CLA\r\nMRK A\r\nINC\r\nJMP B\r\nMRK B\r\nDEC\r\nJMP A\r\nSTP\r\n";
    input.maxSteps = 10000000;
    input.detectLoops = true;
    const headless::CaseResult result = headless::runCase(input);
    EXPECT_EQ(result.end, headless::CaseEnd::EndlessLoop);
    EXPECT_LT(result.steps, 1000u);
}

// ---- order and reports -------------------------------------------------------------------

TEST(Grading, ResultsFollowTheSortedNamesWhateverTheThreads) {
    const std::string dir = tempDir("order");
    fs::create_directories(dir + "/klasse/tiefer");
    // Long and short runs mixed, so that threads finish out of order.
    const char* names[] = {"z.prg", "B.PRG", "m.prg", "a.prg", "k.prg", "c.prg", "y.prg"};
    std::string longRun;
    for (int i = 0; i < 20000; ++i) {
        longRun += "INC\r\n";
    }
    for (std::size_t i = 0; i < std::size(names); ++i) {
        writeFile(dir + "/klasse/" + names[i], (i % 2 ? longRun : "") + "STP\r\n");
    }
    writeFile(dir + "/klasse/notiz.txt", "x");
    writeFile(dir + "/klasse/tiefer/d.prg", "STP\r\n");
    writeFile(dir + "/einzeln.prg", "STP\r\n");
    writeFile(dir + "/klasse/einzeln.prg", "STP\r\n");
    writeFile(dir + "/a.toml", "[[fall]]\nname = \"A\"\n[[fall]]\nname = \"B\"\n");

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
                             "B.PRG", "a.prg", "c.prg", dir + "/einzeln.prg", inFolder, "fehlt.prg",
                             "k.prg", "m.prg", "y.prg", "z.prg",
                             "10 Programme, 9 mit voller Punktzahl, im Mittel 1,8 von 2 "
                             "Punkten"}));
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
    EXPECT_EQ(csv, "\xEF\xBB\xBFProgramm;\"a;b \"\"c\"\"\";Summe\r\n<b>.prg;0;0\r\n");
    const std::string page = htmlReport(task, {grade});
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_EQ(page.find("<x>"), std::string::npos);
    EXPECT_NE(page.find("<h1>&lt;Summe&gt; &amp; &quot;mehr&quot;</h1>"), std::string::npos);
    EXPECT_NE(page.find("<td>&quot;&lt;x&gt;&quot;</td><td>&quot;&amp;&quot;</td>"),
              std::string::npos);
    EXPECT_EQ(page.find("src="), std::string::npos);  // nothing is loaded from elsewhere
    EXPECT_EQ(page.find("<script"), std::string::npos);
}

TEST(GradeArguments, RefusesWhatItCannotUse) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"a.toml"},
        {"--jobs", "0", "a.toml", "p.prg"},
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
    const std::string dir = tempDir("status");
    writeFile(dir + "/p.prg", "STP\r\n");
    writeFile(dir + "/a.toml", "[[fall]]\nname = \"A\"\n");
    writeFile(dir + "/bad.toml", "[[fall]]\nname = \"A\"\nakku = 1\n");
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
