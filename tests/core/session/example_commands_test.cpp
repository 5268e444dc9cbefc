// "Beispiele" and "Ausprobieren": a built-in example loaded as "Laden" loads a program and its
// data, a primer's program put into the editor as "Neu" clears it; and every built-in example
// checked and run in the workbench to the end written in its .expected file.
#include <gtest/gtest.h>

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

const std::string kSaveProgram = "Frage|Programm speichern?";
const std::string kSaveData = "QRZL|Daten speichern?";

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

class ExampleCommandsTest : public ::testing::Test {
  protected:
    testing::TestBench t;
    WorkbenchInternals& b = t.bench;
    testing::FakePrompts& prompts = t.screen.prompts;

    // Work in progress: a program and a table of our own, a run of it stopped half way so
    // that "Zurück" could take a step back, both flags checked.
    void workInProgress(bool programModified, bool dataModified) {
        t.screen.editor.type({"INC", "INC", "STP"});
        b.table.setValue(99, "77");
        b.table.setComment(99, "eigene");
        t.workbench.btCheckClick();
        t.workbench.btRunClick();
        t.workbench.btStepClick();
        ASSERT_TRUE(b.machine.VM_Running && t.workbench.canStepBack());
        b.flags.ProgramModified = programModified;
        b.flags.DataModified = dataModified;
    }
    Flags flags() const {
        return {b.flags.ProgramChecked, b.flags.DataChecked, b.flags.ProgramModified,
                b.flags.DataModified};
    }
    bool tableIsFromStartUp() const {
        for (int row = 0; row < DataTable::kRowCount; ++row) {
            if (b.table.value(row) != "0" || !b.table.comment(row).empty()) {
                return false;
            }
        }
        return true;
    }
};

// --- Beispiele ------------------------------------------------------------------------------

TEST_F(ExampleCommandsTest, AnExampleReplacesProgramAndDataAsLoadDoes) {
    workInProgress(false, false);
    const BuiltInExample& summe = builtInExamples()[exampleIndex("summe")];
    const int repaints = t.screen.picture.repaints;
    t.workbench.loadExample(exampleIndex("summe"));

    EXPECT_TRUE(prompts.questions.empty()) << "nothing to save, and no load questions";
    EXPECT_TRUE(prompts.dialogs.empty());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(t.screen.editor.text(), summe.program);
    EXPECT_EQ(dataFileText(b.table), *summe.data);
    EXPECT_EQ(b.table.comment(11), "Grenze");
    EXPECT_EQ(flags(), (Flags{false, false, false, false}));
    EXPECT_FALSE(b.machine.VM_Running);
    EXPECT_EQ(t.screen.runPanel.caption, "Start");
    EXPECT_FALSE(t.workbench.canStepBack()) << "the journal belongs to the replaced program";
    EXPECT_GT(t.screen.picture.repaints, repaints) << "the picture shows the new data";
}

TEST_F(ExampleCommandsTest, AnExampleWithoutDataBringsTheEmptyTable) {
    workInProgress(false, false);
    t.workbench.loadExample(exampleIndex("maximum"));
    ASSERT_FALSE(builtInExamples()[exampleIndex("maximum")].data);
    EXPECT_TRUE(tableIsFromStartUp());
    EXPECT_EQ(flags(), (Flags{false, false, false, false}));
}

// Modified work is offered for saving with both questions, as Load offers it, whichever of the
// two was modified; declined, the example is loaded all the same.
TEST(ExampleCommands, ModifiedWorkIsOfferedForSavingFirst) {
    const struct {
        bool programModified, dataModified;
        Questions questions;
    } cases[] = {
        {false, false, {}},
        {true, false, {kSaveProgram, kSaveData}},
        {false, true, {kSaveProgram, kSaveData}},
        {true, true, {kSaveProgram, kSaveData}},
    };
    for (const auto& c : cases) {
        testing::TestBench fresh;
        WorkbenchInternals& bench = fresh.bench;
        fresh.screen.editor.type({"STP"});
        bench.flags.ProgramModified = c.programModified;
        bench.flags.DataModified = c.dataModified;
        fresh.screen.prompts.answers.assign(c.questions.size(), false);
        fresh.workbench.loadExample(exampleIndex("countdown"));
        EXPECT_EQ(fresh.screen.prompts.questions, c.questions)
            << c.programModified << c.dataModified;
        EXPECT_EQ(fresh.screen.editor.text(), builtInExamples()[exampleIndex("countdown")].program);
        EXPECT_FALSE(bench.flags.ProgramModified || bench.flags.DataModified);
    }
}

