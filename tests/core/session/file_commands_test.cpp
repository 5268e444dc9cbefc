// New, Load and Save as the user meets them: the questions in order, the dialogs, the files
// and the flags afterwards.
#include "session/file_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <system_error>
#include <vector>

#include "fakes.h"
#include "files/data_file.h"
#include "files/program_file.h"
#include "os_text.h"
#include "temp_folder.h"

namespace quarzel {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;
using Questions = std::vector<std::string>;

const std::string kNewProgram = "QRZL|Neues Programm?";
const std::string kNewData = "QRZL|Neuer Datenbereich?";
const std::string kSaveProgram = "Frage|Programm speichern?";
const std::string kSaveData = "QRZL|Daten speichern?";
const std::string kLoadProgram = "QRZL|Programm laden?";
const std::string kLoadData = "QRZL|Daten laden?";

struct Flags {
    bool programChecked, dataChecked, programModified, dataModified;
    bool operator==(const Flags& o) const {
        return programChecked == o.programChecked && dataChecked == o.dataChecked &&
               programModified == o.programModified && dataModified == o.dataModified;
    }
};
std::ostream& operator<<(std::ostream& out, const Flags& f) {
    return out << "{PC " << f.programChecked << ", DC " << f.dataChecked << ", PM "
               << f.programModified << ", DM " << f.dataModified << "}";
}

class FileCommandsTest : public ::testing::Test {
  protected:
    testing::TestBench t;
    TempFolder folder;
    FileCommands& files = t.bench.files;
    testing::FakePrompts& prompts = t.screen.prompts;
    testing::FakeEditor& editor = t.screen.editor;
    DataTable& table = t.bench.table;

