// The program checker: the first error of a program text in the "Programmfehler" box with its
// line selected afterwards, the instruction list of a good program, and the empty lines that
// give the run display room to scroll the last line to the top.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "checker/check_program.h"
#include "common/system_error.h"
#include "common/win1252.h"
#include "fakes.h"
#include "model/instruction_set.h"
#include "model/state_flags.h"

namespace quarzel {
namespace {

using Lines = std::vector<std::string>;

constexpr std::int32_t kZZZ = static_cast<std::int32_t>(Mnemonic::ZZZ);
constexpr std::int32_t kMRK = static_cast<std::int32_t>(Mnemonic::MRK);
constexpr std::int32_t kSTP = static_cast<std::int32_t>(Mnemonic::STP);
constexpr std::int32_t kJMP = static_cast<std::int32_t>(Mnemonic::JMP);

// The checker on its own, with an editor of `visibleLines` lines wired to the change handler.
struct Checker {
    testing::EventLog log;
    testing::FakeEditor editor;
    testing::FakePrompts prompts{log};
    OpcodeList opcodes;
    Instructions list;
    StateFlags flags;

    explicit Checker(int visibleLines = 20) : editor(log, visibleLines) {
        editor.onChange = [this] { flags.meProgramChange(); };
    }
    // Lines typed in UTF-8; the flags and the log start clean for the check.
    bool check(const Lines& utf8Lines) {
        editor.type(utf8Lines);
        return checkAgain();
    }
    // A text of Windows-1252 bytes, as a file would bring it.
    bool checkBytes(const std::string& text) {
        editor.setText(text);
        return checkAgain();
    }
    bool checkAgain() {
        flags = StateFlags{};
        log.clear();
        return CheckProgram(editor, prompts, opcodes, list);
    }
    std::string onlyMessage() const {
        EXPECT_EQ(prompts.messages.size(), 1u);
        return prompts.messages.empty() ? std::string() : prompts.messages[0].text;
    }
};

std::string describe(const Lines& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += "«" + line + "»";
    }
    return text;
}

void expectRecord(const VM_Instruction& r, std::int32_t opcode, std::int32_t operand, bool isDirect,
                  const std::string& what) {
    EXPECT_EQ(r.Opcode, opcode) << what;
    EXPECT_EQ(r.Operand, operand) << what;
    EXPECT_EQ(r.IsDirect, isDirect) << what;
}

struct LineErrorCase {
    Lines program;
    const char* message;  // UTF-8
    int selected;         // line index
};

// Every case: one box with the exact text, the caption and the error icon, then the line
// selected, and nothing appended to the editor.
void expectLineErrors(const std::vector<LineErrorCase>& cases) {
    for (const auto& c : cases) {
        Checker k;
        const std::string what = describe(c.program);
        EXPECT_FALSE(k.check(c.program)) << what;
        ASSERT_EQ(k.prompts.messages.size(), 1u) << what;
        EXPECT_EQ(k.prompts.messages[0].text, c.message) << what;
        EXPECT_EQ(k.prompts.messages[0].caption, "Programmfehler") << what;
        EXPECT_EQ(k.prompts.messages[0].icon, MessageIcon::Error) << what;
        const testing::EventLog expected{
            std::string("message Programmfehler|") + c.message,
            "editor.select " + std::to_string(c.selected),
        };
        EXPECT_EQ(k.log, expected) << what;
        EXPECT_FALSE(k.flags.ProgramModified) << what;
    }
}

TEST(CheckProgramLineStart, OnlyLettersAndTheCommentStarStartALine) {
    expectLineErrors({
        {{" STP"}, "Fehler in Zeile 1: Ungültiges Zeichen am Zeilenanfang", 0},
        {{"STP", "   "}, "Fehler in Zeile 2: Ungültiges Zeichen am Zeilenanfang", 1},
        {{"\t \tSTP"}, "Fehler in Zeile 1: Ungültiges Zeichen am Zeilenanfang", 0},
        {{"STP", "5 LAD"}, "Fehler in Zeile 2: Ungültiges Zeichen am Zeilenanfang", 1},
        {{"Ärger"}, "Fehler in Zeile 1: Ungültiges Zeichen am Zeilenanfang", 0},
        {{"ärger"}, "Fehler in Zeile 1: Ungültiges Zeichen am Zeilenanfang", 0},
        {{"[5"}, "Fehler in Zeile 1: Ungültiges Zeichen am Zeilenanfang", 0},
        {{"; Kommentar"}, "Fehler in Zeile 1: Ungültiges Zeichen am Zeilenanfang", 0},
    });
}

TEST(CheckProgramLineStart, TabOnlyEmptyAndCommentLinesAreFillers) {
    Checker k;
    ASSERT_TRUE(k.check({"\t\t", "", "* Kommentar", "*", "\t* eingerückt", "STP"}));
    ASSERT_EQ(k.list.size(), 6u);
    for (int i = 0; i < 5; ++i) {
        expectRecord(k.list[i], kZZZ, 0, true, "line " + std::to_string(i));
    }
    expectRecord(k.list[5], kSTP, 0, true, "STP");
    EXPECT_TRUE(k.prompts.messages.empty());
}

TEST(CheckProgramMnemonic, TheFirstThreeCharactersAndTheBlankAfterThem) {
    expectLineErrors({
        {{"CLAX"}, "Fehler in Zeile 1: CLAX ist keine gültige Anweisung", 0},
        {{"clax 5\t6"}, "Fehler in Zeile 1: CLAX 56 ist keine gültige Anweisung", 0},
        {{"STP*"}, "Fehler in Zeile 1: STP* ist keine gültige Anweisung", 0},
        {{"ADDX 5"}, "Fehler in Zeile 1: Auf eine Anweisung muss ein Leerzeichen folgen", 0},
        {{"STOP"}, "Fehler in Zeile 1: Auf eine Anweisung muss ein Leerzeichen folgen", 0},
        {{"JMP"}, "Fehler in Zeile 1: Auf eine Anweisung muss ein Leerzeichen folgen", 0},
        {{"MRK"}, "Fehler in Zeile 1: Auf eine Anweisung muss ein Leerzeichen folgen", 0},
        {{"LAD"}, "Fehler in Zeile 1: Auf eine Anweisung muss ein Leerzeichen folgen", 0},
        {{"lad\t5"}, "Fehler in Zeile 1: Auf eine Anweisung muss ein Leerzeichen folgen", 0},
        {{"MRK*A"}, "Fehler in Zeile 1: Auf eine Anweisung muss ein Leerzeichen folgen", 0},
        {{"AD"}, "Fehler in Zeile 1: AD ist kein gültiger Befehl", 0},
        {{"A"}, "Fehler in Zeile 1: A ist kein gültiger Befehl", 0},
        {{"STP", "", "foo"}, "Fehler in Zeile 3: FOO ist kein gültiger Befehl", 2},
        {{"Stopp"}, "Fehler in Zeile 1: Auf eine Anweisung muss ein Leerzeichen folgen", 0},
        {{"Hallo Welt"}, "Fehler in Zeile 1: HAL ist kein gültiger Befehl", 0},
        {{"A B"}, "Fehler in Zeile 1: A B ist kein gültiger Befehl", 0},
        {{"LÄD 5"}, "Fehler in Zeile 1: LÄD ist kein gültiger Befehl", 0},
    });
}

TEST(CheckProgramMnemonic, InstructionsWithoutOperandIgnoreWhatFollowsTheBlank) {
    const struct {
        const char* line;
        Mnemonic opcode;
    } cases[] = {
        {"STP", Mnemonic::STP},        {"STP Ende des Programms", Mnemonic::STP},
        {"cla 12 xyz", Mnemonic::CLA}, {"OUT *", Mnemonic::OUT},
        {"ret\t", Mnemonic::RET},      {"PUS  [X] ** egal", Mnemonic::PUS},
        {"inp ä", Mnemonic::INP},
    };
    for (const auto& c : cases) {
        Checker k;
        ASSERT_TRUE(k.check({c.line, "STP"})) << c.line;
        ASSERT_EQ(k.list.size(), 2u) << c.line;
        expectRecord(k.list[0], static_cast<std::int32_t>(c.opcode), 0, true, c.line);
    }
}

TEST(CheckProgramAddress, TheFourFormsAndTheNumberForms) {
    const struct {
        const char* line;
        Mnemonic opcode;
        std::int32_t operand;
        bool isDirect;
    } cases[] = {
        {"add 5", Mnemonic::ADD, 5, true},
        {"ADD [5]", Mnemonic::ADD, 5, false},
        {"ADD X", Mnemonic::ADD, 0, true},
        {"ADD [X]", Mnemonic::ADD, 0, false},
        {"sto [x]", Mnemonic::STO, 0, false},
        {"ADD 5 6", Mnemonic::ADD, 5, true},
        {"ADD 5 * Kommentar", Mnemonic::ADD, 5, true},
        {"ADD [12", Mnemonic::ADD, 1, false},
        {"ADD X10", Mnemonic::ADD, 16, true},
        {"ADD X200", Mnemonic::ADD, 512, true},
        {"mul [0x100]", Mnemonic::MUL, 256, false},
        {"LAD 007", Mnemonic::LAD, 7, true},
        {"LAD 0000000000000000000512", Mnemonic::LAD, 512, true},
        {"DIV 1", Mnemonic::DIV, 1, true},
        {"SUB \t512", Mnemonic::SUB, 512, true},
        {"STO [X] \t*Index", Mnemonic::STO, 0, false},
        {"LAD 5\x01", Mnemonic::LAD, 5, true},  // control characters are trimmed like blanks
    };
    for (const auto& c : cases) {
        Checker k;
        ASSERT_TRUE(k.check({c.line, "STP"})) << c.line << ": " << k.onlyMessage();
        ASSERT_EQ(k.list.size(), 2u) << c.line;
        expectRecord(k.list[0], static_cast<std::int32_t>(c.opcode), c.operand, c.isDirect, c.line);
    }
}

TEST(CheckProgramAddress, BadOperandsAreProgramErrors) {
    expectLineErrors({
        {{"ADD 0"}, "Fehler in Zeile 1: Ziel 0 außerhalb des zulässigen Bereichs", 0},
        {{"STP", "ADD 513"}, "Fehler in Zeile 2: Ziel 513 außerhalb des zulässigen Bereichs", 1},
        {{"ADD [0]"}, "Fehler in Zeile 1: Ziel 0 außerhalb des zulässigen Bereichs", 0},
        {{"ADD 0600"}, "Fehler in Zeile 1: Ziel 0600 außerhalb des zulässigen Bereichs", 0},
        {{"ADD X80000000"},
         "Fehler in Zeile 1: Ziel X80000000 außerhalb des zulässigen Bereichs",
         0},
        {{"ADD [X99999999]"},
         "Fehler in Zeile 1: Ziel X99999999 außerhalb des zulässigen Bereichs",
         0},
        {{"ADD X201"}, "Fehler in Zeile 1: Ziel X201 außerhalb des zulässigen Bereichs", 0},
        {{"ADD 2147483647"},
         "Fehler in Zeile 1: Ziel 2147483647 außerhalb des zulässigen Bereichs",
         0},
        {{"ADD -5"}, "Fehler in Zeile 1: Ungültiges Zeichen in Ziel -5", 0},
        {{"ADD +5"}, "Fehler in Zeile 1: Ungültiges Zeichen in Ziel +5", 0},
        {{"add x1f"}, "Fehler in Zeile 1: Ungültiges Zeichen in Ziel X1F", 0},
        {{"ADD $10"}, "Fehler in Zeile 1: Ungültiges Zeichen in Ziel $10", 0},
        {{"ADD 5a"}, "Fehler in Zeile 1: Ungültiges Zeichen in Ziel 5A", 0},
        {{"ADD ä"}, "Fehler in Zeile 1: Ungültiges Zeichen in Ziel Ä", 0},
        {{"LAD 5\t* Kommentar"},
         "Fehler in Zeile 1: Vor einem Kommentar muss ein Leerzeichen stehen",
         0},
        {{"LAD *"}, "Fehler in Zeile 1: Vor einem Kommentar muss ein Leerzeichen stehen", 0},
        {{"LAD [X]*"}, "Fehler in Zeile 1: Vor einem Kommentar muss ein Leerzeichen stehen", 0},
        // An operand that is not there at all.
        {{"LAD "}, "Fehler in Zeile 1: Ziel fehlt", 0},
        {{"STP", "LAD  5"}, "Fehler in Zeile 2: Ziel fehlt", 1},
        {{"LAD \t * Kommentar"}, "Fehler in Zeile 1: Ziel fehlt", 0},
        {{"LAD \x01"}, "Fehler in Zeile 1: Ziel fehlt", 0},
    });
}

TEST(CheckProgramAddress, AnOperandThatIsNoNumberRaisesTheConversionError) {
    const struct {
        const char* line;
        const char* error;
    } cases[] = {
        {"ADD 5X", "'5X' ist kein gültiger Integerwert"},
        {"ADD [5", "'' ist kein gültiger Integerwert"},
        {"ADD [", "'' ist kein gültiger Integerwert"},
        {"ADD []", "'' ist kein gültiger Integerwert"},
        {"ADD XX", "'XX' ist kein gültiger Integerwert"},
        {"ADD [[5]]", "'[5]' ist kein gültiger Integerwert"},
        {"ADD ]5", "']5' ist kein gültiger Integerwert"},
        {"ADD 0X", "'0X' ist kein gültiger Integerwert"},
        {"ADD 2147483648", "'2147483648' ist kein gültiger Integerwert"},
        {"ADD X100000000", "'X100000000' ist kein gültiger Integerwert"},
    };
    for (const auto& c : cases) {
        Checker k;
        k.editor.type({"CLA", "", c.line, "STP"});
        k.list.push_back(VM_Instruction{kSTP, 0, true});  // left over from an earlier check
        try {
            CheckProgram(k.editor, k.prompts, k.opcodes, k.list);
            ADD_FAILURE() << c.line << " passed";
        } catch (const SystemError& error) {
            EXPECT_EQ(toUtf8(error.text()), c.error) << c.line;
        }
        EXPECT_TRUE(k.prompts.messages.empty()) << c.line;
        EXPECT_FALSE(k.editor.selectedLine().has_value()) << c.line;
        ASSERT_EQ(k.list.size(), 2u) << c.line;  // the lines before the faulty one
        expectRecord(k.list[0], static_cast<std::int32_t>(Mnemonic::CLA), 0, true, c.line);
        expectRecord(k.list[1], kZZZ, 0, true, c.line);
    }
}

TEST(CheckProgramAddress, TheConversionErrorReachesTheCentralHandlerAndEndsTheCheck) {
    testing::TestBench t;
    t.screen.editor.type({"LAD 5X", "STP"});
    bool result = true;
    t.handle([&] {
        result = CheckProgram(t.screen.editor, t.screen.prompts, t.bench.opcodes,
                              t.bench.machine.InstructionList);
    });
    EXPECT_TRUE(result);  // never returned
    ASSERT_EQ(t.screen.prompts.messages.size(), 1u);
    EXPECT_EQ(t.screen.prompts.messages[0].text, "'5X' ist kein gültiger Integerwert.");
    EXPECT_EQ(t.screen.prompts.messages[0].caption, "Quarzel 3");
    EXPECT_FALSE(t.screen.editor.selectedLine().has_value());
    EXPECT_TRUE(t.bench.machine.InstructionList.empty());
}

TEST(CheckProgramNames, ErrorsOfMarksAndJumps) {
    expectLineErrors({
        {{"MRK A*B"}, "Fehler in Zeile 1: Vor einem Kommentar muss ein Leerzeichen stehen", 0},
        {{"JMP *"}, "Fehler in Zeile 1: Vor einem Kommentar muss ein Leerzeichen stehen", 0},
        {{"MRK loop", "STP", "MRK LOOP"}, "Fehler in Zeile 3 : Marke LOOP bereits definiert", 2},
        {{"MRK Ärger", "MRK ärger"}, "Fehler in Zeile 2 : Marke ÄRGER bereits definiert", 1},
        {{"MRK ", "MRK  egal"}, "Fehler in Zeile 2 : Marke  bereits definiert", 1},
        {{"MRK A\tB", "MRK AB *"}, "Fehler in Zeile 2 : Marke AB bereits definiert", 1},
        {{"JMP nirgends", "STP"}, "Fehler in Zeile 1: Ziel NIRGENDS ist nicht vorhanden", 0},
        {{"MRK 5", "JMP 05", "STP"}, "Fehler in Zeile 2: Ziel 05 ist nicht vorhanden", 1},
        {{"JMP ", "STP"}, "Fehler in Zeile 1: Ziel  ist nicht vorhanden", 0},
        // Pass 1 must pass every line before a missing mark is reported ...
        {{"JMP WEG", "STP", "XYZ"}, "Fehler in Zeile 3: XYZ ist kein gültiger Befehl", 2},
        {{"JMP WEG", "MRK A", "MRK a"}, "Fehler in Zeile 3 : Marke A bereits definiert", 2},
        // ... and the first unresolved jump in line order is the one reported.
        {{"JMP DA", "MRK DA", "JNE WEG1", "CAL WEG2", "JMP WEG1", "STP"},
         "Fehler in Zeile 3: Ziel WEG1 ist nicht vorhanden",
         2},
        {{"CAL WEG2", "JMP DA", "MRK DA", "JLT WEG1", "JGT WEG2", "STP"},
         "Fehler in Zeile 1: Ziel WEG2 ist nicht vorhanden",
         0},
        // The missing mark comes before the missing STP.
        {{"JEQ WEG"}, "Fehler in Zeile 1: Ziel WEG ist nicht vorhanden", 0},
    });
}

TEST(CheckProgramNames, JumpsResolveToTheLineOfTheirMark) {
    Checker k;
    ASSERT_TRUE(k.check({
        "JMP ende",      // 0: forward
        "MRK anfang",    // 1
        "CAL 5",         // 2: a number names a mark, not a line
        "JNE Anfang",    // 3: backward, other letter case
        "MRK 5 * Fünf",  // 4
        "MRK ",          // 5: the empty name
        "JEQ ",          // 6
        "JGT ÄRGER",     // 7
        "MRK ärger",     // 8
        "MRK straße",    // 9: ß has no capital, so it differs from SS
        "JLT STRASSE",   // 10
        "MRK strasse",   // 11
        "JMP STRAßE",    // 12
        "MRK ENDE",      // 13
        "STP",           // 14
    }));
    const struct {
        std::size_t line;
        Mnemonic opcode;
        std::int32_t target;
    } jumps[] = {
        {0, Mnemonic::JMP, 13}, {2, Mnemonic::CAL, 4}, {3, Mnemonic::JNE, 1},
        {6, Mnemonic::JEQ, 5},  {7, Mnemonic::JGT, 8}, {10, Mnemonic::JLT, 11},
        {12, Mnemonic::JMP, 9},
    };
    ASSERT_EQ(k.list.size(), 15u);
    for (const auto& j : jumps) {
        expectRecord(k.list[j.line], static_cast<std::int32_t>(j.opcode), j.target, true,
                     "line " + std::to_string(j.line));
    }
    for (const std::size_t mark : {1, 4, 5, 8, 9, 11, 13}) {
        expectRecord(k.list[mark], kMRK, 0, true, "MRK line " + std::to_string(mark));
    }
}

TEST(CheckProgramList, FillersInsideNoneAtTheEndAndEveryPositionItsLine) {
    Checker k;
    k.list.assign(40, VM_Instruction{kJMP, 3, false});  // an earlier program
    ASSERT_TRUE(k.check({"* Kopf", "", "MRK Anfang", "\t", "LAD [X]", "ZZZ", "JMP anfang", "STP",
                         "", "* Ende", "ZZZ", "\t"}));
    const VM_Instruction expected[] = {
        {kZZZ, 0, true},
        {kZZZ, 0, true},
        {kMRK, 0, true},
        {kZZZ, 0, true},
        {static_cast<std::int32_t>(Mnemonic::LAD), 0, false},
        {kZZZ, 0, true},
        {kJMP, 2, true},
        {kSTP, 0, true},
    };
    ASSERT_EQ(k.list.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        expectRecord(k.list[i], expected[i].Opcode, expected[i].Operand, expected[i].IsDirect,
                     "position " + std::to_string(i));
    }
}

TEST(CheckProgramList, AFailedCheckKeepsOnlyTheLinesBeforeTheFaultyOne) {
    const struct {
        Lines program;
        std::vector<VM_Instruction> kept;
    } cases[] = {
        {{"CLA", "* x", "FOO", "STP"},
         {{static_cast<std::int32_t>(Mnemonic::CLA), 0, true}, {kZZZ, 0, true}}},
        {{"FOO"}, {}},
        // Pass 2: the jumps before the unresolved one carry their target line already.
        {{"MRK A", "JMP A", "CAL B", "STP"}, {{kMRK, 0, true}, {kJMP, 0, true}}},
    };
    for (const auto& c : cases) {
        Checker k;
        k.list.assign(10, VM_Instruction{kSTP, 0, true});
        EXPECT_FALSE(k.check(c.program)) << describe(c.program);
        ASSERT_EQ(k.list.size(), c.kept.size()) << describe(c.program);
        for (std::size_t i = 0; i < c.kept.size(); ++i) {
            expectRecord(k.list[i], c.kept[i].Opcode, c.kept[i].Operand, c.kept[i].IsDirect,
                         describe(c.program));
        }
    }
}

TEST(CheckProgramStp, AProgramWithoutStpFailsWithoutSelectingALine) {
    const Lines programs[] = {
        {},
        {""},
        {"* STP", "CLA"},
        {"CLA", "MRK A", "JMP A", "ZZZ"},
    };
    for (const auto& program : programs) {
        Checker k;
        EXPECT_FALSE(k.check(program)) << describe(program);
        EXPECT_EQ(k.onlyMessage(), "Fehler: Programm enthält keine STP-Anweisung")
            << describe(program);
        ASSERT_FALSE(k.prompts.messages.empty());
        EXPECT_EQ(k.prompts.messages[0].caption, "Programmfehler");
        EXPECT_EQ(k.prompts.messages[0].icon, MessageIcon::Error);
        EXPECT_FALSE(k.editor.selectedLine().has_value()) << describe(program);
        EXPECT_FALSE(k.flags.ProgramModified) << describe(program);
    }
}

Lines numberedProgram(int lines) {
    Lines program;
    for (int i = 0; i + 1 < lines; ++i) {
        program.push_back("INC");
    }
    program.push_back("STP");
    return program;
}

TEST(CheckProgramEditor, EmptyLinesAreAppendedUntilTheLastLineCanBeAtTheTop) {
    // The editor scrolls the caret into view; with one visible line the new empty line itself
    // becomes the top line, one beyond the last program line.
    const struct {
        int lines;
        int visible;
        long appended;
        int firstVisible;
    } cases[] = {{2, 20, 19, 1},   {3, 20, 19, 2}, {5, 3, 2, 4},
                 {30, 20, 19, 29}, {7, 1, 1, 7},   {100, 7, 6, 99}};
    for (const auto& c : cases) {
        const std::string what =
            std::to_string(c.lines) + " lines, " + std::to_string(c.visible) + " visible";
        Checker k(c.visible);
        const Lines program = numberedProgram(c.lines);
        ASSERT_TRUE(k.check(program)) << what;
        EXPECT_EQ(k.editor.firstVisibleLine(), c.firstVisible) << what;
        EXPECT_EQ(std::count(k.log.begin(), k.log.end(), "editor.append"), c.appended) << what;
        EXPECT_TRUE(k.flags.ProgramModified) << what;
        EXPECT_FALSE(k.flags.ProgramChecked) << what;  // the caller sets it from the result
        for (int i = 0; i < k.editor.lineCount(); ++i) {
            EXPECT_EQ(k.editor.lineText(i), i < c.lines ? program[i] : "") << what << " line " << i;
        }
        EXPECT_TRUE(std::all_of(k.log.begin(), k.log.end(), [](const std::string& e) {
            return e == "editor.append";
        })) << what;
        // The lines appended before count as program lines now: a later check appends
        // again until the view has reached the new last line.
        const int lastLine = k.editor.lineCount() - 1;
        EXPECT_TRUE(k.checkAgain()) << what;
        EXPECT_GE(k.editor.firstVisibleLine(), lastLine) << what;
    }
}

TEST(CheckProgramEditor, AViewScrolledFarEnoughGetsNoNewLines) {
    for (const int visible : {1, 2}) {
        Checker k(visible);
        ASSERT_TRUE(k.check(numberedProgram(10)));
        ASSERT_TRUE(k.flags.ProgramModified);
        EXPECT_TRUE(k.checkAgain());
        EXPECT_TRUE(k.log.empty()) << visible;
        EXPECT_FALSE(k.flags.ProgramModified) << visible;
    }
}

TEST(CheckProgramEditor, TrailingCommentsCountForTheViewButNotForTheList) {
    Checker k(2);
    ASSERT_TRUE(k.check({"STP", "* Ende", "", "\t"}));
    EXPECT_EQ(k.list.size(), 1u);
    EXPECT_EQ(k.editor.firstVisibleLine(), 3);
}

TEST(CheckProgramEditor, NothingIsAppendedForOneLineOrAFailedCheck) {
    for (const Lines& program : {Lines{"STP"}, Lines{"CLA"}, Lines{"CLA", "FOO", "STP"}}) {
        Checker k(1);
        k.check(program);
        EXPECT_EQ(std::count(k.log.begin(), k.log.end(), "editor.append"), 0) << describe(program);
        EXPECT_FALSE(k.flags.ProgramModified) << describe(program);
    }
}

// A window that scrolls only so far (its scroll range is capped), then no more.
class StuckEditor : public testing::FakeEditor {
  public:
    StuckEditor(testing::EventLog& log, int visible, int limit)
        : FakeEditor(log, visible), m_limit(limit) {}
    int firstVisibleLine() const override {
        return std::min(FakeEditor::firstVisibleLine(), m_limit);
    }

