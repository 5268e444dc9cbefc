// The headless runner in process: its arguments, its editor, and the exit statuses and lines
// of runs that the golden programs do not cover.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "common/system_error.h"
#include "grading/headless_views.h"
#include "tools/runner.h"

namespace quarzel::headless {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class RunnerTest : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const {
        return ::testing::TempDir() + "quarzel_runner_" + name;
    }
    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string p = path(name);
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return runCommand(args, out, err);
    }
    std::ostringstream out;
    std::ostringstream err;
};

// ---- arguments ---------------------------------------------------------------------------

TEST(RunnerArguments, AcceptsTheWholeContract) {
    const ParseResult r = parseArguments({"--input", "5", "--data", "d.dta", "--max-steps", "42",
                                          "--input", "x", "--dump", "o.dta", "--check", "p.prg",
                                          "--input", "-7", "--detect-loops", "--trace", "t.csv"});
    ASSERT_TRUE(r.options) << r.problem;
    const Options& o = *r.options;
    EXPECT_EQ(o.program, "p.prg");
    EXPECT_EQ(o.data, "d.dta");
    EXPECT_EQ(o.dump, "o.dta");
    EXPECT_EQ(o.trace, "t.csv");
    EXPECT_EQ(o.inputs, (std::vector<std::string>{"5", "x", "-7"}));
    EXPECT_EQ(o.maxSteps, 42u);
    EXPECT_TRUE(o.checkOnly);
    EXPECT_TRUE(o.detectLoops);
}

TEST(RunnerArguments, DefaultsWithOnlyAProgram) {
    const ParseResult r = parseArguments({"p.prg"});
    ASSERT_TRUE(r.options);
    EXPECT_EQ(r.options->maxSteps, 1000000u);
    EXPECT_FALSE(r.options->data);
    EXPECT_FALSE(r.options->dump);
    EXPECT_FALSE(r.options->trace);
    EXPECT_FALSE(r.options->checkOnly);
    EXPECT_FALSE(r.options->detectLoops);
    EXPECT_TRUE(r.options->inputs.empty());
}

TEST(RunnerArguments, RefusesWhatItCannotUse) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--check"},
        {"a.prg", "b.prg"},
        {"--frobnicate", "p.prg"},
        {"p.prg", "--data"},
        {"p.prg", "--dump"},
        {"p.prg", "--trace"},
        {"--trace", "a.csv", "--trace", "b.csv", "p.prg"},
        {"p.prg", "--input"},
        {"p.prg", "--max-steps"},
        {"--max-steps", "-1", "p.prg"},
        {"--max-steps", "+5", "p.prg"},
        {"--max-steps", "1e6", "p.prg"},
        {"--max-steps", "", "p.prg"},
        {"--max-steps", "1234567890123456789", "p.prg"},
        {"--max-steps", "0000000000000000001", "p.prg"},  // 19 digits, whatever their value
        {"--data", "a.dta", "--data", "b.dta", "p.prg"},
    };
    for (const auto& args : bad) {
        const ParseResult r = parseArguments(args);
        std::string joined;
        for (const auto& a : args) {
            joined += a + " ";
        }
        EXPECT_FALSE(r.options) << joined;
        EXPECT_FALSE(r.problem.empty()) << joined;
    }
}

TEST_F(RunnerTest, UsageErrorIsOneLineAndStatusFour) {
    EXPECT_EQ(run({"--max-steps", "viele", "p.prg"}), kUsageOrFile);
    const auto lines = linesOf(err.str());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("quarzel-run: --max-steps", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("Aufruf: quarzel-run"), std::string::npos);
    EXPECT_TRUE(out.str().empty());
}

TEST_F(RunnerTest, HelpPrintsTheUsage) {
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_EQ(out.str(), usageLine() + "\n");
}

// ---- files -------------------------------------------------------------------------------

TEST_F(RunnerTest, MissingProgramFileIsAFileError) {
    EXPECT_EQ(run({path("does_not_exist.prg")}), kUsageOrFile);
    const auto lines = linesOf(err.str());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("Quarzel 3: Datei ", 0), 0u) << lines[0];
    EXPECT_TRUE(out.str().empty());
}

TEST_F(RunnerTest, IllFormedDataFileIsAFileError) {
    const std::string program = write("short.prg", "STP\r\n");
    const std::string data = write("short.dta", "1:1:\r\n2:2:\r\n3:3:\r\n");
    EXPECT_EQ(run({"--data", data, program}), kUsageOrFile);
    const auto lines = linesOf(err.str());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("Quarzel 3: Listenindex", 0), 0u) << lines[0];
}