    void answer(std::initializer_list<bool> answers) { prompts.answers = answers; }
    void choose(std::initializer_list<std::optional<std::string>> files) { prompts.files = files; }
    void setFlags(Flags f) {
        t.bench.flags.ProgramChecked = f.programChecked;
        t.bench.flags.DataChecked = f.dataChecked;
        t.bench.flags.ProgramModified = f.programModified;
        t.bench.flags.DataModified = f.dataModified;
    }
    Flags flags() const {
        const StateFlags& f = t.bench.flags;
        return {f.ProgramChecked, f.DataChecked, f.ProgramModified, f.DataModified};
    }
    // The texts the central handler showed, UTF-8.
    std::vector<std::string> errors() const {
        std::vector<std::string> texts;
        for (const auto& m : prompts.messages) {
            EXPECT_EQ(m.caption, "Quarzel 3");
            texts.push_back(m.text);
        }
        return texts;
    }
    void fillTable(const std::string& value, const std::string& comment) {
        for (int row = 0; row < DataTable::kRowCount; ++row) {
            table.setValue(row, value);
            table.setComment(row, comment);
        }
    }
    bool logHas(const std::string& entry) const {
        const auto& log = t.screen.log;
        return std::find(log.begin(), log.end(), entry) != log.end();
    }
    std::ptrdiff_t logIndex(const std::string& entry) const {
        const auto& log = t.screen.log;
        return std::find(log.begin(), log.end(), entry) - log.begin();
    }
};

// --- Save -------------------------------------------------------------------------------

TEST_F(FileCommandsTest, SaveAsksBothQuestionsWhateverTheFlags) {
    for (const Flags f : {Flags{false, false, false, false}, Flags{true, true, true, true},
                          Flags{false, true, true, false}}) {
        prompts.questions.clear();
        setFlags(f);
        answer({false, false});
        t.handle([&] { files.btSaveClick(); });
        EXPECT_EQ(prompts.questions, (Questions{kSaveProgram, kSaveData})) << f;
        EXPECT_EQ(flags(), f);
    }
    EXPECT_TRUE(prompts.dialogs.empty());
}

TEST_F(FileCommandsTest, SaveWritesBothFilesWithTheirFiltersAndClearsTheModifiedFlags) {
    editor.type({"LAD 1", "STO 2", "STP"});
    table.setValue(0, "5");
    table.setComment(0, fromUtf8("Zähler"));
    setFlags({true, true, true, true});
    const std::string prg = folder.file("prog.prg");
    const std::string dta = folder.file("daten.dta");
    answer({true, true});
    choose({prg, dta});
    t.handle([&] { files.btSaveClick(); });

    ASSERT_EQ(prompts.dialogs.size(), 2u);
    EXPECT_TRUE(prompts.dialogs[0].save);
    EXPECT_EQ(prompts.dialogs[0].description, "QRZL Programm (*.prg)");
    EXPECT_EQ(prompts.dialogs[0].pattern, "*.prg");
    EXPECT_EQ(prompts.dialogs[0].defaultExtension, "prg");
    EXPECT_TRUE(prompts.dialogs[1].save);
    EXPECT_EQ(prompts.dialogs[1].description, "QRZL Daten (*.dta)");
    EXPECT_EQ(prompts.dialogs[1].pattern, "*.dta");
    EXPECT_EQ(prompts.dialogs[1].defaultExtension, "dta");

    EXPECT_EQ(readBytes(prg), "LAD 1\r\nSTO 2\r\nSTP");
    EXPECT_EQ(readBytes(dta), dataFileText(table));
    EXPECT_EQ(readBytes(dta).substr(0, 14), "1:5:Z\xe4hler\r\n2:");
    // Nothing was removed, so the program is still checked.
    EXPECT_EQ(flags(), (Flags{true, true, false, false}));
    EXPECT_TRUE(errors().empty());
}

TEST_F(FileCommandsTest, EmptyLinesAreRemovedBeforeTheProgramIsSaved) {
    struct Case {
        std::vector<std::string> lines;
        std::string saved;
        bool removes;
    };
    const Case cases[] = {
        {{"LAD 1", "", "", "", "STP"}, "LAD 1\r\nSTP", true},
        {{"", "LAD 1", "   ", "\t", "", "STP", ""}, "LAD 1\r\n   \r\n\t\r\nSTP\r\n", true},
        {{"", "", ""}, "", true},
        {{"STP", ""}, "STP\r\n", false},  // the break after the last line stays
        {{"STP", "", ""}, "STP\r\n", true},
        {{"   ", "\t"}, "   \r\n\t", false},
    };
    const std::string prg = folder.file("prog.prg");
    for (const Case& c : cases) {
        editor.type(c.lines);
        setFlags({true, false, true, false});
        answer({true, false});
        choose({prg});
        t.handle([&] { files.btSaveClick(); });
        EXPECT_EQ(readBytes(prg), c.saved);
        EXPECT_EQ(editor.text(), c.saved) << "the editor shows the shortened text";
        // Removing lines changes the text: the program must be checked again.
        EXPECT_EQ(flags(), (Flags{!c.removes, false, false, false})) << c.saved;
    }
}

TEST_F(FileCommandsTest, ACancelledOrDeclinedProgramSaveStillAsksForTheData) {
    editor.type({"LAD 1", "", "STP"});
    setFlags({true, true, true, true});
    const std::string dta = folder.file("daten.dta");
    answer({true, true});
    choose({std::nullopt, dta});
    t.handle([&] { files.SaveProgramAndData(); });
    EXPECT_EQ(prompts.questions, (Questions{kSaveProgram, kSaveData}));
    EXPECT_EQ(editor.text(), "LAD 1\r\n\r\nSTP") << "a cancelled save changes nothing";
    EXPECT_EQ(flags(), (Flags{true, true, true, false}));
    EXPECT_EQ(folder.entries(), std::set<std::string>{"daten.dta"});
}

TEST_F(FileCommandsTest, AFailedProgramSaveEndsTheCommandAndKeepsTheFlags) {
    editor.type({"LAD 1", "", "STP"});
    setFlags({true, true, true, true});
    const std::string prg = folder.file("fehlt/prog.prg");
    answer({true, true});
    choose({prg});
    t.handle([&] { files.btSaveClick(); });
    EXPECT_EQ(errors(), std::vector<std::string>{
                            "Datei \"" + prg + "\" kann nicht erstellt werden. " +
                            testing::osTextEndingMessage(std::errc::no_such_file_or_directory,
                                                         testing::WindowsError::PathNotFound)});
    EXPECT_EQ(prompts.questions, Questions{kSaveProgram}) << "the data question is skipped";
    EXPECT_EQ(editor.text(), "LAD 1\r\nSTP") << "removed empty lines stay removed";
    EXPECT_TRUE(flags().programModified);
    EXPECT_TRUE(flags().dataModified);
}

TEST_F(FileCommandsTest, AFailedSaveLeavesTheOldFileAsItWas) {
    const std::string dta = folder.file("daten.dta");
    writeBytes(dta, "alte Daten");
    std::filesystem::create_directory(folder.path() / "prog.prg");  // a folder in the way
    answer({true, true});
    choose({folder.file("prog.prg"), dta});
    t.handle([&] { files.btSaveClick(); });
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_EQ(readBytes(dta), "alte Daten");
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"daten.dta", "prog.prg"}));
}

