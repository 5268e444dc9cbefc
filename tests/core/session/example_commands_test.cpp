// "Beispiele" and "Ausprobieren": a built-in example loaded as "Laden" loads a program and its
// data, a primer's program put into the editor as "Neu" clears it; and every built-in example
// checked and run in the workbench to the end written in its .expected file.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/win1252.h"
#include "fakes.h"
#include "files/built_in_examples.h"
#include "files/data_file.h"
#include "files/program_file.h"
#include "temp_folder.h"

namespace quarzel {
namespace {

using Questions = std::vector<std::string>;
using Flags = std::array<bool, 4>;  // ProgramChecked, DataChecked, ProgramModified, DataModified

const std::string kSaveProgram = "Frage|Programm speichern?";
const std::string kSaveData = "QRZL|Daten speichern?";

int exampleIndex(const std::string& name) {
    const std::vector<BuiltInExample>& examples = builtInExamples();
    for (std::size_t i = 0; i < examples.size(); ++i) {
        if (examples[i].name == name) {
            return static_cast<int>(i);
        }
    }
    ADD_FAILURE() << "no built-in example " << name;
    return -1;
}

// Work in progress: a program and a table of our own, a run of it stopped half way so that
// "Zurück" could take a step back, the flags as given.
struct WorkInProgress {
    testing::TestBench t;
    WorkbenchInternals& b = t.bench;
    testing::FakePrompts& prompts = t.screen.prompts;
    std::string program;

