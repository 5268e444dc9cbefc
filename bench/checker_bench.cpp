// How long the program checker takes for long programs: one mark in ten lines and a jump in
// every other line, so both passes and the mark lookups carry weight. The cost must grow
// linearly with the number of lines.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "checker/check_program.h"
#include "common/views.h"
#include "model/instruction_set.h"

namespace quarzel {
namespace {

// An editor held in memory with a window of `kVisible` lines that scrolls the caret into view,
// so the extension after the check runs as it does on screen. Appended lines are only counted,
// so the text can be put back to the program between iterations at no cost.
class BenchEditor : public ProgramEditorView {
  public:
    static constexpr int kVisible = 40;

    explicit BenchEditor(const std::vector<std::string>& lines) : m_lines(lines) {}
    void reset() {
        m_appended = 0;
        m_first = 0;
    }
    int appended() const { return m_appended; }

    int lineCount() const override { return static_cast<int>(m_lines.size()) + m_appended; }
    std::string lineText(int index) const override {
        return index < static_cast<int>(m_lines.size()) ? m_lines[index] : std::string();
    }
    void appendEmptyLine() override {
        ++m_appended;
        const int caretLine = lineCount() - 1;
        m_first = std::max(m_first, caretLine - kVisible + 1);
    }
    int firstVisibleLine() const override { return m_first; }
    void scrollLines(int) override {}
    void selectLine(int) override {}
    void setReadOnly(bool) override {}
    void deleteLine(int) override {}
    void clear() override {}
    std::string text() const override { return {}; }
    void setText(const std::string&) override {}

  private:
    const std::vector<std::string>& m_lines;
    int m_appended = 0;
    int m_first = 0;
};

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

void BM_CheckProgram(benchmark::State& state) {
    const std::vector<std::string> program = generateProgram(static_cast<int>(state.range(0)));
    const OpcodeList opcodes;
    BenchEditor editor(program);
    CountingPrompts prompts;
    Instructions instructions;
    for (auto _ : state) {
        editor.reset();
        const bool ok = CheckProgram(editor, prompts, opcodes, instructions);
        benchmark::DoNotOptimize(ok);
        if (!ok || prompts.messages != 0 || editor.appended() == 0) {
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