// --- Load -------------------------------------------------------------------------------

TEST_F(FileCommandsTest, LoadAnsweredNoTwiceStillClearsBothCheckedFlags) {
    editor.type({"STP"});
    setFlags({true, true, false, false});
    answer({false, false});
    t.handle([&] { files.btLoadClick(); });
    EXPECT_EQ(prompts.questions, (Questions{kLoadProgram, kLoadData}));
    EXPECT_EQ(flags(), (Flags{false, false, false, false}));
    EXPECT_EQ(editor.text(), "STP");
}

TEST_F(FileCommandsTest, LoadOffersToSaveBothWhenEitherWasModified) {
    for (const Flags f : {Flags{true, true, false, true}, Flags{true, true, true, false}}) {
        prompts.questions.clear();
        setFlags(f);
        answer({false, false, false, false});
        t.handle([&] { files.btLoadClick(); });
        EXPECT_EQ(prompts.questions, (Questions{kSaveProgram, kSaveData, kLoadProgram, kLoadData}))
            << f;
        EXPECT_EQ(flags(), (Flags{false, false, f.programModified, f.dataModified}));
    }
}

TEST_F(FileCommandsTest, LoadReadsBothFilesAndLeavesThemUncheckedAndUnmodified) {
    const std::string prg = folder.file("prog.prg");
    const std::string dta = folder.file("daten.dta");
    writeBytes(prg, "LAD 1\nSTO 2\n\nSTP\n");
    DataTable source;
    source.setValue(2, "7");
    source.setComment(2, "a:b");
    writeBytes(dta, dataFileText(source));
    fillTable("9", "alt");
    setFlags({true, true, false, false});
    answer({true, true});
    choose({prg, dta});
    const int repaints = t.screen.picture.repaints;
    t.handle([&] { files.btLoadClick(); });

    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(t.screen.picture.repaints, repaints + 1);  // the picture shows the loaded data
    EXPECT_EQ(prompts.dialogs[0].save, false);
    EXPECT_EQ(prompts.dialogs[0].description, "QRZL Programm (*.prg)");
    EXPECT_EQ(prompts.dialogs[0].pattern, "*.prg");
    EXPECT_EQ(prompts.dialogs[1].save, false);
    EXPECT_EQ(prompts.dialogs[1].description, "QRZL Daten (*.dta)");
    EXPECT_EQ(prompts.dialogs[1].pattern, "*.dta");
    EXPECT_EQ(editor.text(), "LAD 1\r\nSTO 2\r\n\r\nSTP\r\n");
    EXPECT_EQ(table.value(2), "7");
    EXPECT_EQ(table.comment(2), "a:b");
    EXPECT_EQ(table.value(0), "0");
    EXPECT_EQ(table.comment(0), "");
    EXPECT_EQ(flags(), (Flags{false, false, false, false}));
}

