// VM_Step and VM_Print on a workbench of fakes: every instruction kind, the four address
// forms with their errors, the stack, the input request and the order of what the screen sees.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fakes.h"

namespace quarzel {
namespace {

using M = Mnemonic;

using testing::op;

// Address operand forms as the checker writes them.
struct Form {
    std::int32_t operand;
    bool direct;
};
Form cellForm(std::int32_t n) {
    return {n, true};
}
Form pointerForm(std::int32_t n) {
    return {n, false};
}
constexpr Form kIndexForm{0, true};
constexpr Form kIndexPointerForm{0, false};

// A workbench of fakes with the helpers every case here needs.
struct Rig {
    testing::TestBench t;
    MachineState& m = t.bench.machine;
    testing::EventLog& log = t.screen.log;

    // Puts a checked program in place and starts a run, as the start button does.
    void run(Instructions program) {
        m.InstructionList = std::move(program);
        t.bench.flags.ProgramChecked = true;
        t.bench.flags.DataChecked = true;
        t.bench.runControl.VM_Start();
        log.clear();
    }
    void step() {
        t.handle([this] { t.bench.runControl.VM_Step(); });
    }
    void setCell(int n, const std::string& text) { t.bench.table.setValue(n - 1, text); }
    std::string cell(int n) const { return t.bench.table.value(n - 1); }
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& msg : t.screen.prompts.messages) {
            out.push_back(msg.caption + "|" + msg.text);
        }
        return out;
    }
    bool printed() const {
        for (const auto& entry : log) {
            if (entry.rfind("register.", 0) == 0) {
                return true;
            }
        }
        return false;
    }
};

class ExecutorTest : public ::testing::Test, public Rig {};

// ---- arithmetic --------------------------------------------------------------------------

struct ArithmeticCase {
    const char* name;
    M mnemonic;
    std::int32_t accu;
    const char* cellText;  // cell 5, the operand of the address instructions
    std::int32_t expectedAccu;
    const char* error;  // message "caption|text", or "" for a step that succeeds
    friend void PrintTo(const ArithmeticCase& c, std::ostream* os) { *os << c.name; }
};

class Arithmetic : public ::testing::TestWithParam<ArithmeticCase>, public Rig {};

TEST_P(Arithmetic, ResultOverflowAndDisplay) {
    const ArithmeticCase& c = GetParam();
    run({op(M::ZZZ), op(c.mnemonic, inAddressOperandSet(static_cast<int>(c.mnemonic)) ? 5 : 0)});
    step();  // onto line 1
    m.VM_Accu = c.accu;
    setCell(5, c.cellText);
    log.clear();
    step();
    EXPECT_EQ(m.VM_Accu, c.expectedAccu);
    if (std::string(c.error).empty()) {
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(m.VM_IP, 2);
        EXPECT_TRUE(m.VM_Running);
        EXPECT_EQ(t.screen.registers.texts[Register::Accu], int32ToText(c.expectedAccu));
    } else {
        EXPECT_EQ(messages(), std::vector<std::string>{c.error});
        EXPECT_EQ(m.VM_IP, 1) << "the failing line stays current";
        EXPECT_FALSE(m.VM_Running) << "an error ends the run";
        EXPECT_FALSE(printed());
    }
}

constexpr std::int32_t kMin = INT32_MIN;
constexpr std::int32_t kMax = INT32_MAX;
constexpr const char* kOverflow = "Quarzel 3|Integerüberlauf.";