TEST_F(ExampleCommandsTest, AFailedSaveEndsTheCommandWithNothingReplaced) {
    testing::TempFolder folder;
    workInProgress(true, true);
    const std::string program = t.screen.editor.text();
    prompts.answers = {true};
    prompts.files = {folder.file("fehlt/prog.prg")};
    t.workbench.loadExample(exampleIndex("summe"));

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, "Quarzel 3");
    EXPECT_EQ(prompts.questions, Questions{kSaveProgram}) << "the data question is not reached";
    EXPECT_EQ(t.screen.editor.text(), program);
    EXPECT_EQ(b.table.value(99) + b.table.comment(99), "77eigene");
    EXPECT_EQ(flags(), (Flags{true, true, true, true}));
    EXPECT_TRUE(b.machine.VM_Running && t.workbench.canStepBack());
}

TEST_F(ExampleCommandsTest, AnIndexOutsideTheListChangesNothing) {
    workInProgress(true, false);
    const std::string program = t.screen.editor.text();
    for (const int index : {-1, static_cast<int>(builtInExamples().size())}) {
        prompts.messages.clear();
        t.workbench.loadExample(index);
        ASSERT_EQ(prompts.messages.size(), 1u) << index;
        EXPECT_EQ(prompts.messages[0].text,
                  "Listenindex überschreitet das Maximum (" + std::to_string(index) + ")");
        EXPECT_TRUE(prompts.questions.empty());
        EXPECT_EQ(t.screen.editor.text(), program);
        EXPECT_TRUE(b.machine.VM_Running);
    }
}

// --- Ausprobieren ---------------------------------------------------------------------------

TEST_F(ExampleCommandsTest, ATriedProgramReplacesTheProgramAndLeavesTheTable) {
    workInProgress(true, true);
    prompts.answers = {false};  // "Programm speichern?"
    t.workbench.tryProgram(fromUtf8("* Zähler\nINC\r\nSTP"));

    EXPECT_EQ(prompts.questions, Questions{kSaveProgram}) << "no question about the data";
    EXPECT_EQ(t.screen.editor.text(), fromUtf8("* Zähler\r\nINC\r\nSTP"));
    EXPECT_EQ(b.table.value(99) + b.table.comment(99), "77eigene");
    EXPECT_EQ(flags(), (Flags{false, true, false, true})) << "the table's flags stay";
    EXPECT_FALSE(b.machine.VM_Running);
    EXPECT_FALSE(t.workbench.canStepBack());
}

TEST_F(ExampleCommandsTest, AnUnmodifiedProgramIsReplacedWithoutAQuestion) {
    workInProgress(false, false);
    t.workbench.tryProgram("STP\r\n");
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(t.screen.editor.text(), "STP\r\n");
}

TEST_F(ExampleCommandsTest, ATriedProgramTooLargeForTheEditorIsRefusedBeforeAnyQuestion) {
    workInProgress(true, false);
    const std::string program = t.screen.editor.text();
    t.workbench.tryProgram(std::string(kMaxProgramFileBytes + 1, 'x'));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "Text überschreitet Memo-Kapazität.");
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(t.screen.editor.text(), program);
    EXPECT_TRUE(b.flags.ProgramModified && b.machine.VM_Running);
}

// --- Every built-in example, to its expected end --------------------------------------------

// What NAME.expected beside an example says of its run: the registers and the step count as
// the headless runner prints them, the message it ends with (caption and text), the numbers
// typed for INP.
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
        if (colon == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, colon);
        const std::string value = line.substr(colon + 2);
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
        WorkbenchInternals& b = t.bench;
        for (const std::string& text : expected.inputs) {
            t.screen.numberInput.script.push_back(text);
        }
        t.workbench.loadExample(static_cast<int>(i));
        t.workbench.btCheckClick();
        ASSERT_TRUE(t.screen.prompts.messages.empty())
            << name << ": " << t.screen.prompts.messages[0].text;
        ASSERT_TRUE(b.flags.ProgramChecked && b.flags.DataChecked) << name;
        t.workbench.btRunClick();
        for (int steps = 0; b.machine.VM_Running && steps < 100000; ++steps) {
            t.workbench.btStepClick();
        }
        EXPECT_FALSE(b.machine.VM_Running) << name << " runs on";

        const auto& messages = t.screen.prompts.messages;
        EXPECT_EQ(messages.empty() ? "" : messages[0].caption + ": " + messages[0].text,
                  expected.message)
            << name;
        const std::map<std::string, std::string> registers = {
            {"Akku", std::to_string(b.machine.VM_Accu)},
            {"Fenster", std::to_string(b.machine.VM_Window)},
            {"Index", std::to_string(b.machine.VM_Index)},
            {"Anweisung", std::to_string(b.machine.VM_IP)},
            {"Stack", std::to_string(b.machine.VM_SP)},
            {"Schritte", std::to_string(b.machine.StepCount)},
        };
        EXPECT_EQ(registers, expected.lines) << name;
        EXPECT_TRUE(t.screen.numberInput.script.empty()) << name << ": inputs left over";
    }
}

}  // namespace
}  // namespace quarzel