TEST_F(FileCommandsTest, SavedWorkComesBackAfterNew) {
    editor.type({"MRK A", "", "* Zähler", "JMP A"});
    table.setValue(0, "-3");
    table.setComment(0, "x:y");
    table.setValue(511, "abc");
    const std::string prg = folder.file("prog.prg");
    const std::string dta = folder.file("daten.dta");
    answer({true, true});
    choose({prg, dta});
    t.handle([&] { files.btSaveClick(); });
    answer({true, true});
    t.handle([&] { files.btNewClick(); });
    EXPECT_EQ(editor.text(), "");
    EXPECT_EQ(table.value(511), "0");

    answer({true, true});
    choose({prg, dta});
    t.handle([&] { files.btLoadClick(); });
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(editor.text(), "MRK A\r\n" + fromUtf8("* Zähler") + "\r\nJMP A");
    EXPECT_EQ(table.value(0), "-3");
    EXPECT_EQ(table.comment(0), "x:y");
    EXPECT_EQ(table.value(511), "abc");
}

TEST_F(FileCommandsTest, AProgramThatCannotBeOpenedEndsTheLoad) {
    editor.type({"STP"});
    setFlags({true, true, false, false});
    const std::string missing = folder.file("fehlt.prg");
    answer({true});
    choose({missing});
    t.handle([&] { files.btLoadClick(); });
    EXPECT_EQ(errors(), std::vector<std::string>{
                            "Datei " + missing + " kann nicht geöffnet werden. " +
                            testing::osTextEndingMessage(std::errc::no_such_file_or_directory,
                                                         testing::WindowsError::FileNotFound)});
    EXPECT_EQ(prompts.questions, Questions{kLoadProgram}) << "the data question is skipped";
    EXPECT_EQ(flags(), (Flags{true, true, false, false})) << "the final clearing is skipped";
    EXPECT_EQ(editor.text(), "STP");
}

TEST_F(FileCommandsTest, AProgramTooLargeForTheEditorIsRefused) {
    const std::string prg = folder.file("gross.prg");
    writeBytes(prg, std::string(kMaxProgramFileBytes + 1, 'A'));
    editor.type({"STP"});
    setFlags({true, true, true, false});
    answer({false, false, true});  // no save, then load the program
    choose({prg});
    t.handle([&] { files.btLoadClick(); });
    EXPECT_EQ(errors(), std::vector<std::string>{"Text überschreitet Memo-Kapazität."});
    EXPECT_EQ(editor.text(), "STP");
    EXPECT_EQ(flags(), (Flags{true, true, true, false}));
    EXPECT_EQ(prompts.questions, (Questions{kSaveProgram, kSaveData, kLoadProgram}));
}

TEST_F(FileCommandsTest, ABadDataFileLeavesAMixedTableThatMustBeCheckedAgain) {
    struct Case {
        const char* name;
        std::string file;
        std::string error;
        int cellsRead;
    };
    std::string fiftyLines;
    for (int n = 1; n <= 50; ++n) {
        fiftyLines += std::to_string(n) + ":1:neu\r\n";
    }
    const Case cases[] = {
        {"50 lines", fiftyLines, "Listenindex überschreitet das Maximum (50)", 50},
        {"a line without colons", fiftyLines + "51\r\n" + fiftyLines + fiftyLines,
         "Fehler bei Bereichsprüfung.", 50},
    };
    const std::string dta = folder.file("daten.dta");
    for (const Case& c : cases) {
        prompts.messages.clear();
        writeBytes(dta, c.file);
        fillTable("9", "alt");
        setFlags({true, true, false, true});
        answer({false, false, false, true});
        choose({dta});
        const int repaints = t.screen.picture.repaints;
        t.handle([&] { files.btLoadClick(); });
        EXPECT_EQ(errors(), std::vector<std::string>{c.error}) << c.name;
        EXPECT_EQ(t.screen.picture.repaints, repaints + 1) << c.name;
        for (int row = 0; row < DataTable::kRowCount; ++row) {
            const bool read = row < c.cellsRead;
            ASSERT_EQ(table.value(row), read ? "1" : "9") << c.name << " row " << row;
            ASSERT_EQ(table.comment(row), read ? "neu" : "alt") << c.name << " row " << row;
        }
        // The table changed, so it is unchecked; it was not read in full, so still modified.
        EXPECT_EQ(flags(), (Flags{true, false, false, true})) << c.name;
    }
}