INSTANTIATE_TEST_SUITE_P(
    Instructions, Arithmetic,
    ::testing::Values(
        ArithmeticCase{"AddPlain", M::ADD, 5, "3", 8, ""},
        ArithmeticCase{"AddNegative", M::ADD, 5, "-8", -3, ""},
        ArithmeticCase{"AddOverflowKeepsWrapped", M::ADD, kMax, "1", kMin, kOverflow},
        ArithmeticCase{"AddNegativeOverflow", M::ADD, kMin, "-1", kMax, kOverflow},
        ArithmeticCase{"SubPlain", M::SUB, 5, "8", -3, ""},
        ArithmeticCase{"SubOverflowKeepsWrapped", M::SUB, kMin, "1", kMax, kOverflow},
        ArithmeticCase{"SubOfMinOverflows", M::SUB, 0, "-2147483648", kMin, kOverflow},
        ArithmeticCase{"MulPlain", M::MUL, -6, "7", -42, ""},
        ArithmeticCase{"MulOverflowKeepsAccu", M::MUL, 65536, "65536", 65536, kOverflow},
        ArithmeticCase{"MulMinByMinusOne", M::MUL, kMin, "-1", kMin, kOverflow},
        ArithmeticCase{"DivTruncatesNegativeDividend", M::DIV, -7, "2", -3, ""},
        ArithmeticCase{"DivTruncatesNegativeDivisor", M::DIV, 7, "-2", -3, ""},
        ArithmeticCase{"DivMinByMinusOneKeepsAccu", M::DIV, kMin, "-1", kMin, kOverflow},
        ArithmeticCase{"DivByZero", M::DIV, 9, "0", 9, "Laufzeitfehler|Division durch Null"},
        ArithmeticCase{"LadReadsDecimal", M::LAD, 1, "007", 7, ""},
        ArithmeticCase{"LadReadsHexText", M::LAD, 1, "$1F", 31, ""},
        ArithmeticCase{"IncPlain", M::INC, -1, "0", 0, ""},
        ArithmeticCase{"IncOverflowKeepsWrapped", M::INC, kMax, "0", kMin, kOverflow},
        ArithmeticCase{"DecPlain", M::DEC, 0, "0", -1, ""},
        ArithmeticCase{"DecOverflowKeepsWrapped", M::DEC, kMin, "0", kMax, kOverflow},
        ArithmeticCase{"NegPlain", M::NEG, 5, "0", -5, ""},
        ArithmeticCase{"NegOfMinOverflows", M::NEG, kMin, "0", kMin, kOverflow},
        ArithmeticCase{"SalOfMinusOne", M::SAL, -1, "0", -2, ""},
        ArithmeticCase{"SalIntoSignBitIsNoOverflow", M::SAL, 1073741824, "0", kMin, ""},
        ArithmeticCase{"SalLosesBit31", M::SAL, kMin, "0", 0, ""},
        ArithmeticCase{"SarOfMinusOneIsLogical", M::SAR, -1, "0", kMax, ""},
        ArithmeticCase{"SarOfMinusTwo", M::SAR, -2, "0", kMax, ""},
        ArithmeticCase{"SarOfSeven", M::SAR, 7, "0", 3, ""},
        ArithmeticCase{"SarOfMin", M::SAR, kMin, "0", 1073741824, ""},
        ArithmeticCase{"ClaClears", M::CLA, 77, "0", 0, ""},
        ArithmeticCase{"ZzzLeavesAccu", M::ZZZ, 77, "0", 77, ""},
        ArithmeticCase{"MrkIsNoOp", M::MRK, 77, "0", 77, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExecutorTest, RegisterTransfersAndOutput) {
    run({op(M::TAX), op(M::CLA), op(M::TXA), op(M::OUT), op(M::STO, 0)});
    m.VM_Accu = -12;
    step();
    EXPECT_EQ(m.VM_Index, -12);
    step();
    EXPECT_EQ(m.VM_Accu, 0);
    step();
    EXPECT_EQ(m.VM_Accu, -12);
    EXPECT_EQ(m.VM_Window, 0) << "only OUT writes the window";
    step();
    EXPECT_EQ(m.VM_Window, -12);
    m.VM_Accu = 40;
    step();  // STO X
    EXPECT_EQ(m.VM_Index, 40);
    EXPECT_EQ(m.VM_IP, 5);
    EXPECT_EQ(m.LastAccessCell, 0) << "no instruction here touches memory";
}

// ---- address forms -----------------------------------------------------------------------

struct ReadCase {
    const char* name;
    Form form;
    std::int32_t index;
    std::vector<std::pair<int, const char*>> cells;
    std::int32_t expected;           // accumulator after LAD
    const char* error;               // "" or the "caption|text" shown
    std::int32_t lastAccessCell;     // 0 = no memory access
    std::vector<std::string> reads;  // grid rows scrolled to, in order
    friend void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }
};

class ReadForms : public ::testing::TestWithParam<ReadCase>, public Rig {};

TEST_P(ReadForms, LadThroughEveryForm) {
    const ReadCase& c = GetParam();
    run({op(M::LAD, c.form.operand, c.form.direct)});
    m.VM_Index = c.index;
    m.VM_Accu = -99;
    for (const auto& [n, text] : c.cells) {
        setCell(n, text);
    }
    step();
    EXPECT_EQ(m.VM_Accu, c.expected);
    EXPECT_EQ(m.LastAccessCell, c.lastAccessCell);
    EXPECT_FALSE(m.LastAccessWrite);
    std::vector<std::string> tops;
    for (const auto& entry : log) {
        if (entry.rfind("grid.top", 0) == 0) {
            tops.push_back(entry);
        }
    }
    EXPECT_EQ(tops, c.reads);
    if (std::string(c.error).empty()) {
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(m.VM_IP, 1);
    } else {
        EXPECT_EQ(messages(), std::vector<std::string>{c.error});
        EXPECT_EQ(m.VM_IP, 0);
        EXPECT_FALSE(m.VM_Running);
    }
}

constexpr const char* kBadIndex = "Laufzeitfehler|Indexregister zeigt auf ungültige Stelle";

INSTANTIATE_TEST_SUITE_P(
    Instructions, ReadForms,
    ::testing::Values(
        ReadCase{"Cell", cellForm(5), 0, {{5, "42"}}, 42, "", 5, {"grid.top 4"}},
        ReadCase{"LastCell", cellForm(512), 0, {{512, "-3"}}, -3, "", 512, {"grid.top 511"}},
        ReadCase{"Pointer",
                 pointerForm(5),
                 0,
                 {{5, "7"}, {7, "99"}},
                 99,
                 "",
                 7,
                 {"grid.top 4", "grid.top 6"}},
        ReadCase{"PointerToLastCell",
                 pointerForm(5),
                 0,
                 {{5, "512"}, {512, "1"}},
                 1,
                 "",
                 512,
                 {"grid.top 4", "grid.top 511"}},
        ReadCase{"PointerTooHigh",
                 pointerForm(5),
                 0,
                 {{5, "600"}},
                 -99,
                 "Laufzeitfehler|Speicherstelle 5 zeigt auf ungültige Stelle",
                 5,
                 {"grid.top 4"}},
        ReadCase{"PointerZero",
                 pointerForm(12),
                 0,
                 {},
                 -99,
                 "Laufzeitfehler|Speicherstelle 12 zeigt auf ungültige Stelle",
                 12,
                 {"grid.top 11"}},
        ReadCase{"PointerNegative",
                 pointerForm(3),
                 0,
                 {{3, "-1"}},
                 -99,
                 "Laufzeitfehler|Speicherstelle 3 zeigt auf ungültige Stelle",
                 3,
                 {"grid.top 2"}},
        ReadCase{"PointerJustPastEnd",
                 pointerForm(3),
                 0,
                 {{3, "513"}},
                 -99,
                 "Laufzeitfehler|Speicherstelle 3 zeigt auf ungültige Stelle",
                 3,
                 {"grid.top 2"}},
        ReadCase{"IndexRegister", kIndexForm, 9, {}, 9, "", 0, {}},
        ReadCase{"IndexRegisterNegative", kIndexForm, -9, {}, -9, "", 0, {}},
        ReadCase{"IndexPointer", kIndexPointerForm, 3, {{3, "11"}}, 11, "", 3, {"grid.top 2"}},
        ReadCase{"IndexPointerHighest",
                 kIndexPointerForm,
                 512,
                 {{512, "8"}},
                 8,
                 "",
                 512,
                 {"grid.top 511"}},
        ReadCase{"IndexPointerZero", kIndexPointerForm, 0, {}, -99, kBadIndex, 0, {}},
        ReadCase{"IndexPointerTooHigh", kIndexPointerForm, 513, {}, -99, kBadIndex, 0, {}},
        ReadCase{"IndexPointerNegative", kIndexPointerForm, kMin, {}, -99, kBadIndex, 0, {}},
        ReadCase{"UnreadableCell",
                 cellForm(4),
                 0,
                 {{4, "abc"}},
                 -99,
                 "Quarzel 3|'abc' ist kein gültiger Integerwert.",
                 0,
                 {}},
        ReadCase{"EmptyCell",
                 cellForm(4),
                 0,
                 {{4, ""}},
                 -99,
                 "Quarzel 3|'' ist kein gültiger Integerwert.",
                 0,
                 {}},
        ReadCase{"LoneMinus",
                 cellForm(4),
                 0,
                 {{4, "-"}},
                 -99,
                 "Quarzel 3|'-' ist kein gültiger Integerwert.",
                 0,
                 {}},
        ReadCase{"CellBeyondInt32",
                 cellForm(4),
                 0,
                 {{4, "2147483648"}},
                 -99,
                 "Quarzel 3|'2147483648' ist kein gültiger Integerwert.",
                 0,
                 {}},
        ReadCase{"UnreadablePointerTarget",
                 pointerForm(5),
                 0,
                 {{5, "6"}, {6, "x"}},
                 -99,
                 "Quarzel 3|'x' ist kein gültiger Integerwert.",
                 5,
                 {"grid.top 4"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExecutorTest, ReadingKeepsTheCellTextAndDoesNotModifyTheData) {
    run({op(M::LAD, 5)});
    setCell(5, "007");
    t.bench.flags.DataModified = false;
    step();
    EXPECT_EQ(m.VM_Accu, 7);
    EXPECT_EQ(cell(5), "007");
    EXPECT_FALSE(t.bench.flags.DataModified);
}

struct StoreCase {
    const char* name;
    Form form;
    std::int32_t index;
    std::vector<std::pair<int, const char*>> cells;
    int writtenCell;    // 0: none
    const char* error;  // "" or the runtime error text
    std::int32_t expectedIndex;
    friend void PrintTo(const StoreCase& c, std::ostream* os) { *os << c.name; }
};

class StoreForms : public ::testing::TestWithParam<StoreCase>, public Rig {};

TEST_P(StoreForms, StoThroughEveryForm) {
    const StoreCase& c = GetParam();
    run({op(M::STO, c.form.operand, c.form.direct)});
    m.VM_Index = c.index;
    m.VM_Accu = -1234;
    for (const auto& [n, text] : c.cells) {
        setCell(n, text);
    }
    t.bench.flags.DataModified = false;
    step();
    EXPECT_EQ(m.VM_Index, c.expectedIndex);
    if (c.writtenCell > 0) {
        EXPECT_EQ(cell(c.writtenCell), "-1234");
        EXPECT_EQ(m.LastAccessCell, c.writtenCell);
        EXPECT_TRUE(m.LastAccessWrite);
        EXPECT_TRUE(t.bench.flags.DataModified);
    } else {
        EXPECT_FALSE(t.bench.flags.DataModified);
    }
    for (int n = 1; n <= kCellCount; ++n) {
        if (n == c.writtenCell) {
            continue;
        }
        const auto preset = std::find_if(c.cells.begin(), c.cells.end(),
                                         [n](const auto& p) { return p.first == n; });
        ASSERT_EQ(cell(n), preset == c.cells.end() ? "0" : preset->second) << "cell " << n;
    }
    if (std::string(c.error).empty()) {
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(m.VM_IP, 1);
    } else {
        EXPECT_EQ(messages(), std::vector<std::string>{std::string("Laufzeitfehler|") + c.error});
        EXPECT_EQ(m.VM_IP, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Instructions, StoreForms,
    ::testing::Values(StoreCase{"Cell", cellForm(9), 0, {}, 9, "", 0},
                      StoreCase{"Pointer", pointerForm(9), 0, {{9, "300"}}, 300, "", 0},
                      StoreCase{"PointerOutOfRange",
                                pointerForm(9),
                                0,
                                {{9, "513"}},
                                0,
                                "Speicherstelle 9 zeigt auf ungültige Stelle",
                                0},
                      StoreCase{"PointerZero",
                                pointerForm(9),
                                0,
                                {},
                                0,
                                "Speicherstelle 9 zeigt auf ungültige Stelle",
                                0},
                      StoreCase{"IndexRegister", kIndexForm, 5, {}, 0, "", -1234},
                      StoreCase{"IndexPointer", kIndexPointerForm, 17, {}, 17, "", 17},
                      StoreCase{"IndexPointerZero",
                                kIndexPointerForm,
                                0,
                                {},
                                0,
                                "Indexregister zeigt auf ungültige Stelle",
                                0},
                      StoreCase{"IndexPointerTooHigh",
                                kIndexPointerForm,
                                513,
                                {},
                                0,
                                "Indexregister zeigt auf ungültige Stelle",
                                513}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- jumps -------------------------------------------------------------------------------

TEST_F(ExecutorTest, ConditionalJumpsOnZeroPositiveAndNegative) {
    struct Row {
        M mnemonic;
        bool onZero, onPositive, onNegative;
    };
    const Row rows[] = {
        {M::JEQ, true, false, false}, {M::JNE, false, true, true}, {M::JGT, false, true, false},
        {M::JLT, false, false, true}, {M::JMP, true, true, true},
    };
    for (const Row& row : rows) {
        for (const std::int32_t accu : {0, 1, kMax, -1, kMin}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(row.mnemonic)) + " accu " +
                         std::to_string(accu));
            run({op(M::ZZZ), op(M::ZZZ), op(row.mnemonic, 7)});
            m.VM_IP = 2;
            m.VM_Accu = accu;
            step();
            const bool jumps = accu == 0 ? row.onZero : accu > 0 ? row.onPositive : row.onNegative;
            EXPECT_EQ(m.VM_IP, jumps ? 7 : 3);
            EXPECT_EQ(m.VM_Accu, accu);
            EXPECT_TRUE(m.VM_Running);
        }
    }
}

TEST_F(ExecutorTest, JumpLandsOnTheMarkLineWhichThenExecutesAsNoOp) {
    run({op(M::JMP, 2), op(M::INC), op(M::MRK), op(M::INC), op(M::STP)});
    step();
    EXPECT_EQ(m.VM_IP, 2);
    step();
    EXPECT_EQ(m.VM_IP, 3);
    EXPECT_EQ(m.VM_Accu, 0);
}

// ---- stack, CAL and RET ------------------------------------------------------------------

TEST_F(ExecutorTest, PushAndPopThroughTheTopCells) {
    run({op(M::PUS), op(M::INC), op(M::PUS), op(M::POP), op(M::POP)});
    m.VM_Accu = 41;
    step();
    EXPECT_EQ(cell(512), "41");
    EXPECT_EQ(m.VM_SP, 511);
    step();
    step();
    EXPECT_EQ(cell(511), "42");
    EXPECT_EQ(m.VM_SP, 510);
    m.VM_Accu = 0;
    step();
    EXPECT_EQ(m.VM_Accu, 42);
    EXPECT_EQ(cell(511), "0") << "a pop leaves 0 behind";
    EXPECT_FALSE(m.LastAccessWrite);
    step();
    EXPECT_EQ(m.VM_Accu, 41);
    EXPECT_EQ(m.VM_SP, 512);
    EXPECT_EQ(t.screen.registers.texts[Register::SP], "512");
}

TEST_F(ExecutorTest, StackBoundsAreRunTimeErrors) {
    struct Row {
        M mnemonic;
        std::int32_t sp;
        const char* text;
    };
    const Row rows[] = {
        {M::POP, 512, "Stack-Overflow"}, {M::RET, 512, "Stack-Overflow"},
        {M::PUS, 0, "Stack-Underflow"},  {M::CAL, 0, "Stack-Underflow"},
        {M::POP, 600, "Stack-Overflow"}, {M::PUS, -5, "Stack-Underflow"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text + std::string(" sp ") + std::to_string(row.sp));
        Rig fresh;  // each row on its own workbench
        fresh.run({op(M::ZZZ), op(row.mnemonic, 0)});
        fresh.step();
        fresh.m.VM_SP = row.sp;
        fresh.m.VM_Accu = 3;
        fresh.log.clear();
        fresh.step();
        EXPECT_EQ(fresh.messages(),
                  std::vector<std::string>{std::string("Laufzeitfehler|") + row.text});
        EXPECT_EQ(fresh.m.VM_SP, row.sp);
        EXPECT_EQ(fresh.m.VM_IP, 1);
        EXPECT_EQ(fresh.m.VM_Accu, 3);
        EXPECT_EQ(fresh.m.LastAccessCell, 0);
        EXPECT_FALSE(fresh.m.VM_Running);
    }
}

TEST_F(ExecutorTest, FullStackTakes512EntriesThenUnderflows) {
    run({op(M::PUS), op(M::JMP, 0)});
    m.VM_Accu = 6;
    int steps = 0;
    for (; steps < 5000 && m.VM_Running; ++steps) {
        step();
    }
    EXPECT_EQ(steps, 2 * 512 + 1);
    EXPECT_EQ(m.VM_SP, 0);
    for (int n = 1; n <= kCellCount; ++n) {
        ASSERT_EQ(cell(n), "6") << "cell " << n;
    }
    EXPECT_EQ(messages(), std::vector<std::string>{"Laufzeitfehler|Stack-Underflow"});
}

TEST_F(ExecutorTest, CallStoresTheNextLineAndReturnGoesThere) {
    run({op(M::ZZZ), op(M::ZZZ), op(M::ZZZ), op(M::CAL, 6), op(M::STP), op(M::ZZZ), op(M::MRK),
         op(M::RET)});
    m.VM_IP = 3;
    step();
    EXPECT_EQ(m.VM_IP, 6);
    EXPECT_EQ(m.VM_SP, 511);
    EXPECT_EQ(cell(512), "4");
    EXPECT_TRUE(m.LastAccessWrite);
    step();  // MRK
    step();  // RET
    EXPECT_EQ(m.VM_IP, 4) << "RET adds nothing";
    EXPECT_EQ(m.VM_SP, 512);
    EXPECT_EQ(cell(512), "0");
    step();  // STP
    EXPECT_FALSE(m.VM_Running);
    EXPECT_TRUE(messages().empty());
}

TEST_F(ExecutorTest, FetchOutsideTheProgramIsARunTimeError) {
    struct Row {
        const char* name;
        const char* returnCell;  // what RET finds on the stack
        const char* text;
    };
    const Row rows[] = {
        {"past the end", "2", "Listenindex überschreitet das Maximum (2)"},
        {"far past the end", "100", "Listenindex überschreitet das Maximum (100)"},
        {"negative", "-1", "Listenindex überschreitet das Maximum (-1)"},
        {"most negative", "-2147483648", "Listenindex überschreitet das Maximum (-2147483648)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig fresh;
        fresh.run({op(M::RET), op(M::STP)});
        fresh.m.VM_SP = 511;
        fresh.setCell(512, row.returnCell);
        fresh.step();
        EXPECT_TRUE(fresh.messages().empty()) << "RET itself succeeds";
        EXPECT_EQ(int32ToText(fresh.m.VM_IP), row.returnCell);
        fresh.log.clear();
        fresh.step();
        EXPECT_EQ(fresh.messages(),
                  std::vector<std::string>{std::string("Laufzeitfehler|") + row.text});
        EXPECT_EQ(fresh.log.front(), "editor.readOnly off") << "the run stops before the box";
        EXPECT_FALSE(fresh.printed());
        EXPECT_FALSE(fresh.m.VM_Running);
        EXPECT_EQ(int32ToText(fresh.m.VM_IP), row.returnCell);
    }
}

TEST_F(ExecutorTest, RunningOffTheLastLineStopsWithTheListIndexText) {
    run({op(M::INC)});
    step();
    step();
    EXPECT_EQ(messages(),
              std::vector<std::string>{"Laufzeitfehler|Listenindex überschreitet das Maximum (1)"});
    EXPECT_EQ(m.VM_IP, 1);
    EXPECT_EQ(m.VM_Accu, 1);
}

TEST_F(ExecutorTest, EmptyProgramFailsAtTheFirstFetch) {
    run({});
    step();
    EXPECT_EQ(messages(),
              std::vector<std::string>{"Laufzeitfehler|Listenindex überschreitet das Maximum (0)"});
    EXPECT_FALSE(m.VM_Running);
}

TEST_F(ExecutorTest, OpcodeOutsideTheSetNamesTheLineCountedFromOne) {
    for (const std::int32_t opcode : {0, -1, 29, 1000}) {
        Rig fresh;
        fresh.run({op(M::ZZZ), op(M::ZZZ), {opcode, 0, true}});
        fresh.step();
        fresh.step();
        fresh.step();
        EXPECT_EQ(fresh.messages(),
                  std::vector<std::string>{"Laufzeitfehler|Ungültige Anweisung in Zeile 3"})
            << opcode;
        EXPECT_EQ(fresh.m.VM_IP, 2);
    }
}

// ---- STP, run-time errors and the order of what the screen sees --------------------------

TEST_F(ExecutorTest, StopStaysOnItsLineAndShowsTheFinalRegisters) {
    run({op(M::INC), op(M::STP)});
    step();
    log.clear();
    step();
    EXPECT_FALSE(m.VM_Running);
    EXPECT_EQ(m.VM_IP, 1);
    const testing::EventLog expected = {
        "editor.readOnly off", "grid.input on",     "run.caption Start",
        "register.Accu 1",     "register.Index 0",  "register.IP 1",
        "register.SP 512",     "register.Window 0", "editor.scroll 1",
    };
    EXPECT_EQ(log, expected);
}

TEST_F(ExecutorTest, RunTimeErrorStopsThenShowsTheBoxWithoutDisplay) {
    run({op(M::LAD, 5, false)});
    setCell(5, "600");
    log.clear();
    step();
    const testing::EventLog expected = {
        "grid.top 4",          "picture.repaint",
        "editor.readOnly off", "grid.input on",
        "run.caption Start",   "message Laufzeitfehler|Speicherstelle 5 zeigt auf ungültige Stelle",
    };
    EXPECT_EQ(log, expected);
    EXPECT_EQ(t.screen.prompts.messages.at(0).icon, MessageIcon::Error);
    EXPECT_EQ(m.LastAccessCell, 5);
}

TEST_F(ExecutorTest, OverflowStopsTheRunBeforeTheCentralHandlerAndNeverRepeats) {
    run({op(M::INC)});
    m.VM_Accu = kMax;
    t.bench.runControl.rbDirectClick();
    log.clear();
    t.handle([this] { t.bench.runControl.tDirectTimer(); });
    const testing::EventLog expected = {
        "editor.readOnly off",
        "grid.input on",
        "run.caption Start",
        "message Quarzel 3|Integerüberlauf.",
    };
    EXPECT_EQ(log, expected);
    for (int tick = 0; tick < 5; ++tick) {
        t.handle([this] { t.bench.runControl.tDirectTimer(); });
    }
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_EQ(m.VM_Accu, kMin);
    EXPECT_EQ(m.VM_IP, 0);
}

TEST_F(ExecutorTest, ASystemErrorIsTheStepsOutcomeAndIsShownOnce) {
    run({op(M::NEG)});
    m.VM_Accu = kMin;
    const StepOutcome outcome = t.bench.runControl.VM_Step();
    EXPECT_EQ(outcome.end, StepEnd::SystemError);
    EXPECT_EQ(toUtf8(outcome.message), "Integerüberlauf");
    EXPECT_EQ(messages(), (std::vector<std::string>{"Quarzel 3|Integerüberlauf."}));
    EXPECT_FALSE(m.VM_Running);
    EXPECT_EQ(t.screen.runPanel.caption, "Start");
}

// ---- VM_Print ----------------------------------------------------------------------------

TEST_F(ExecutorTest, PrintShowsRegistersInOrderThenScrollsToTheCurrentLine) {
    std::vector<std::string> lines(40, "ZZZ");
    t.screen.editor.setVisibleLines(10);
    t.screen.editor.type(lines);
    run(Instructions(40, op(M::ZZZ)));
    m.VM_Accu = -5;
    m.VM_Index = 6;
    m.VM_Window = 7;
    m.VM_SP = 300;
    m.VM_IP = 12;
    log.clear();
    t.bench.executor.VM_Print();
    const testing::EventLog expected = {
        "register.Accu -5", "register.Index 6",  "register.IP 12",
        "register.SP 300",  "register.Window 7", "editor.scroll 12",
    };
    EXPECT_EQ(log, expected);
    EXPECT_EQ(t.screen.editor.firstVisibleLine(), 12);
    m.VM_IP = 3;
    t.bench.executor.VM_Print();
    EXPECT_EQ(log.back(), "editor.scroll -9");
    EXPECT_EQ(t.screen.editor.firstVisibleLine(), 3);
}

TEST_F(ExecutorTest, PrintOfAWildLineScrollsAsFarAsPossibleWithoutOverflow) {
    t.screen.editor.setVisibleLines(2);
    t.screen.editor.type({"A", "B", "C", "D", "E", "F"});
    t.screen.editor.scrollLines(3);
    m.VM_IP = kMin;
    t.handle([this] { t.bench.executor.VM_Print(); });
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(log.back(), "editor.scroll " + std::to_string(INT_MIN));
    EXPECT_EQ(t.screen.editor.firstVisibleLine(), 0);
    m.VM_IP = kMax;
    t.handle([this] { t.bench.executor.VM_Print(); });
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(log.back(), "editor.scroll " + std::to_string(kMax));
}

// ---- the input request -------------------------------------------------------------------

TEST_F(ExecutorTest, InputTakesAcceptedRefusedAndClosedDialogs) {
    struct Row {
        const char* name;
        std::vector<std::optional<std::string>> script;
        std::int32_t accu;
        std::vector<std::string> messages;
    };
    const Row rows[] = {
        {"enter at once", {"0"}, 0, {}},
        {"plain", {"5"}, 5, {}},
        {"blank and sign", {" -12"}, -12, {}},
        {"plus", {"+7"}, 7, {}},
        {"hex", {"$1F"}, 31, {}},
        {"lowest", {"-2147483648"}, kMin, {}},
        {"refused then accepted",
         {"12a", "2147483648", "", "8"},
         8,
         {"Quarzel 3|'12a' ist kein gültiger Integerwert.",
          "Quarzel 3|'2147483648' ist kein gültiger Integerwert.",
          "Quarzel 3|'' ist kein gültiger Integerwert."}},
        {"closed without number", {std::nullopt}, 0, {}},
        {"refused then closed",
         {"x", std::nullopt},
         0,
         {"Quarzel 3|'x' ist kein gültiger Integerwert."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Rig fresh;
        fresh.run({op(M::INP), op(M::STP)});
        fresh.m.VM_Accu = 99;
        fresh.t.screen.numberInput.script.assign(row.script.begin(), row.script.end());
        fresh.step();
        EXPECT_EQ(fresh.m.VM_Accu, row.accu);
        EXPECT_EQ(fresh.m.VM_IP, 1);
        EXPECT_TRUE(fresh.m.VM_Running);
        EXPECT_EQ(fresh.messages(), row.messages);
        // Each refused text is handed back to the dialog for correcting.
        std::vector<std::string> refused;
        for (const auto& entry : row.script) {
            if (entry && refused.size() < row.messages.size()) {
                refused.push_back(*entry);
            }
        }
        EXPECT_EQ(fresh.t.screen.numberInput.rejected, refused);
        EXPECT_EQ(fresh.t.screen.numberInput.shown, 1);
        EXPECT_EQ(fresh.log.front(), "input.show");
        const auto hide = std::find(fresh.log.begin(), fresh.log.end(), "input.hide");
        ASSERT_NE(hide, fresh.log.end());
        EXPECT_EQ(*(hide + 1), "register.Accu " + std::to_string(row.accu))
            << "the display follows the hidden dialog";
    }
}

TEST_F(ExecutorTest, ClosedDialogRepeatsTheNumberAcceptedLast) {
    run({op(M::INP), op(M::INP), op(M::STP)});
    t.screen.numberInput.script = {"5", std::nullopt};
    step();
    m.VM_Accu = 0;
    step();
    EXPECT_EQ(m.VM_Accu, 5);
    EXPECT_EQ(t.bench.input.InputValue, 5);
}

// A dialog that lets timer ticks in while it is open, as a modal loop does.
class TickingInput : public NumberInputView {
  public:
    std::function<void()> whileOpen;
    std::optional<std::string> askText(const std::optional<std::string>& /*rejected*/) override {
        whileOpen();
        return std::nullopt;
    }
    void hide() override {}
};

TEST(ExecutorInputTest, TicksWhileTheDialogIsOpenFindNoRun) {
    testing::FakeScreen screen;
    TickingInput input;
    Views views{screen.editor,   screen.grid,    screen.picture, screen.registers,
                screen.runPanel, screen.prompts, input};
    Workbench workbench(views);
    WorkbenchInternals bench(workbench);
    bench.machine.InstructionList = {op(M::INP), op(M::INC), op(M::STP)};
    bench.flags.ProgramChecked = bench.flags.DataChecked = true;
    bench.runControl.VM_Start();
    bench.runControl.rbDirectClick();
    bool pendingWhileOpen = false;
    input.whileOpen = [&] {
        pendingWhileOpen = bench.machine.InputPending;
        for (int tick = 0; tick < 3; ++tick) {
            bench.runControl.tDirectTimer();
        }
        bench.runControl.btStepClick();
    };
    bench.runControl.tDirectTimer();
    EXPECT_TRUE(pendingWhileOpen);
    EXPECT_EQ(bench.machine.VM_IP, 1) << "no nested step ran";
    EXPECT_EQ(bench.machine.VM_Accu, 0);
    EXPECT_TRUE(bench.machine.VM_Running) << "the run goes on after the dialog";
    bench.runControl.tDirectTimer();
    EXPECT_EQ(bench.machine.VM_Accu, 1);
}

}  // namespace
}  // namespace quarzel