    WorkInProgress(bool programModified, bool dataModified) {
        t.screen.editor.type({"INC", "INC", "STP"});
        b.table.setValue(99, "77");
        b.table.setComment(99, "eigene");
        t.workbench.btCheckClick();
        t.workbench.btRunClick();
        t.workbench.btStepClick();
        EXPECT_TRUE(b.machine.VM_Running && t.workbench.canStepBack());
        b.flags.ProgramModified = programModified;
        b.flags.DataModified = dataModified;
        program = t.screen.editor.text();
    }
    Flags flags() const {
        return {b.flags.ProgramChecked, b.flags.DataChecked, b.flags.ProgramModified,
                b.flags.DataModified};
    }
    bool ownWorkKept() const {
        return t.screen.editor.text() == program && b.machine.VM_Running &&
               b.table.value(99) + b.table.comment(99) == "77eigene";
    }
};

// --- Beispiele ------------------------------------------------------------------------------

// Replaced as Load replaces them, with or without a data file: the table is the example's data
// or the empty one; modified work is offered for saving with both questions whichever of the
// two was modified, and loading goes on after the saves were declined.
TEST(LoadExample, ReplacesProgramAndDataAsLoadDoes) {
    const struct {
        const char* name;
        bool programModified, dataModified;
        Questions questions;
    } cases[] = {
        {"summe", false, false, {}},
        {"maximum", true, false, {kSaveProgram, kSaveData}},
        {"countdown", false, true, {kSaveProgram, kSaveData}},
    };
    for (const auto& c : cases) {
        WorkInProgress w(c.programModified, c.dataModified);
        const BuiltInExample& example = builtInExamples()[exampleIndex(c.name)];
        const int repaints = w.t.screen.picture.repaints;
        w.prompts.answers.assign(c.questions.size(), false);
        w.t.workbench.loadExample(exampleIndex(c.name));

        EXPECT_EQ(w.prompts.questions, c.questions) << c.name;
        EXPECT_TRUE(w.prompts.dialogs.empty() && w.prompts.messages.empty()) << c.name;
        EXPECT_EQ(w.t.screen.editor.text(), example.program) << c.name;
        EXPECT_EQ(dataFileText(w.b.table), example.data.value_or(dataFileText(DataTable())))
            << c.name;
        EXPECT_EQ(w.flags(), (Flags{false, false, false, false})) << c.name;
        EXPECT_FALSE(w.b.machine.VM_Running) << c.name;
        EXPECT_EQ(w.t.screen.runPanel.caption, "Start") << c.name;
        EXPECT_FALSE(w.t.workbench.canStepBack()) << c.name << ": the journal was the old run's";
        EXPECT_GT(w.t.screen.picture.repaints, repaints) << c.name << ": the new data shown";
    }
}

TEST(LoadExample, AFailedSaveEndsTheCommandWithNothingReplaced) {
    testing::TempFolder folder;
    WorkInProgress w(true, true);
    w.prompts.answers = {true};
    w.prompts.files = {folder.file("fehlt/prog.prg")};
    w.t.workbench.loadExample(exampleIndex("summe"));

    ASSERT_EQ(w.prompts.messages.size(), 1u);
    EXPECT_EQ(w.prompts.messages[0].caption, "Quarzel 3");
    EXPECT_EQ(w.prompts.questions, Questions{kSaveProgram}) << "the data question is not reached";
    EXPECT_TRUE(w.ownWorkKept());
    EXPECT_EQ(w.flags(), (Flags{true, true, true, true}));
    EXPECT_TRUE(w.t.workbench.canStepBack());
}

TEST(LoadExample, AnIndexOutsideTheListChangesNothing) {
    for (const int index : {-1, static_cast<int>(builtInExamples().size())}) {
        WorkInProgress w(true, false);
        w.t.workbench.loadExample(index);
        ASSERT_EQ(w.prompts.messages.size(), 1u) << index;
        EXPECT_EQ(w.prompts.messages[0].text,
                  "Listenindex überschreitet das Maximum (" + std::to_string(index) + ")");
        EXPECT_TRUE(w.prompts.questions.empty());
        EXPECT_TRUE(w.ownWorkKept());
    }
}

// --- Ausprobieren ---------------------------------------------------------------------------

// Only the program is offered for saving, and only when modified; the table and its flags
// stay; line breaks come into the editor as CR LF.
TEST(TryProgram, ReplacesTheProgramAsNewClearsItAndLeavesTheTable) {
    for (const bool programModified : {false, true}) {
        WorkInProgress w(programModified, true);
        w.prompts.answers = {false};
        w.t.workbench.tryProgram(fromUtf8("* Zähler\nINC\r\nSTP"));

        EXPECT_EQ(w.prompts.questions, programModified ? Questions{kSaveProgram} : Questions{});
        EXPECT_EQ(w.t.screen.editor.text(), fromUtf8("* Zähler\r\nINC\r\nSTP"));
        EXPECT_EQ(w.b.table.value(99) + w.b.table.comment(99), "77eigene");
        EXPECT_EQ(w.flags(), (Flags{false, true, false, true}));
        EXPECT_FALSE(w.b.machine.VM_Running || w.t.workbench.canStepBack());
    }
}

TEST(TryProgram, ATextTooLargeForTheEditorIsRefusedBeforeAnyQuestion) {
    WorkInProgress w(true, false);
    w.t.workbench.tryProgram(std::string(kMaxProgramFileBytes + 1, 'x'));
    ASSERT_EQ(w.prompts.messages.size(), 1u);
    EXPECT_EQ(w.prompts.messages[0].text, "Text überschreitet Memo-Kapazität.");
    EXPECT_TRUE(w.prompts.questions.empty());
    EXPECT_TRUE(w.ownWorkKept() && w.b.flags.ProgramModified);
}

// --- Every built-in example, to its expected end --------------------------------------------

// What NAME.expected beside an example says of its run, as the headless runner prints it: the
// registers and the step count, the message it ends with, the numbers typed for INP.
struct ExpectedEnd {
    std::map<std::string, std::string> lines;  // "Akku" -> "55", ...
    std::string message;                       // "Laufzeitfehler: Division durch Null", or ""
    std::vector<std::string> inputs;
};

ExpectedEnd readExpected(const std::string& name) {
    std::ifstream file(std::string(QUARZEL_EXAMPLES_DIR) + "/" + name + ".expected");
    EXPECT_TRUE(file) << name;
    ExpectedEnd expected;
    for (std::string line; std::getline(file, line);) {
        const std::size_t colon = line.find(": ");
        const std::string key = line.substr(0, colon);
        const std::string value = colon == std::string::npos ? "" : line.substr(colon + 2);
        if (key == "args") {
            std::istringstream words(value);
            for (std::string option, text; words >> option >> text;) {
                EXPECT_EQ(option, "--input") << name << ": only inputs are understood here";
                expected.inputs.push_back(text);
            }
        } else if (key == "stderr") {
            expected.message = value;
        } else if (key != "exit" && key != "dump") {
            expected.lines[key] = value;
        }
    }
    return expected;
}

TEST(BuiltInExamplesRun, EveryExampleChecksAndRunsToItsExpectedEnd) {
    const std::vector<BuiltInExample>& examples = builtInExamples();
    for (std::size_t i = 0; i < examples.size(); ++i) {
        const std::string& name = examples[i].name;
        const ExpectedEnd expected = readExpected(name);
        testing::TestBench t;
        const MachineState& machine = t.bench.machine;
        t.screen.numberInput.script.assign(expected.inputs.begin(), expected.inputs.end());
        t.workbench.loadExample(static_cast<int>(i));
        t.workbench.btCheckClick();
        const auto& messages = t.screen.prompts.messages;
        ASSERT_TRUE(messages.empty()) << name << ": " << messages[0].text;
        t.workbench.btRunClick();
        for (int steps = 0; machine.VM_Running && steps < 100000; ++steps) {
            t.workbench.btStepClick();
        }
        EXPECT_FALSE(machine.VM_Running) << name << " runs on";
        EXPECT_EQ(messages.empty() ? "" : messages[0].caption + ": " + messages[0].text,
                  expected.message)
            << name;
        const std::map<std::string, std::string> registers = {
            {"Akku", std::to_string(machine.VM_Accu)},
            {"Fenster", std::to_string(machine.VM_Window)},
            {"Index", std::to_string(machine.VM_Index)},
            {"Anweisung", std::to_string(machine.VM_IP)},
            {"Stack", std::to_string(machine.VM_SP)},
            {"Schritte", std::to_string(machine.StepCount)},
        };
        EXPECT_EQ(registers, expected.lines) << name;
        EXPECT_TRUE(t.screen.numberInput.script.empty()) << name << ": inputs left over";
    }
}

}  // namespace
}  // namespace quarzel