// --- New --------------------------------------------------------------------------------

TEST_F(FileCommandsTest, NewAnsweredNoTwiceChangesNothing) {
    editor.type({"STP"});
    table.setValue(3, "4");
    setFlags({true, true, true, true});
    t.bench.machine.LastAccessCell = 4;
    const auto logBefore = t.screen.log.size();
    answer({false, false});
    t.handle([&] { files.btNewClick(); });
    EXPECT_EQ(prompts.questions, (Questions{kNewProgram, kNewData}));
    EXPECT_EQ(editor.text(), "STP");
    EXPECT_EQ(table.value(3), "4");
    EXPECT_EQ(flags(), (Flags{true, true, true, true}));
    EXPECT_EQ(t.bench.machine.LastAccessCell, 4);
    EXPECT_EQ(t.screen.log.size(), logBefore + 2) << "only the two questions";
}

TEST_F(FileCommandsTest, NewClearsTheProgramAfterOfferingToSaveIt) {
    struct Case {
        bool modified;
        Questions questions;
    };
    const Case cases[] = {
        {true, {kNewProgram, kSaveProgram, kNewData}},
        {false, {kNewProgram, kNewData}},
    };
    for (const Case& c : cases) {
        prompts.questions.clear();
        editor.type({"LAD 1", "STP"});
        setFlags({true, true, c.modified, false});
        answer(c.modified ? std::initializer_list<bool>{true, false, false}
                          : std::initializer_list<bool>{true, false});
        t.handle([&] { files.btNewClick(); });
        EXPECT_EQ(prompts.questions, c.questions);
        EXPECT_EQ(editor.text(), "");
        EXPECT_EQ(flags(), (Flags{false, true, false, false}));
    }
}

TEST_F(FileCommandsTest, NewDataResetsTheTableAndKeepsDataModified) {
    for (const bool modified : {true, false}) {
        prompts.questions.clear();
        fillTable("5", "Kommentar");
        setFlags({true, true, false, modified});
        t.bench.machine.LastAccessCell = 17;
        const int repaints = t.screen.picture.repaints;
        answer(modified ? std::initializer_list<bool>{false, true, false}
                        : std::initializer_list<bool>{false, true});
        t.handle([&] { files.btNewClick(); });
        EXPECT_EQ(prompts.questions, (modified ? Questions{kNewProgram, kNewData, kSaveData}
                                               : Questions{kNewProgram, kNewData}));
        for (int row = 0; row < DataTable::kRowCount; ++row) {
            ASSERT_EQ(table.text(0, row), std::to_string(row + 1));
            ASSERT_EQ(table.value(row), "0");
            ASSERT_EQ(table.comment(row), "");
        }
        // A declined save leaves the data modified, so closing asks again.
        EXPECT_EQ(flags(), (Flags{true, false, false, modified}));
        EXPECT_EQ(t.bench.machine.LastAccessCell, 0);
        EXPECT_EQ(t.screen.picture.repaints, repaints + 1);
    }
}

TEST_F(FileCommandsTest, NewSavesModifiedWorkBeforeClearingIt) {
    editor.type({"LAD 1", "", "STP"});
    table.setValue(0, "8");
    setFlags({false, false, true, true});
    const std::string prg = folder.file("prog.prg");
    const std::string dta = folder.file("daten.dta");
    answer({true, true, true, true});
    choose({prg, dta});
    t.handle([&] { files.btNewClick(); });
    EXPECT_EQ(prompts.questions, (Questions{kNewProgram, kSaveProgram, kNewData, kSaveData}));
    EXPECT_EQ(readBytes(prg), "LAD 1\r\nSTP");
    EXPECT_EQ(readBytes(dta).substr(0, 6), "1:8:\r\n");
    EXPECT_EQ(editor.text(), "");
    EXPECT_EQ(table.value(0), "0");
    EXPECT_EQ(flags(), (Flags{false, false, false, false}));
}

