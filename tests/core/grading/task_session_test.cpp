// The task flow behind both task panels, on a workbench of fakes: what may be pressed, the
// worked example's task loaded, tested and a case taken over, and a refused file.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "fakes.h"
#include "files/program_file.h"
#include "grading/task_session.h"
#include "temp_folder.h"

namespace quarzel::grading {
namespace {

const std::string kTasks = QUARZEL_EXAMPLES_DIR "/aufgaben";

// Writes what the session reports into a log of its own.
class FakeTaskPanel : public TaskPanelView {
  public:
    std::vector<std::string> log;
    bool test = true;
    bool takeOver = true;

    void showTask(const std::string& title, const std::vector<CaseRow>& cases) override {
        std::string text = "task " + title;
        for (const CaseRow& c : cases) {
            text += "|" + c.name + "," + std::to_string(c.points) + "," + c.inputs;
        }
        log.push_back(text);
    }
    void showSelection(int row) override { log.push_back("select " + std::to_string(row)); }
    void showCaseResult(int row, bool passed, const std::string& text) override {
        log.push_back("result " + std::to_string(row) + (passed ? " + " : " - ") + text);
    }
    void showPoints(const std::string& text) override { log.push_back("points " + text); }
    void showTakenOver(const std::string& text) override { log.push_back("taken " + text); }
    void enableButtons(bool test_, bool takeOver_) override {
        test = test_;
        takeOver = takeOver_;
    }
};

struct Fixture {
    testing::TestBench t;
    FakeTaskPanel panel;
    TaskSession session{t.workbench, t.screen.prompts, panel, 2};