TEST_F(RunnerTest, ProgramWithUnixLineBreaksRuns) {
    const std::string program = write("lf.prg", "CLA\nINC\nINC\nOUT\nSTP\n");
    EXPECT_EQ(run({program}), kStopReached) << err.str();
    EXPECT_EQ(linesOf(out.str()).at(1), "Fenster: 2");
}

TEST_F(RunnerTest, DumpWritesTheTableAfterARunEvenAfterAnError) {
    const std::string program = write("dump.prg", "LAD 1\r\nSTO 2\r\nPOP\r\nSTP\r\n");
    const std::string data = write("dump_in.dta", [] {
        std::string text;
        for (int n = 1; n <= 512; ++n) {
            text += std::to_string(n) + ":" + (n == 1 ? "-8" : "0") + ":" + (n == 2 ? "Ziel" : "") +
                    "\r\n";
        }
        return text;
    }());
    const std::string dump = path("dump_out.dta");
    EXPECT_EQ(run({"--data", data, "--dump", dump, program}), kRunFailed);
    std::ifstream in(dump, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    std::string expected;
    for (int n = 1; n <= 512; ++n) {
        expected +=
            std::to_string(n) + ":" + (n <= 2 ? "-8" : "0") + ":" + (n == 2 ? "Ziel" : "") + "\r\n";
    }
    EXPECT_EQ(written, expected);
}

TEST_F(RunnerTest, DumpThatCannotBeWrittenIsAFileErrorAfterTheRegisters) {
    const std::string program = write("ok.prg", "STP\r\n");
    EXPECT_EQ(run({"--dump", path("no_such_dir/x.dta"), program}), kUsageOrFile);
    EXPECT_EQ(linesOf(out.str()).size(), 6u);
    const auto lines = linesOf(err.str());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("Quarzel 3: Datei ", 0), 0u) << lines[0];
}

TEST_F(RunnerTest, CheckOnlyRunsNothingButMayDumpTheTable) {
    const std::string program = write("check.prg", "INC\r\nSTP\r\n");
    const std::string dump = path("check_dump.dta");
    EXPECT_EQ(run({"--check", "--dump", dump, program}), kStopReached);
    EXPECT_TRUE(out.str().empty());
    EXPECT_TRUE(err.str().empty());
    std::ifstream in(dump, std::ios::binary);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "1:0:\r");
}

// ---- runs --------------------------------------------------------------------------------

TEST_F(RunnerTest, StepLimitCountsEveryStepMade) {
    const std::string program = write("loop.prg", "MRK A\r\nINC\r\nJMP A\r\nSTP\r\n");
    struct Row {
        std::string limit;
        std::string accu, ip, steps;
    };
    const Row rows[] = {{"0", "0", "0", "0"}, {"1", "0", "1", "1"}, {"5", "2", "2", "5"}};
    for (const Row& row : rows) {
        EXPECT_EQ(run({"--max-steps", row.limit, program}), kStepLimit);
        EXPECT_EQ(linesOf(out.str()),
                  (std::vector<std::string>{"Akku: " + row.accu, "Fenster: 0", "Index: 0",
                                            "Anweisung: " + row.ip, "Stack: 512",
                                            "Schritte: " + row.steps}));
        EXPECT_EQ(err.str(), "Quarzel 3: Schrittgrenze erreicht.\n");
    }
}

TEST_F(RunnerTest, StopOnTheLastAllowedStepIsNoLimit) {
    const std::string program = write("three.prg", "INC\r\nINC\r\nSTP\r\n");
    EXPECT_EQ(run({"--max-steps", "3", program}), kStopReached);
    EXPECT_EQ(linesOf(out.str()).back(), "Schritte: 3");
    EXPECT_TRUE(err.str().empty());
}

TEST_F(RunnerTest, FailedChecksPrintNoRegisters) {
    const std::string program = write("bad.prg", "LAD 600\r\nSTP\r\n");
    EXPECT_EQ(run({program}), kCheckFailed);
    EXPECT_TRUE(out.str().empty());
    EXPECT_EQ(err.str(),
              "Programmfehler: Fehler in Zeile 1: Ziel 600 außerhalb des zulässigen Bereichs\n");
}

TEST_F(RunnerTest, DetectLoopsEndsAnEndlessLoopLongBeforeTheLimit) {
    const std::string program =
        write("endless.prg", "CLA\r\nMRK A\r\nINC\r\nDEC\r\nJMP A\r\nSTP\r\n");
    EXPECT_EQ(run({"--detect-loops", "--max-steps", "1000000", program}), kEndlessLoop);
    const auto lines = linesOf(out.str());
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_LT(std::stoull(lines[5].substr(std::string("Schritte: ").size())), 100u) << lines[5];
    EXPECT_EQ(err.str(), "Quarzel 3: Endlosschleife ab Zeile 2 erkannt.\n");
}