TEST_F(FileCommandsTest, AFailedSaveInNewKeepsTheProgram) {
    editor.type({"STP"});
    setFlags({false, false, true, false});
    answer({true, true});
    choose({folder.file("fehlt/prog.prg")});
    t.handle([&] { files.btNewClick(); });
    EXPECT_EQ(errors().size(), 1u);
    EXPECT_EQ(editor.text(), "STP");
    EXPECT_EQ(prompts.questions, (Questions{kNewProgram, kSaveProgram}));
}

// --- A run in progress --------------------------------------------------------------------

// A save during a run writes the file it writes otherwise, but the running program keeps its
// line numbers: the editor loses its empty lines only when the run has ended.
TEST_F(FileCommandsTest, SaveDuringARunKeepsTheLinesUntilTheRunEnds) {
    const char* const texts[] = {
        "CLA\r\n\r\n\r\nINC\r\nSTP", "\r\nSTP\r\n", "STP\r\n\r\n\r\n",
        "STP\r\n \r\n\t\r\n\r\nSTP", "\r\n\r\n",    "STP",
    };
    for (const std::string text : texts) {
        const std::string idleFile = folder.file("ruhend.prg");
        editor.setText(text);
        answer({true});
        choose({idleFile});
        t.handle([&] { files.SaveProgram(); });
        const std::string idleEditor = editor.text();

        const std::string runFile = folder.file("lauf.prg");
        editor.setText(text);
        const int lines = editor.lineCount();
        setFlags({true, true, true, false});
        t.bench.runControl.VM_Start();
        answer({true});
        choose({runFile});
        t.handle([&] { files.SaveProgram(); });
        EXPECT_EQ(readBytes(runFile), readBytes(idleFile)) << text;
        EXPECT_EQ(editor.text(), text) << "the running program's lines stay";
        EXPECT_EQ(editor.lineCount(), lines);
        EXPECT_TRUE(t.bench.machine.VM_Running);
        EXPECT_FALSE(t.bench.flags.ProgramModified);

        t.bench.runControl.VM_Stop();
        EXPECT_EQ(editor.text(), idleEditor) << text;
        EXPECT_FALSE(t.bench.flags.ProgramModified) << "the editor matches the file";
    }
}

TEST_F(FileCommandsTest, NewStopsARunBeforeClearing) {
    editor.type({"STP"});
    setFlags({true, true, false, false});
    t.bench.runControl.VM_Start();
    answer({true, false});
    t.handle([&] { files.btNewClick(); });
    EXPECT_FALSE(t.bench.machine.VM_Running);
    EXPECT_LT(logIndex("editor.readOnly off"), logIndex("editor.clear"));
    EXPECT_TRUE(logHas("grid.input on"));
}

TEST_F(FileCommandsTest, LoadStopsARunOnlyWhenItReplacesSomething) {
    const std::string prg = folder.file("prog.prg");
    const std::string dta = folder.file("daten.dta");
    writeBytes(prg, "STP");
    writeBytes(dta, dataFileText(DataTable()));
    struct Case {
        std::vector<bool> answers;
        std::vector<std::optional<std::string>> files;
        bool stillRunning;
    };
    const Case cases[] = {
        {{false, false}, {}, true},
        {{true, true}, {std::nullopt, std::nullopt}, true},
        {{true, false}, {prg}, false},
        {{false, true}, {dta}, false},
        {{true, false}, {folder.file("fehlt.prg")}, true},
    };
    for (const Case& c : cases) {
        t.bench.flags.ProgramChecked = t.bench.flags.DataChecked = true;
        t.bench.runControl.VM_Start();
        prompts.answers.assign(c.answers.begin(), c.answers.end());
        prompts.files.assign(c.files.begin(), c.files.end());
        t.screen.log.clear();
        t.handle([&] { files.LoadProgramAndData(); });
        EXPECT_EQ(t.bench.machine.VM_Running, c.stillRunning);
        EXPECT_EQ(logHas("editor.readOnly off"), !c.stillRunning);
        if (logHas("editor.setText")) {
            EXPECT_LT(logIndex("editor.readOnly off"), logIndex("editor.setText"));
        }
    }
}

}  // namespace
}  // namespace quarzel