  private:
    int m_limit;
};

TEST(CheckProgramEditor, TheExtensionEndsOnAnEditorThatCannotScroll) {
    // 0 visible lines: hidden or without height; the view never moves.
    for (const int lines : {2, 50, 5000}) {
        Checker k(0);
        ASSERT_TRUE(k.check(numberedProgram(lines)));
        const auto appended = std::count(k.log.begin(), k.log.end(), "editor.append");
        EXPECT_GT(appended, 0) << lines;
        EXPECT_LE(appended, 1000) << lines;
        EXPECT_TRUE(k.flags.ProgramModified);
        EXPECT_EQ(k.editor.firstVisibleLine(), 0);
    }
    // Scrolls to line 4, then sticks: the first append that does not move it ends the loop.
    testing::EventLog log;
    StuckEditor editor(log, 3, 4);
    testing::FakePrompts prompts(log);
    OpcodeList opcodes;
    Instructions list;
    editor.type(numberedProgram(10));
    log.clear();
    ASSERT_TRUE(CheckProgram(editor, prompts, opcodes, list));
    EXPECT_EQ(editor.firstVisibleLine(), 4);
    // The first append scrolls the caret into view (line 8, shown as 4); the second finds
    // the view stuck.
    EXPECT_EQ(std::count(log.begin(), log.end(), "editor.append"), 2);
}

TEST(CheckProgramRobustness, NoInputMakesItLoopCrashOrReadOutOfBounds) {
    std::vector<std::string> lines = {
        std::string(100000, '['),
        std::string(100000, 'X'),
        "[",
        "X",
        "*",
        "]",
        "MRK " + std::string(100000, 'A'),
        "ADD " + std::string(100000, '9'),
        "ADD " + std::string(100000, '['),
        "JMP " + std::string(100000, '*'),
        std::string(1, '\0'),
        "ADD " + std::string(1, '\0'),
        "MRK" + std::string(1, '\0'),
    };
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const std::string b(1, static_cast<char>(byte));
        for (const char* prefix :
             {"", "A", "ST", "STP", "MRK ", "JMP ", "ADD ", "ADD [", "ADD X"}) {
            lines.push_back(prefix + b);
            lines.push_back(prefix + b + b + b);
        }
    }
    for (const auto& line : lines) {
        Checker k;
        const std::string what = toUtf8(line.substr(0, 20));
        try {
            const bool ok = k.checkBytes(line + "\r\nSTP");
            EXPECT_EQ(k.prompts.messages.size(), ok ? 0u : 1u) << what;
        } catch (const SystemError&) {
            EXPECT_TRUE(k.prompts.messages.empty()) << what;
        }
    }
}