TEST_F(RunnerTest, DetectLoopsCountsTheTypedInputsAsState) {
    // The same number typed twice leaves the registers as they were; only the third text
    // shows that the loop was not endless while texts were left.
    const std::string program = write("reads.prg", "MRK A\r\nINP\r\nJMP A\r\nSTP\r\n");
    EXPECT_EQ(run({"--detect-loops", "--input", "5", "--input", "5", "--input", "7", program}),
              kEndlessLoop);
    EXPECT_EQ(linesOf(out.str()).at(0), "Akku: 7");
}

// ---- the runner's editor -----------------------------------------------------------------

TEST_F(RunnerTest, TraceWritesOneRowPerStepWithTheRegistersAfterIt) {
    const std::string program =
        write("trace.prg", "LAD 1\r\nPUS  \r\n* Kommentar; mit Semikolon\r\nSTO [2]\r\nSTP\r\n");
    std::string data;
    for (int cell = 1; cell <= 512; ++cell) {
        data += std::to_string(cell) + (cell == 1 ? ":-3:\r\n" : ":0:\r\n");
    }
    const std::string trace = path("trace.csv");
    std::remove(trace.c_str());
    EXPECT_EQ(run({"--data", write("trace.dta", data), "--trace", trace, program}), kRunFailed);
    // The failing step has its row; the cell it read last is framed, as in the picture.
    EXPECT_EQ(
        readFile(trace),
        "\xEF\xBB\xBFSchritt;Zeile;Befehl;Akku;Fenster;Index;Anweisung;Stack;Zelle;Zugriff\r\n"
        "1;1;LAD 1;-3;0;0;1;512;1;lesen\r\n"
        "2;2;PUS;-3;0;0;2;511;512;schreiben\r\n"
        "3;3;\"* Kommentar; mit Semikolon\";-3;0;0;3;511;;\r\n"
        "4;4;STO [2];-3;0;0;3;511;2;lesen\r\n");
    EXPECT_EQ(linesOf(out.str()).back(), "Schritte: 4");
}

TEST_F(RunnerTest, TraceOfAProgramThatIsNotRunHasNoRowsOrNoFile) {
    const std::string trace = path("trace_check.csv");
    std::remove(trace.c_str());
    EXPECT_EQ(run({"--trace", trace, write("refused.prg", "FOO\r\nSTP\r\n")}), kCheckFailed);
    EXPECT_FALSE(std::ifstream(trace).good()) << "a refused program leaves nothing to trace";
    EXPECT_EQ(run({"--check", "--trace", trace, write("passed.prg", "STP\r\n")}), kStopReached);
    EXPECT_EQ(
        readFile(trace),
        "\xEF\xBB\xBFSchritt;Zeile;Befehl;Akku;Fenster;Index;Anweisung;Stack;Zelle;Zugriff\r\n");
}

TEST_F(RunnerTest, TraceIntoAFolderIsRefusedBeforeAnythingRuns) {
    const std::string program = write("never.prg", "STP\r\n");
    EXPECT_EQ(run({"--trace", ::testing::TempDir(), program}), kUsageOrFile);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("kann nicht geschrieben werden."), std::string::npos) << err.str();
}

TEST(RunnerEditor, LinesBetweenBreaksAndNoScrolling) {
    struct Row {
        std::string text;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {"", {}},
        {"\r\n", {""}},
        {"STP", {"STP"}},
        {"LAD 1\r\nSTP\r\n", {"LAD 1", "STP"}},
        {"LAD 1\r\n\r\nSTP", {"LAD 1", "", "STP"}},
        {"A\r\n\r\n", {"A", ""}},
    };
    for (const Row& row : rows) {
        TextEditor editor;
        editor.setText(row.text);
        std::vector<std::string> lines;
        for (int i = 0; i < editor.lineCount(); ++i) {
            lines.push_back(editor.lineText(i));
        }
        EXPECT_EQ(lines, row.lines) << row.text;
        EXPECT_EQ(editor.text(), row.text);
    }
    TextEditor editor;
    int changes = 0;
    editor.onChange = [&] { ++changes; };
    editor.setText("A\r\nB");
    editor.appendEmptyLine();
    EXPECT_EQ(editor.firstVisibleLine(), 2);  // the one-line view follows the caret
    editor.scrollLines(5);
    EXPECT_EQ(editor.firstVisibleLine(), 2);
    editor.scrollLines(-5);
    EXPECT_EQ(editor.firstVisibleLine(), 0);
    EXPECT_EQ(editor.text(), "A\r\nB\r\n");
    EXPECT_EQ(editor.lineCount(), 2);
    EXPECT_EQ(changes, 2);
    EXPECT_THROW(editor.lineText(2), SystemError);
    EXPECT_THROW(editor.lineText(-1), SystemError);
}

}  // namespace
}  // namespace quarzel::headless
