// When a save counts as done: a written file is handed on to where the user chose it before
// any flag changes, a hand-over that fails leaves the work modified, and a close says whether
// a part of the work was neither saved nor declined.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/system_error.h"
#include "fakes.h"
#include "temp_folder.h"

namespace quarzel {
namespace {

struct Modified {
    bool program, data;
    bool operator==(const Modified& o) const { return program == o.program && data == o.data; }
};
std::ostream& operator<<(std::ostream& out, const Modified& m) {
    return out << "{PM " << m.program << ", DM " << m.data << "}";
}

Modified modified(testing::TestBench& t) {
    return {t.bench.flags.ProgramModified, t.bench.flags.DataModified};
}

struct FinishCase {
    const char* command;
    std::vector<bool> answers;
    const char* file;
    std::function<void(Workbench&)> run;
    Modified afterSuccess;  // both were modified before
};

const FinishCase kFinishCases[] = {
    {"Speichern, program",
     {true, false},
     "prog.prg",
     [](Workbench& w) { w.btSaveClick(); },
     {false, true}},
    {"Speichern, data",
     {false, true},
     "daten.dta",
     [](Workbench& w) { w.btSaveClick(); },
     {true, false}},
    {"HTML export",
     {},
     "seite.html",
     [](Workbench& w) { w.btHTMLClick("24.12.2024"); },
     {true, true}},
};

TEST(SaveOutcomeTest, AWrittenFileIsHandedOnBeforeTheFlagsChangeAndAFailureKeepsThem) {
    for (const FinishCase& c : kFinishCases) {
        for (const bool fails : {false, true}) {
            SCOPED_TRACE(std::string(c.command) + (fails ? ", hand-over fails" : ""));
            testing::TestBench t;
            testing::TempFolder folder;
            t.screen.editor.type({"LAD 1", "STP"});
            t.bench.flags.ProgramModified = true;
            t.bench.flags.DataModified = true;
            const std::string path = folder.file(c.file);
            t.screen.prompts.answers.assign(c.answers.begin(), c.answers.end());
            t.screen.prompts.files = {path};
            Modified atHandOver{false, false};
            bool written = false;
            t.screen.prompts.onFinishSave = [&](const std::string& handed) {
                EXPECT_EQ(handed, path);
                written = folder.entries().count(c.file) == 1;
                atHandOver = modified(t);
                if (fails) {
                    throw SystemError(fromUtf8(std::string("Datei „") + c.file +
                                               "“ kann nicht gespeichert werden: voll"));
                }
            };
            c.run(t.workbench);

            EXPECT_TRUE(written) << "the file is complete when it is handed on";
            EXPECT_EQ(atHandOver, (Modified{true, true})) << "nothing counts as saved yet";
            EXPECT_EQ(modified(t), (fails ? Modified{true, true} : c.afterSuccess));
            const auto& messages = t.screen.prompts.messages;
            if (fails) {
                ASSERT_EQ(messages.size(), 1u);
                EXPECT_EQ(messages[0].caption, "Quarzel 3");
                EXPECT_EQ(messages[0].text, std::string("Datei „") + c.file +
                                                "“ kann nicht gespeichert werden: voll.");
            } else {
                EXPECT_TRUE(messages.empty());
            }
        }
    }
}

TEST(SaveOutcomeTest, ACloseSaysWhetherAPartWasNeitherSavedNorDeclined) {
    struct Case {
        const char* name;
        std::vector<bool> answers;     // program, then data
        std::vector<bool> chooseFile;  // per dialog: a file, or Abbrechen
        bool handOverFails;
        bool closes;
        bool workLeft;
    };
    const Case cases[] = {
        {"both declined", {false, false}, {}, false, true, false},
        {"both saved", {true, true}, {true, true}, false, true, false},
        {"program dialog cancelled", {true, false}, {false}, false, true, true},
        {"data dialog cancelled", {false, true}, {false}, false, true, true},
        {"program saved, data cancelled", {true, true}, {true, false}, false, true, true},
        {"hand-over fails", {true}, {true}, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TestBench t;
        testing::TempFolder folder;
        t.screen.editor.type({"STP"});
        t.bench.flags.ProgramModified = true;
        t.bench.flags.DataModified = true;
        t.screen.prompts.answers.assign(c.answers.begin(), c.answers.end());
        int dialog = 0;
        for (const bool chosen : c.chooseFile) {
            t.screen.prompts.files.push_back(
                chosen ? std::optional(folder.file("f" + std::to_string(dialog++))) : std::nullopt);
        }
        if (c.handOverFails) {
            t.screen.prompts.onFinishSave = [](const std::string&) {
                throw SystemError("Datei kann nicht gespeichert werden");
            };
        }
        EXPECT_EQ(t.workbench.closeRequested(), c.closes);
        if (c.closes) {
            EXPECT_EQ(t.workbench.closedWithWorkLeft(), c.workLeft);
        } else {
            EXPECT_EQ(modified(t), (Modified{true, true})) << "the work stays unsaved";
        }
    }
}

}  // namespace
}  // namespace quarzel
