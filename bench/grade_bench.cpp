// Grading a whole class: 30 programs against 10 cases of the sum task on two threads, a third
// of the programs caught in an endless loop, with the default step limit of a task file.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "grading/grader.h"
#include "grading/task_file.h"

namespace quarzel::grading {
namespace {

constexpr int kPrograms = 30;
constexpr int kCases = 10;

// Cells 1..10 hold the summands, cell 12 the bound 11.
std::string dataText(int shift) {
    std::string text;
    for (int n = 1; n <= 512; ++n) {
        const int value = n <= 10 ? n * shift - 7 : n == 12 ? 11 : 0;
        text += std::to_string(n) + ":" + std::to_string(value) + ":\r\n";
    }
    return text;
}

std::string program(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// A right solution, padded with comment lines so the programs differ.
std::string rightProgram(int variant) {
    std::vector<std::string> lines(static_cast<std::size_t>(variant), "* Kommentar");
    for (const char* line : {"CLA", "STO 11", "INC", "TAX", "MRK S", "LAD 11", "ADD [X]", "STO 11",
                             "TXA", "INC", "TAX", "SUB 12", "JNE S", "LAD 11", "OUT", "STP"}) {
        lines.emplace_back(line);
    }
    return program(lines);
}

// Jumps back to the start instead of the loop: the machine comes back to the same state.
std::string endlessProgram(int variant) {
    std::vector<std::string> lines(static_cast<std::size_t>(variant), "* Kommentar");
    for (const char* line :
         {"MRK A", "CLA", "STO 11", "INC", "TAX", "MRK S", "LAD 11", "ADD [X]", "STO 11", "TXA",
          "INC", "TAX", "SUB 12", "JNE A", "LAD 11", "OUT", "STP"}) {
        lines.emplace_back(line);
    }
    return program(lines);
}

void BM_GradeClass(benchmark::State& state) {
    Task task;
    task.title = "Summe";
    for (int c = 0; c < kCases; ++c) {
        TaskCase taskCase;
        taskCase.name = "Fall " + std::to_string(c + 1);
        taskCase.data = dataText(c + 1);
        const int sum = (c + 1) * 55 - 70;
        taskCase.expected.registers[1] = sum;  // fenster
        taskCase.expected.cells = {{11, std::to_string(sum)}};
        task.cases.push_back(taskCase);
    }
    std::vector<Submission> submissions;
    for (int p = 0; p < kPrograms; ++p) {
        submissions.push_back({"p" + std::to_string(p) + ".prg",
                               p % 3 == 0 ? endlessProgram(p) : rightProgram(p), ""});
    }
    for (auto _ : state) {
        const auto grades = gradeAll(task, submissions, 2);
        if (grades[1].points != kCases || grades[0].points != 0) {
            state.SkipWithError("the class was graded wrongly");
            break;
        }
        benchmark::DoNotOptimize(grades.data());
    }
    state.SetItemsProcessed(state.iterations() * kPrograms * kCases);
}
BENCHMARK(BM_GradeClass)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quarzel::grading

BENCHMARK_MAIN();
