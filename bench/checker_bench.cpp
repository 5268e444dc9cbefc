// How long the program checker takes for long programs, read from the in-memory editor: one mark in
// ten lines and a jump in every other line, so both passes and the mark lookups carry weight. The
// cost must grow linearly with the number of lines.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "checker/check_program.h"
#include "common/views.h"
#include "model/instruction_set.h"
#include "session/text_editor.h"

namespace quarzel {
namespace {

class CountingPrompts : public PromptView {
  public:
    int messages = 0;
    void showMessage(const std::string&, const std::string&, MessageIcon) override { ++messages; }
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> chooseFileToOpen(const FileFilter&) override { return {}; }
    std::optional<std::string> chooseFileToSave(const FileFilter&, const std::string&) override {
        return {};
    }
};

// Line i: a mark on every tenth line, a jump (forward and backward, several kinds) on every odd
// line, address instructions, comments and empty lines in between, STP at the end.
std::vector<std::string> generateProgram(int lineCount) {
    static const char* const jumps[] = {"JMP", "JEQ", "JNE", "CAL", "JGT"};
    static const char* const others[] = {"LAD 17", "ADD [X] * Zeiger", "sto [300]", "",
                                         "* Kommentar"};
    const int marks = (lineCount + 9) / 10;
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(lineCount));
    for (int i = 0; i + 1 < lineCount; ++i) {
        if (i % 10 == 0) {
            lines.push_back("MRK marke" + std::to_string(i / 10));
        } else if (i % 2 == 1) {
            const int target = (i / 10 * 7919 + i) % marks;
            lines.push_back(std::string(jumps[i % 5]) + " \tMarke" + std::to_string(target));
        } else {
            lines.push_back(others[i % 5]);
        }
    }
    lines.push_back("STP Ende");
    return lines;
}

// The program as one text, as the editor holds it.
std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void BM_CheckProgram(benchmark::State& state) {
    const std::string program = joined(generateProgram(static_cast<int>(state.range(0))));
    const OpcodeList opcodes;
    TextEditor editor(40);  // a window of 40 lines, so the room-making after the check runs
    CountingPrompts prompts;
    Instructions instructions;
    for (auto _ : state) {
        state.PauseTiming();
        editor.setText(program);  // without the empty lines the last check appended
        const int lines = editor.lineCount();
        state.ResumeTiming();
        const bool ok = CheckProgram(editor, prompts, opcodes, instructions);
        benchmark::DoNotOptimize(ok);
        if (!ok || prompts.messages != 0 || editor.lineCount() == lines) {
            state.SkipWithError("the generated program did not pass as expected");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_CheckProgram)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace quarzel

BENCHMARK_MAIN();
