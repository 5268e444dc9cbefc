// The grading layer: task files it refuses, how each kind of case end is told, and the order
// of a class.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "grading/case_end_text.h"
#include "grading/case_run.h"
#include "grading/class_list.h"
#include "grading/grader.h"
#include "grading/task_file.h"
#include "temp_folder.h"

namespace quarzel::grading {
namespace {

namespace fs = std::filesystem;

using testing::freshFolder;
using testing::writeBytes;

// ---- task files --------------------------------------------------------------------------

TEST(TaskFile, ReadsEveryKey) {
    const std::string dir = freshFolder("keys");
    std::string data;
    for (int n = 1; n <= 512; ++n) {
        data += std::to_string(n) + ":" + (n == 3 ? "7" : "0") + ":\r\n";
    }
    writeBytes(dir + "/d.dta", data);
    const TaskLoad load = parseTask(R"(titel = "T"
schrittgrenze = 100_000_000
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
anfang = { 2 = "-3", 1 = 5 }
)",
                                    dir + "/a.toml");
    ASSERT_TRUE(load.task) << load.problem;
    const Task& task = *load.task;
    EXPECT_EQ(task.title, "T");
    EXPECT_EQ(task.stepLimit, 100000000u);  // the largest limit taken
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
    EXPECT_EQ(two.start, (std::vector<std::pair<int, std::string>>{{1, "5"}, {2, "-3"}}));
    EXPECT_EQ(task.totalPoints(), 4);
}

// A page gets no folder with the task file: it asks for these names, then puts each file where
// taskDataPath says the reader looks.
TEST(TaskFile, NamesItsDataFilesBeforeReadingThem) {
    const struct {
        const char* text;
        std::vector<std::string> names;
    } rows[] = {
        {"[[fall]]\nname = \"A\"\ndaten = \"../d.dta\"\n[[fall]]\nname = \"B\"\n"
         "anfang = { 1 = 2 }\n[[fall]]\nname = \"C\"\ndaten = \"e.dta\"\n"
         "[[fall]]\nname = \"D\"\ndaten = \"../d.dta\"\n",
         {"../d.dta", "e.dta"}},
        {"[[fall]]\nname = \"A\"\ndaten = 5\n", {}},
        {"fall = 3\n", {}},
        {"titel = \"ohne Fälle\"\n", {}},
        {"[[fall]\ndaten = \"d.dta\"\n", {}},
        {"daten = \"d.dta\"\n", {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(taskDataNames(row.text), row.names) << row.text;
    }

    const std::string dir = freshFolder("names");
    fs::create_directories(dir + "/aufgabe");
    const std::string task = dir + "/aufgabe/a.toml";
    std::string data;
    for (int n = 1; n <= 512; ++n) {
        data += std::to_string(n) + ":" + (n == 1 ? "9" : "0") + ":\r\n";
    }
    writeBytes(taskDataPath(task, "../d.dta"), data);
    const TaskLoad load = parseTask(rows[0].text, task);
    ASSERT_FALSE(load.task);
    // The one file not put in place is the one refused.
    EXPECT_EQ(load.problem.rfind(task + ", Zeile 9, Schlüssel \"fall.daten\": ", 0), 0u)
        << load.problem;
    writeBytes(taskDataPath(task, "e.dta"), data);
    const TaskLoad whole = parseTask(rows[0].text, task);
    ASSERT_TRUE(whole.task) << whole.problem;
    EXPECT_EQ(whole.task->cases[0].data, data);
}

// quarzel-grade and both task panels read a task file through loadTask, so each refuses an
// oversized one with the same words, without reading it.
TEST(TaskFile, RefusedBySizeBeforeItIsRead) {
    const std::string dir = freshFolder("size");
    const std::string task = "[[fall]]\nname = \"A\"\n# ";
    for (const std::size_t size : {kMaxTaskFileBytes, kMaxTaskFileBytes + 1}) {
        const std::string path = dir + "/a" + std::to_string(size) + ".toml";
        writeBytes(path, task + std::string(size - task.size(), 'x'));
        const TaskLoad load = loadTask(path);
        EXPECT_EQ(load.task ? "" : load.problem,
                  size == kMaxTaskFileBytes
                      ? ""
                      : "Datei " + path + " ist zu groß für eine Aufgabendatei (höchstens 1 MiB)");
    }
}

TEST(Grading, InputsAsATaskPanelListsThem) {
    TaskCase taskCase;
    EXPECT_EQ(inputsText(taskCase), "keine");
    taskCase.inputs = {"3", "$1F", "-4"};
    EXPECT_EQ(inputsText(taskCase), "3, $1F, -4");
}

TEST(TaskFile, RefusesWithFileLineAndKey) {
    const std::string dir = freshFolder("refused");
    std::string table;  // a whole data table but for the lines changed below
    for (int n = 1; n <= 512; ++n) {
        table += std::to_string(n) + ":0:\r\n";
    }
    writeBytes(dir + "/ganz.dta", table);
    writeBytes(dir + "/kurz.dta", "1:1:\r\n");
    std::string noColons = table;
    noColons.replace(noColons.find("7:0:"), 4, "7 0");
    writeBytes(dir + "/ohne.dta", noColons);
    std::string notNumber = table;
    notNumber.replace(notNumber.find("3:0:"), 4, "3:abc:");
    writeBytes(dir + "/abc.dta", notNumber);
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
        {"schrittgrenze = 0\n[[fall]]\nname = \"A\"\n",
         "a.toml, Zeile 1, Schlüssel \"schrittgrenze\": Zahl von 1 bis 100000000 erwartet"},
        // One case could run for minutes: refused like any value out of range.
        {"titel = \"T\"\nschrittgrenze = 100000001\n[[fall]]\nname = \"A\"\n",
         "a.toml, Zeile 2, Schlüssel \"schrittgrenze\": Zahl von 1 bis 100000000 erwartet"},
        {"schrittgrenze = 9223372036854775807\n[[fall]]\nname = \"A\"\n",
         "a.toml, Zeile 1, Schlüssel \"schrittgrenze\": Zahl von 1 bis 100000000 erwartet"},
        {"[[fall]]\nname = \"A\"\npunkte = 0\n[[fall]]\nname = \"B\"\npunkte = 0\n",
         "a.toml, Schlüssel \"fall.punkte\": alle Fälle zusammen geben 0 Punkte"},
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
         "a.toml, Zeile 5, Schlüssel \"fall.erwartet.zellen.5\": ganze Zahl oder Text erwartet"},
        {head + "anfang = { 5 = 1.5 }\n",
         "a.toml, Zeile 4, Schlüssel \"fall.anfang.5\": ganze Zahl oder Text erwartet"},
        {head + "anfang = { 600 = 1 }\n",
         "a.toml, Zeile 4, Schlüssel \"fall.anfang.600\": Zellnummer von 1 bis 512 erwartet"},
        {head + "anfang = { 2 = \"x1\" }\n",
         "a.toml, Zeile 4, Schlüssel \"fall.anfang\": die Anfangswerte bestehen die "
         "Datenprüfung nicht: Fehler in Zeile 2: x1 ist keine Zahl!"},
        {head + "daten = \"ganz.dta\"\nanfang = { 1 = 1 }\n",
         "a.toml, Zeile 5, Schlüssel \"fall.anfang\": nur eines von \"anfang\" und \"daten\" "
         "angeben"},
        {head + "daten = \"kurz.dta\"\n",
         "a.toml, Zeile 4, Schlüssel \"fall.daten\": \"kurz.dta\" ist keine vollständige "
         "Datentabelle: nur 1 von 512 Zeilen"},
        {head + "daten = \"ohne.dta\"\n",
         "a.toml, Zeile 4, Schlüssel \"fall.daten\": \"ohne.dta\" ist keine vollständige "
         "Datentabelle: in Zeile 7 fehlen die zwei Doppelpunkte"},
        {head + "daten = \"abc.dta\"\n",
         "a.toml, Zeile 4, Schlüssel \"fall.daten\": \"abc.dta\" besteht die Datenprüfung "
         "nicht: Fehler in Zeile 3: abc ist keine Zahl!"},
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
        const TaskLoad load = parseTask(row.text, dir + "/a.toml");
        const std::string message = dir + "/" + row.message;
        EXPECT_FALSE(load.task) << row.text;
        EXPECT_EQ(load.problem.substr(0, message.size()), message) << row.text;
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
        {"LAD 1\r\nADD 2\r\nOUT\r\nSTP\r\n",
         "anfang = { 1 = 5, 2 = \"-3\" }\n[fall.erwartet]\nfenster = 2\nzellen = { 3 = 0 }\n", ""},
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
    CaseInput input;
    input.program = "CLA\r\nMRK A\r\nINC\r\nJMP B\r\nMRK B\r\nDEC\r\nJMP A\r\nSTP\r\n";
    input.maxSteps = 10000000;
    input.detectLoops = true;
    const CaseResult result = runCase(input);
    EXPECT_EQ(result.end, CaseEnd::EndlessLoop);
    EXPECT_LT(result.steps, 1000u);
}

// ---- the typed end of a case and its words -----------------------------------------------

TEST(CaseEnds, TheTypeAloneGivesTheLineTheRunShowedLast) {
    struct Row {
        std::string program;
        std::optional<std::string> data;
        std::vector<std::pair<int, std::string>> cells;
        CaseEnd end;
        bool ran;
        std::string text;
    };
    const Row rows[] = {
        {"CLA\r\nSTP\r\n", {}, {}, CaseEnd::Stopped, true, "STP"},
        {"CLA\r\nDIV 1\r\nSTP\r\n",
         {},
         {},
         CaseEnd::RunTimeError,
         true,
         "Laufzeitfehler: Division durch Null"},
        {"LAD 1\r\nINC\r\nSTP\r\n",
         {},
         {{1, "2147483647"}},
         CaseEnd::SystemError,
         true,
         "Quarzel 3: Integerüberlauf."},
        {"LAD 5X\r\nSTP\r\n",
         {},
         {},
         CaseEnd::SystemError,
         false,
         "Quarzel 3: '5X' ist kein gültiger Integerwert."},
        {"LAD 1\r\nFOO\r\nSTP\r\n",
         {},
         {},
         CaseEnd::ProgramCheckFailed,
         false,
         "Programmfehler: Fehler in Zeile 2: FOO ist kein gültiger Befehl"},
        {"STP\r\n",
         {},
         {{4, "vier"}},
         CaseEnd::DataCheckFailed,
         false,
         "Datenfehler: Fehler in Zeile 4: vier ist keine Zahl!"},
        {"STP\r\n",
         std::string("1:1:\r\n"),
         {},
         CaseEnd::DataUnreadable,
         false,
         "Quarzel 3: Listenindex überschreitet das Maximum (1)"},
        {"MRK A\r\nINC\r\nJMP A\r\nSTP\r\n",
         {},
         {},
         CaseEnd::StepLimit,
         true,
         "Quarzel 3: Schrittgrenze erreicht."},
        {"CLA\r\nMRK A\r\nJMP A\r\nSTP\r\n",
         {},
         {},
         CaseEnd::EndlessLoop,
         true,
         "Quarzel 3: Endlosschleife ab Zeile 2 erkannt."},
    };
    for (const Row& row : rows) {
        CaseInput input;
        input.program = row.program;
        input.data = row.data;
        input.cells = row.cells;
        input.maxSteps = 50;
        input.detectLoops = true;
        const CaseResult result = runCase(input);
        EXPECT_EQ(result.end, row.end) << row.program;
        EXPECT_EQ(result.ran, row.ran) << row.program;
        EXPECT_EQ(endText(result), row.text) << row.program;
        if (row.end != CaseEnd::Stopped) {
            ASSERT_FALSE(result.messages.empty()) << row.program;
            EXPECT_EQ(result.messages.back(), row.text);
        }
    }
}

// ---- a class and its order ---------------------------------------------------------------

TEST(ClassList, SortsAsATeacherSortsNames) {
    // Each row's names in the order a class list has them.
    const std::vector<std::vector<std::string>> rows = {
        {"anna.prg", "Bert.prg", "carla.prg"},
        {"p2.prg", "p10.prg", "P11.prg"},
        {"p007.prg", "p8.prg"},
        {"Ärger.prg", "Bach.prg"},
        {"Möbius.prg", "Mona.prg", "Mueller.prg", "Muller.prg", "Müller.prg"},
        {"Strasse.prg", "Straße.prg", "Strasser.prg"},
        {"Ü2.prg", "u10.prg"},
    };
    for (const auto& row : rows) {
        for (std::size_t i = 0; i + 1 < row.size(); ++i) {
            EXPECT_TRUE(classListLess(row[i], row[i + 1])) << row[i] << " / " << row[i + 1];
            EXPECT_FALSE(classListLess(row[i + 1], row[i])) << row[i + 1] << " / " << row[i];
        }
    }
}

TEST(ClassList, EachFileOnceHoweverItsPathIsWritten) {
    const std::string dir = freshFolder("twice");
    fs::create_directories(dir + "/abg");
    writeBytes(dir + "/abg/a.prg", "STP\r\n");
    writeBytes(dir + "/abg/b.prg", "STP\r\n");
    const std::vector<FoundProgram> found =
        findPrograms({dir + "/abg/a.prg", dir + "/./abg/a.prg", dir + "/abg/../abg/a.prg",
                      dir + "/abg", dir + "/abg/"});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "a.prg");
    EXPECT_EQ(found[0].path, dir + "/abg/a.prg");
    EXPECT_EQ(found[1].name, "b.prg");
}

}  // namespace
}  // namespace quarzel::grading
