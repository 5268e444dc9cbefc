// "Was geschah": the sentence of every instruction and every way a step ends, with the values
// the step used, through the workbench as a front end asks for it; and the hint of every kind
// of error "Prüfen" finds.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "checker/check_error.h"
#include "common/win1252.h"
#include "fakes.h"

namespace quarzel {
namespace {

struct Run {
    std::vector<std::string> program;                // lines, UTF-8
    std::vector<std::pair<int, std::string>> cells;  // cell number, value
    std::vector<std::optional<std::string>> inputs;  // for the number dialog
    int steps = 1;
    std::int32_t stack = 512;  // VM_SP right after the start
};

// Checks, starts and steps the program as a learner would; the bench is left where it stands.
void runSteps(testing::TestBench& t, const Run& run) {
    t.screen.editor.type(run.program);
    for (const auto& [cell, value] : run.cells) {
        t.bench.table.setValue(cell - 1, fromUtf8(value));
    }
    t.screen.numberInput.script.assign(run.inputs.begin(), run.inputs.end());
    t.workbench.btCheckClick();
    t.workbench.btRunClick();
    ASSERT_TRUE(t.bench.machine.VM_Running) << run.program[0];
    t.bench.machine.VM_SP = run.stack;
    for (int i = 0; i < run.steps; ++i) {
        t.workbench.btStepClick();
    }
}

std::string sentence(const testing::TestBench& t) {
    return toUtf8(t.workbench.stepSentence());
}

struct SentenceCase {
    Run run;
    std::string sentence;
};

TEST(StepSentenceTest, EveryInstructionSaysWhatItDidWithItsValues) {
    const std::vector<SentenceCase> cases = {
        {{{"LAD 10", "ADD 11", "STP"}, {{10, "5"}, {11, "7"}}, {}, 2},
         "Zeile 2: ADD 11 — Akku 5 + Zelle 11 (7) = 12"},
        {{{"LAD 10", "STO X", "LAD 11", "ADD X", "STP"}, {{10, "3"}, {11, "4"}}, {}, 4},
         "Zeile 4: ADD X — Akku 4 + Index (3) = 7"},
        {{{"LAD 10", "SUB [12]", "STP"}, {{10, "9"}, {12, "40"}, {40, "2"}}, {}, 2},
         "Zeile 2: SUB [12] — Zelle 12 enthält 40: Akku 9 - Zelle 40 (2) = 7"},
        {{{"LAD 12", "STO X", "LAD 10", "MUL [X]", "STP"},
          {{12, "40"}, {10, "6"}, {40, "7"}},
          {},
          4},
         "Zeile 4: MUL [X] — Index enthält 40: Akku 6 × Zelle 40 (7) = 42"},
        {{{"LAD 10", "DIV 11", "STP"}, {{10, "-7"}, {11, "2"}}, {}, 2},
         "Zeile 2: DIV 11 — Akku -7 / Zelle 11 (2) = -3"},
        {{{"LAD 10", "STP"}, {{10, "007"}}, {}, 1}, "Zeile 1: LAD 10 — Akku := Zelle 10 (7)"},
        {{{"LAD 10", "STO [12]", "STP"}, {{10, "12"}, {12, "40"}}, {}, 2},
         "Zeile 2: STO [12] — Zelle 12 enthält 40: Zelle 40 := 12"},
        // The cell that held the address is the one written: it is named as it was.
        {{{"LAD 10", "STO [12]", "STP"}, {{10, "5"}, {12, "12"}}, {}, 2},
         "Zeile 2: STO [12] — Zelle 12 enthält 12: Zelle 12 := 5"},
        {{{"LAD 10", "STO X", "STP"}, {{10, "3"}}, {}, 2}, "Zeile 2: STO X — Index := 3"},
        {{{"LAD 10", "TAX", "STO [X]", "STP"}, {{10, "20"}}, {}, 3},
         "Zeile 3: STO [X] — Index enthält 20: Zelle 20 := 20"},
        {{{"CAL UP", "STP", "MRK UP", "RET"}, {}, {}, 1},
         "Zeile 1: CAL UP — Rücksprung (Anweisung 1) auf den Stack: Zelle 512 := 1, Stack 511; "
         "weiter in Zeile 3"},
        {{{"CAL UP", "STP", "MRK UP", "RET"}, {}, {}, 3},
         "Zeile 4: RET — Zelle 512 (1) vom Stack, Zelle 512 := 0, Stack 512: weiter in Zeile 2"},
        {{{"LAD 10", "PUS", "STP"}, {{10, "7"}}, {}, 2},
         "Zeile 2: PUS — Akku 7 auf den Stack: Zelle 512 := 7, Stack 511"},
        {{{"LAD 10", "PUS", "CLA", "POP", "STP"}, {{10, "7"}}, {}, 4},
         "Zeile 4: POP — Zelle 512 (7) vom Stack: Akku := 7, Zelle 512 := 0, Stack 512"},
        {{{"JMP ENDE", "CLA", "MRK ENDE", "STP"}, {}, {}, 1},
         "Zeile 1: JMP ENDE — weiter in Zeile 3"},
        {{{"LAD 10", "MRK S", "JNE S", "STP"}, {{10, "3"}}, {}, 3},
         "Zeile 3: JNE S — Akku ist 3, nicht 0: weiter in Zeile 2"},
        {{{"LAD 10", "MRK S", "JNE S", "STP"}, {{10, "0"}}, {}, 3},
         "Zeile 3: JNE S — Akku ist 0: kein Sprung, weiter in Zeile 4"},
        {{{"LAD 10", "MRK S", "JEQ S", "STP"}, {{10, "0"}}, {}, 3},
         "Zeile 3: JEQ S — Akku ist 0: weiter in Zeile 2"},
        {{{"LAD 10", "MRK S", "JEQ S", "STP"}, {{10, "-2"}}, {}, 3},
         "Zeile 3: JEQ S — Akku ist -2, nicht 0: kein Sprung, weiter in Zeile 4"},
        {{{"LAD 10", "MRK S", "JGT S", "STP"}, {{10, "1"}}, {}, 3},
         "Zeile 3: JGT S — Akku ist 1, größer als 0: weiter in Zeile 2"},
        {{{"LAD 10", "MRK S", "JGT S", "STP"}, {{10, "0"}}, {}, 3},
         "Zeile 3: JGT S — Akku ist 0, nicht größer als 0: kein Sprung, weiter in Zeile 4"},
        {{{"LAD 10", "MRK S", "JLT S", "STP"}, {{10, "-1"}}, {}, 3},
         "Zeile 3: JLT S — Akku ist -1, kleiner als 0: weiter in Zeile 2"},
        {{{"LAD 10", "MRK S", "JLT S", "STP"}, {{10, "0"}}, {}, 3},
         "Zeile 3: JLT S — Akku ist 0, nicht kleiner als 0: kein Sprung, weiter in Zeile 4"},
        {{{"INP", "STP"}, {}, {std::string("zwölf"), std::string("17")}, 1},
         "Zeile 1: INP — Eingabe 17: Akku := 17"},
        {{{"INP", "INP", "STP"}, {}, {std::string("5"), std::nullopt}, 2},
         "Zeile 2: INP — Eingabe geschlossen, die zuletzt angenommene Zahl bleibt: Akku := 5"},
        {{{"LAD 10", "CLA", "STP"}, {{10, "4"}}, {}, 2}, "Zeile 2: CLA — Akku := 0"},
        {{{"LAD 10", "INC", "STP"}, {{10, "4"}}, {}, 2}, "Zeile 2: INC — Akku 4 + 1 = 5"},
        {{{"LAD 10", "DEC", "STP"}, {{10, "4"}}, {}, 2}, "Zeile 2: DEC — Akku 4 - 1 = 3"},
        {{{"LAD 10", "NEG", "STP"}, {{10, "4"}}, {}, 2},
         "Zeile 2: NEG — Akku 4 mit umgekehrtem Vorzeichen = -4"},
        {{{"LAD 10", "OUT", "STP"}, {{10, "4"}}, {}, 2}, "Zeile 2: OUT — Fenster := Akku (4)"},
        {{{"LAD 10", "SAL", "STP"}, {{10, "-1"}}, {}, 2},
         "Zeile 2: SAL — Akku -1 um ein Bit nach links geschoben = -2"},
        {{{"LAD 10", "SAR", "STP"}, {{10, "-2"}}, {}, 2},
         "Zeile 2: SAR — Akku -2 um ein Bit nach rechts geschoben = 2147483647"},
        {{{"LAD 10", "TAX", "STP"}, {{10, "4"}}, {}, 2}, "Zeile 2: TAX — Index := Akku (4)"},
        {{{"LAD 10", "TAX", "CLA", "TXA", "STP"}, {{10, "4"}}, {}, 4},
         "Zeile 4: TXA — Akku := Index (4)"},
        {{{"MRK A", "STP"}, {}, {}, 1}, "Zeile 1: MRK A — Marke, keine Wirkung"},
        {{{"LAD 10", "* Kommentar", "STP"}, {}, {}, 2}, "Zeile 2: * Kommentar — keine Wirkung"},
        {{{"", "STP"}, {}, {}, 1}, "Zeile 1: (leere Zeile) — keine Wirkung"},
        {{{"ZZZ", "STP"}, {}, {}, 1}, "Zeile 1: ZZZ — keine Wirkung"},
        // The line as typed, without its trailing blanks, a tab shown as a blank.
        {{{"STP Ende   "}, {}, {}, 1}, "Zeile 1: STP Ende — Ende des Programms, der Lauf endet"},
        {{{"LAD 10 \t* a", "STP"}, {}, {}, 1}, "Zeile 1: LAD 10  * a — Akku := Zelle 10 (0)"},
    };
    for (const SentenceCase& c : cases) {
        testing::TestBench t;
        runSteps(t, c.run);
        EXPECT_EQ(sentence(t), c.sentence);
    }
}

TEST(StepSentenceTest, ALongLineIsCutAsAMessageCutsAQuotedText) {
    const std::string line = "LAD 10 * " + std::string(70, 'x');
    testing::TestBench t;
    runSteps(t, {{line, "STP"}, {}, {}, 1});
    EXPECT_EQ(sentence(t), "Zeile 1: " + line.substr(0, 60) + "… — Akku := Zelle 10 (0)");
}

TEST(StepSentenceTest, EveryWayAStepFailsSaysWhatHappened) {
    const std::vector<SentenceCase> cases = {
        {{{"LAD 10", "DIV 11", "STP"}, {{10, "5"}, {11, "0"}}, {}, 2},
         "Zeile 2: DIV 11 — Akku 5 / Zelle 11 (0): Division durch Null, der Lauf endet"},
        {{{"LAD 10", "DIV X", "STP"}, {{10, "5"}}, {}, 2},
         "Zeile 2: DIV X — Akku 5 / Index (0): Division durch Null, der Lauf endet"},
        {{{"LAD [5]", "STP"}, {{5, "600"}}, {}, 1},
         "Zeile 1: LAD [5] — Zelle 5 enthält 600: Speicherstelle 5 zeigt auf ungültige Stelle, "
         "der Lauf endet"},
        {{{"STO [X]", "STP"}, {}, {}, 1},
         "Zeile 1: STO [X] — Index enthält 0: Indexregister zeigt auf ungültige Stelle, der Lauf "
         "endet"},
        {{{"PUS", "STP"}, {}, {}, 1, 0},
         "Zeile 1: PUS — Stack 0, der Stack ist voll: Stack-Underflow, der Lauf endet"},
        {{{"CAL A", "MRK A", "STP"}, {}, {}, 1, 0},
         "Zeile 1: CAL A — Stack 0, der Stack ist voll: Stack-Underflow, der Lauf endet"},
        {{{"RET", "STP"}, {}, {}, 1},
         "Zeile 1: RET — Stack 512, der Stack ist leer: Stack-Overflow, der Lauf endet"},
        {{{"LAD 10", "ADD 11", "STP"}, {{10, "2147483647"}, {11, "1"}}, {}, 2},
         "Zeile 2: ADD 11 — Akku 2147483647 + Zelle 11 (1): Integerüberlauf, der Lauf endet "
         "(Akku jetzt -2147483648)"},
        {{{"LAD 10", "MUL 11", "STP"}, {{10, "65536"}, {11, "65536"}}, {}, 2},
         "Zeile 2: MUL 11 — Akku 65536 × Zelle 11 (65536): Integerüberlauf, der Lauf endet"},
        {{{"LAD 10", "INC", "STP"}, {{10, "2147483647"}}, {}, 2},
         "Zeile 2: INC — Akku 2147483647 + 1: Integerüberlauf, der Lauf endet (Akku jetzt "
         "-2147483648)"},
        {{{"LAD 10", "STP"}, {{10, "99999999999"}}, {}, 1},
         "Zeile 1: LAD 10 — Zelle 10 enthält keine Zahl: '99999999999' ist kein gültiger "
         "Integerwert, der Lauf endet"},
        {{{"LAD [5]", "STP"}, {{5, "10"}, {10, "-"}}, {}, 1},
         "Zeile 1: LAD [5] — Zelle 5 enthält 10: Zelle 10 enthält keine Zahl: '-' ist kein "
         "gültiger Integerwert, der Lauf endet"},
        // Past the last instruction: the checker's empty lines are where the run goes on.
        {{{"JMP E", "STP", "MRK E"}, {}, {}, 3},
         "Zeile 4: (leere Zeile) — hier steht keine Anweisung: Listenindex überschreitet das "
         "Maximum (3), der Lauf endet"},
        {{{"LAD 10", "PUS", "RET", "STP"}, {{10, "-5"}}, {}, 4},
         "Zeile -4: (keine Programmzeile) — hier steht keine Anweisung: Listenindex überschreitet "
         "das Maximum (-5), der Lauf endet"},
    };
    for (const SentenceCase& c : cases) {
        testing::TestBench t;
        runSteps(t, c.run);
        EXPECT_FALSE(t.bench.machine.VM_Running) << c.sentence;
        EXPECT_EQ(sentence(t), c.sentence);
    }
}

TEST(StepSentenceTest, TheLineFollowsZurueckAndGoesWithANewRunOrAnEdit) {
    testing::TestBench t;
    runSteps(t, {{"LAD 10", "INC", "STP"}, {{10, "4"}}, {}, 2});
    const testing::FakeRunPanel& panel = t.screen.runPanel;
    const int told = panel.sentenceChanges;
    t.workbench.btBackClick();
    EXPECT_EQ(sentence(t), "Zeile 1: LAD 10 — Akku := Zelle 10 (4)");
    EXPECT_EQ(panel.sentenceChanges, told + 1);
    t.workbench.speedClick(Speed::Step);
    EXPECT_EQ(panel.sentenceChanges, told + 1) << "nothing to tell";
    t.workbench.btBackClick();
    EXPECT_EQ(sentence(t), "") << "no step left";
    t.workbench.btStepClick();
    EXPECT_EQ(panel.sentenceChanges, told + 3);
    t.workbench.btRunClick();  // "Stop"
    EXPECT_NE(sentence(t), "") << "the run's last step is still what happened";
    t.workbench.btRunClick();  // a new run
    EXPECT_EQ(sentence(t), "");
    t.workbench.btStepClick();
    EXPECT_NE(sentence(t), "");
    t.workbench.btRunClick();
    t.screen.editor.type({"LAD 10", "DEC", "STP"});
    EXPECT_EQ(sentence(t), "");
    EXPECT_EQ(panel.sentenceChanges, told + 6);
}

// A program for each kind of error, as a new learner writes them.
struct HintCase {
    std::vector<std::string> program;
    CheckError kind;
};

TEST(CheckHintTest, EachKindOfErrorGivesItsOwnHintInTheSentenceLine) {
    const std::vector<HintCase> cases = {
        {{" LAD 1", "STP"}, CheckError::BadLineStart},
        {{"FOO 1", "STP"}, CheckError::NoSuchMnemonic},
        {{"CLAX", "STP"}, CheckError::BadInstruction},
        {{"JMP", "STP"}, CheckError::BlankMissing},
        {{"LAD 5*x", "STP"}, CheckError::CommentTooClose},
        {{"MRK A", "MRK a", "STP"}, CheckError::DuplicateMark},
        {{"ADD -5", "STP"}, CheckError::BadOperandCharacter},
        {{"LAD ", "STP"}, CheckError::OperandMissing},
        {{"LAD 0", "STP"}, CheckError::OutOfRange},
        {{"JMP NIRGENDS", "STP"}, CheckError::UndefinedMark},
        {{"LAD 1"}, CheckError::NoStp},
        {{"LAD 5X", "STP"}, CheckError::OperandNotANumber},
        {{"STP"}, CheckError::DataNotANumber},  // with a cell that holds no number
    };
    std::set<std::string> hints;
    for (const HintCase& c : cases) {
        const std::string hint = toUtf8(checkHint(c.kind));
        EXPECT_GT(hint.size(), 20u) << "a hint of its own for kind " << static_cast<int>(c.kind);
        hints.insert(hint);
        testing::TestBench t;
        t.screen.editor.type(c.program);
        t.bench.table.setValue(2, c.kind == CheckError::DataNotANumber ? "abc" : "0");
        t.workbench.btCheckClick();
        EXPECT_EQ(sentence(t), "Tipp: " + hint) << c.program[0];
        EXPECT_EQ(t.screen.prompts.messages.size(), 1u) << "the one box, as before";
    }
    EXPECT_EQ(hints.size(), cases.size());
    EXPECT_EQ(toUtf8(checkHint(CheckError::None)), "");
    // What a learner reads for the three errors a first program meets most.
    EXPECT_EQ(
        toUtf8(checkHint(CheckError::BadLineStart)).rfind("Eine Anweisung beginnt in Spalte 1", 0),
        0u);
    EXPECT_EQ(
        toUtf8(checkHint(CheckError::OutOfRange))
            .rfind("Operanden sind Zellen von 1 bis 512 – Zahlen als Werte gehören in die Daten",
                   0),
        0u);
    EXPECT_EQ(
        toUtf8(checkHint(CheckError::NoStp)).rfind("Jedes Programm braucht eine STP-Anweisung", 0),
        0u);
}

TEST(CheckHintTest, TheHintStaysWhileTheLearnerMendsTheLineAndGoesWithTheNextCheck) {
    testing::TestBench t;
    t.screen.editor.type({"LAD 0", "STP"});
    t.workbench.btRunClick();  // "Start" checks the program first
    const std::string hint = "Tipp: " + toUtf8(checkHint(CheckError::OutOfRange));
    EXPECT_EQ(sentence(t), hint);
    t.screen.editor.type({"LAD 1", "STP"});
    EXPECT_EQ(sentence(t), hint);
    t.workbench.btCheckClick();
    EXPECT_EQ(sentence(t), "");
}

}  // namespace
}  // namespace quarzel