TEST(CheckProgramRobustness, AHundredThousandMarksAndTheirJumps) {
    constexpr int kMarks = 100000;
    std::string text;
    for (int m = 0; m < kMarks; ++m) {
        text += "MRK M" + std::to_string(m) + "\r\nJMP M" + std::to_string(kMarks - 1 - m) + "\r\n";
    }
    text += "STP";
    Checker k(0);
    ASSERT_TRUE(k.checkBytes(text));
    ASSERT_EQ(k.list.size(), 2u * kMarks + 1);
    for (const int m : {0, 1, 4711, kMarks - 1}) {
        // Line 2m + 1 jumps to mark kMarks-1-m, defined on line 2(kMarks-1-m).
        expectRecord(k.list[2 * m + 1], kJMP, 2 * (kMarks - 1 - m), true, std::to_string(m));
    }
}

// Every program a learner gets with the system passes the check.
TEST(CheckProgramExamples, TheShippedExamplesPass) {
    const auto examples = std::filesystem::path(__FILE__).parent_path() / "../../../examples";
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(examples)) {
        // The grading example's learner submissions are not for learners; one fails on purpose.
        if (entry.path().extension() != ".prg" ||
            entry.path().parent_path().filename() == "abgaben") {
            continue;
        }
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        Checker k;
        EXPECT_TRUE(k.checkBytes(text))
            << entry.path() << ": "
            << (k.prompts.messages.empty() ? "" : k.prompts.messages[0].text);
        ++checked;
    }
    EXPECT_GT(checked, 0) << "no example programs in " << examples;
}

}  // namespace
}  // namespace quarzel