    void loadSumme() {
        ASSERT_TRUE(session.load(kTasks + "/summe.toml"));
        panel.log.clear();
    }
};

// Everything of the main window that testing must leave alone.
std::string mainWindow(const WorkbenchInternals& b) {
    const MachineState& m = b.machine;
    return std::to_string(m.VM_Running) + " " + std::to_string(m.VM_IP) + " " +
           std::to_string(m.VM_Accu) + " " + std::to_string(m.StepCount) + " " +
           std::to_string(m.InstructionList.size()) + " " + std::to_string(b.flags.ProgramChecked) +
           std::to_string(b.flags.DataChecked) + std::to_string(b.flags.DataModified) + " " +
           b.table.value(0) + b.table.comment(0) + " " + b.views.editor.text();
}

TEST(TaskSession, WhatMayBePressedFollowsTheTaskAndTheSelection) {
    Fixture f;
    EXPECT_FALSE(f.panel.test || f.panel.takeOver) << "no task yet";
    f.session.select(0);
    EXPECT_FALSE(f.panel.takeOver) << "no case to select";
    f.loadSumme();
    const struct {
        int select;
        bool takeOver;
    } rows[] = {{-1, false}, {2, true}, {3, false}, {1, true}, {-7, false}};
    for (const auto& row : rows) {
        f.session.select(row.select);
        EXPECT_TRUE(f.panel.test) << row.select;
        EXPECT_EQ(f.panel.takeOver, row.takeOver) << row.select;
        EXPECT_EQ(f.session.canTakeOver(), row.takeOver) << row.select;
    }
    // Pressed anyway (a page's button a moment before it is disabled): nothing happens.
    f.session.takeOver();
    EXPECT_EQ(f.panel.log, std::vector<std::string>{});
    EXPECT_EQ(f.t.screen.log, testing::EventLog{});
}

TEST(TaskSession, LoadingShowsTheCasesWithTheFirstSelected) {
    Fixture f;
    f.t.screen.prompts.files = {std::nullopt, kTasks + "/summe.toml"};
    f.session.chooseAndLoad();  // cancelled
    EXPECT_FALSE(f.session.task());
    f.session.chooseAndLoad();
    ASSERT_EQ(f.t.screen.prompts.dialogs.size(), 2u);
    EXPECT_EQ(
        f.t.screen.prompts.dialogs[1].description + "|" + f.t.screen.prompts.dialogs[1].pattern,
        "Quarzel-Aufgabe (*.toml)|*.toml");
    EXPECT_EQ(f.panel.log,
              (std::vector<std::string>{"task Summe der Zellen 1 bis 10|Beispieldaten,2,keine|"
                                        "Negative Zahlen,1,keine|Überlauf,1,keine",
                                        "select 0"}));
    EXPECT_TRUE(f.panel.test && f.panel.takeOver);
}

TEST(TaskSession, ARefusedFileKeepsTheTaskShownBeforeAndSaysWhy) {
    testing::TempFolder folder;
    testing::writeBytes(folder.file("kaputt.toml"),
                        "titel = \"Kaputt\"\n[[fall]]\nname = \"A\"\npunkte = \"viele\"\n");
    const struct {
        std::string file;
        std::string message;  // its beginning
    } rows[] = {
        {folder.file("kaputt.toml"),
         folder.file("kaputt.toml") + ", Zeile 4, Schlüssel \"fall.punkte\": ganze Zahl erwartet"},
        {folder.file("fehlt.toml"),
         "Datei " + folder.file("fehlt.toml") + " kann nicht geöffnet werden. "},
    };
    for (const auto& row : rows) {
        Fixture f;
        f.loadSumme();
        f.session.select(2);
        EXPECT_FALSE(f.session.load(row.file));
        ASSERT_EQ(f.t.screen.prompts.messages.size(), 1u) << row.file;
        const testing::FakePrompts::Message& box = f.t.screen.prompts.messages[0];
        EXPECT_EQ(box.caption, "Aufgabe");
        EXPECT_EQ(box.icon, MessageIcon::Error);
        EXPECT_EQ(box.text.substr(0, row.message.size()), row.message);
        EXPECT_EQ(f.panel.log, std::vector<std::string>{}) << "the panel is not told";
        EXPECT_EQ(f.session.task()->title, "Summe der Zellen 1 bis 10");
        EXPECT_EQ(f.session.selected(), 2);
    }
}

TEST(TaskSession, TestingGradesTheEditorsProgramAndLeavesTheSessionAlone) {
    const struct {
        const char* program;
        std::vector<std::string> shown;
    } rows[] = {
        {"richtig.prg",
         {"result 0 + bestanden", "result 1 + bestanden", "result 2 + bestanden",
          "points 4 von 4 Punkten"}},
        {"eins_daneben.prg",
         {"result 0 - Fenster 45 statt 55, Zelle 11 \"45\" statt \"55\"",
          "result 1 - Fenster -6 statt -5, Zelle 11 \"-6\" statt \"-5\"", "result 2 + bestanden",
          "points 1 von 4 Punkten"}},
        {"endlosschleife.prg",
         {"result 0 - Endlosschleife ab Zeile 2", "result 1 - Endlosschleife ab Zeile 2",
          "result 2 - Endlosschleife ab Zeile 2", "points 0 von 4 Punkten"}},
    };
    // "Testen" at once (the window) and in parts as short as they can be (the page).
    for (const bool inParts : {false, true}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(inParts ? "in parts" : "at once");
            Fixture f;
            f.loadSumme();
            WorkbenchInternals& b = f.t.bench;
            // A run of another program in progress, modified data; then the program to test typed
            // into the editor, unchecked.
            b.machine.InstructionList = {testing::op(Mnemonic::INC), testing::op(Mnemonic::STP)};
            b.flags.ProgramChecked = b.flags.DataChecked = true;
            f.t.workbench.btRunClick();
            f.t.workbench.btStepClick();
            b.table.setValue(0, "17");
            b.flags.DataModified = true;
            f.t.screen.editor.setText(readProgramFile(kTasks + "/abgaben/" + row.program));
            const std::string before = mainWindow(b);
            f.t.screen.log.clear();

            if (inParts) {
                ASSERT_TRUE(f.session.startTest());
                int parts = 0;
                while (f.session.testPart(std::chrono::milliseconds(0))) {
                    ++parts;
                }
                EXPECT_GE(parts, 2) << "a case per part at least";
                EXPECT_FALSE(f.session.testing());
            } else {
                f.session.test();
            }
            EXPECT_EQ(f.panel.log, row.shown) << row.program;
            EXPECT_EQ(mainWindow(b), before) << row.program;
            EXPECT_EQ(f.t.screen.log, testing::EventLog{}) << row.program;
        }
    }
}

TEST(TaskSession, ATestCancelledBetweenItsPartsShowsNoMoreAndCanStartAgain) {
    Fixture f;
    f.loadSumme();
    f.t.screen.editor.setText(readProgramFile(kTasks + "/abgaben/richtig.prg"));
    ASSERT_TRUE(f.session.startTest());
    EXPECT_TRUE(f.session.testPart(std::chrono::milliseconds(0)));
    const int tested = f.session.casesTested();
    EXPECT_LT(tested, 3);
    f.session.cancelTest();
    EXPECT_FALSE(f.session.testing());
    EXPECT_FALSE(f.session.testPart(std::chrono::milliseconds(0))) << "nothing left to run";
    EXPECT_EQ(f.panel.log.size(), static_cast<std::size_t>(tested)) << "no points after a cancel";
    ASSERT_TRUE(f.session.startTest());
    while (f.session.testPart(std::chrono::milliseconds(1000))) {
    }
    EXPECT_EQ(f.panel.log.back(), "points 4 von 4 Punkten");
}

TEST(TaskSession, TakingOverACasePutsItsTableIntoTheSession) {
    testing::TempFolder folder;
    const struct {
        const char* what;
        std::deque<bool> answers;                      // "Daten speichern?"
        std::deque<std::optional<std::string>> files;  // the save dialog
        std::string cell1;                             // afterwards
        std::vector<std::string> shown;
    } rows[] = {
        // negativ.dta begins "1:-3:Summand".
        {"not saved",
         {false},
         {},
         "-3|Summand",
         {"taken Übernommen: „Negative Zahlen“ – Eingaben: keine"}},
        {"the save failed", {true}, {folder.file("fehlt/alt.dta")}, "17|alt", {}},
    };
    for (const auto& row : rows) {
        Fixture f;
        f.loadSumme();
        WorkbenchInternals& b = f.t.bench;
        b.table.setValue(0, "17");
        b.table.setComment(0, "alt");
        b.flags.DataModified = true;
        f.t.screen.prompts.answers = row.answers;
        f.t.screen.prompts.files = row.files;
        f.session.select(1);
        f.session.takeOver();
        EXPECT_EQ(b.table.value(0) + "|" + b.table.comment(0), row.cell1) << row.what;
        EXPECT_EQ(f.panel.log, row.shown) << row.what;
        EXPECT_EQ(b.flags.DataModified, row.shown.empty()) << row.what;
    }
}

// A whole data table whose cell 1 holds `value`.
std::string dataTable(const std::string& value) {
    std::string text;
    for (int cell = 1; cell <= 512; ++cell) {
        text += std::to_string(cell) + ":" + (cell == 1 ? value : "0") + ":\r\n";
    }
    return text;
}

// Two data files of one name in different folders, chosen as a browser hands them over:
// staged each in a folder of its own, with or without their place in the chosen folder.
TEST(TaskSession, ChosenDataFilesAreMatchedByTheirPlaceOrRefused) {
    testing::TempFolder folder;
    testing::writeBytes(folder.file("werte.toml"),
                        "titel = \"Werte\"\n"
                        "[[fall]]\nname = \"Klein\"\ndaten = \"klein/werte.dta\"\n"
                        "[fall.erwartet]\nzellen = { 1 = \"1\" }\n"
                        "[[fall]]\nname = \"Groß\"\ndaten = \"gross/werte.dta\"\n"
                        "[fall.erwartet]\nzellen = { 1 = \"2\" }\n");
    std::filesystem::create_directories(folder.path() / "1");
    std::filesystem::create_directories(folder.path() / "2");
    testing::writeBytes(folder.file("1/werte.dta"), dataTable("2"));  // gross/werte.dta
    testing::writeBytes(folder.file("2/werte.dta"), dataTable("1"));  // klein/werte.dta
    const std::string first = folder.file("1/werte.dta");
    const std::string second = folder.file("2/werte.dta");
    const std::string sameName =
        "Die Datendateien „klein/werte.dta“ und „gross/werte.dta“ haben denselben Dateinamen";
    const struct {
        const char* what;
        std::vector<ChosenFile> chosen;
        std::string refused;  // the box's beginning; empty: loaded
    } rows[] = {
        {"the task's folder",
         {{first, "aufgabe/gross/werte.dta"}, {second, "aufgabe/klein/werte.dta"}},
         ""},
        {"single files", {{first, ""}, {second, ""}}, sameName},
        {"one of them",
         {{second, "aufgabe/klein/werte.dta"}},
         "Die Datendatei „gross/werte.dta“ fehlt."},
        {"a folder without the task's folders",
         {{first, "x/werte.dta"}, {second, "y/werte.dta"}},
         "Diese Datendateien fehlen: klein/werte.dta, gross/werte.dta."},
    };
    for (const auto& row : rows) {
        Fixture f;
        f.loadSumme();
        const bool loaded = f.session.load(folder.file("werte.toml"), row.chosen);
        EXPECT_EQ(loaded, row.refused.empty()) << row.what;
        if (!loaded) {
            ASSERT_EQ(f.t.screen.prompts.messages.size(), 1u) << row.what;
            EXPECT_EQ(f.t.screen.prompts.messages[0].caption, "Aufgabe");
            EXPECT_EQ(f.t.screen.prompts.messages[0].text.substr(0, row.refused.size()),
                      row.refused)
                << row.what;
            EXPECT_EQ(f.session.task()->title, "Summe der Zellen 1 bis 10") << row.what;
            continue;
        }
        // Each case graded on its own file: a program that changes nothing passes both.
        f.t.screen.editor.setText("STP");
        f.panel.log.clear();
        f.session.test();
        EXPECT_EQ(f.panel.log,
                  (std::vector<std::string>{"result 0 + bestanden", "result 1 + bestanden",
                                            "points 2 von 2 Punkten"}))
            << row.what;
    }
}

TEST(TaskSession, NamesTheDataFilesAPageMustPlaceFirst) {
    testing::TempFolder folder;
    testing::writeBytes(folder.file("gross.toml"), "[[fall]]\nname = \"A\"\ndaten = \"a.dta\"\n" +
                                                       std::string(kMaxTaskFileBytes, '#'));
    EXPECT_EQ(TaskSession::dataFileNames(kTasks + "/summe.toml"),
              (std::vector<std::string>{"../summe.dta", "negativ.dta", "ueberlauf.dta"}));
    EXPECT_EQ(TaskSession::dataFileNames(folder.file("gross.toml")), std::vector<std::string>{});
    EXPECT_EQ(TaskSession::dataFileNames(folder.file("fehlt.toml")), std::vector<std::string>{});
}

}  // namespace
}  // namespace quarzel::grading
