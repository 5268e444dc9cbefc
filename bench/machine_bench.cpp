// Instructions per second through VM_Step on a workbench with the headless runner's views: a loop
// over memory cells (every read converts the cell's text, every write formats it) and a loop that
// only touches registers.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "common/views.h"
#include "headless_views.h"
#include "session/workbench.h"

namespace quarzel {
namespace {

// The runner's own views: the benchmark measures the engine that quarzel-run drives.
struct QuietScreen {
    std::ostringstream messages;
    headless::TextEditor editor;
    headless::SilentGrid grid;
    headless::SilentPicture picture;
    headless::SilentRegisters registers;
    headless::SilentRunPanel runPanel;
    headless::LinePrompts prompts{messages};
    headless::ScriptedNumberInput numberInput{prompts, {}};
    Workbench bench{Views{editor, grid, picture, registers, runPanel, prompts, numberInput}};
};

VM_Instruction op(Mnemonic m, std::int32_t operand = 0) {
    return {static_cast<std::int32_t>(m), operand, true};
}

void runSteps(benchmark::State& state, QuietScreen& screen, Instructions program) {
    Workbench& bench = screen.bench;
    bench.machine.InstructionList = std::move(program);
    bench.flags.ProgramChecked = true;
    bench.flags.DataChecked = true;
    bench.runControl.VM_Start();
    for (auto _ : state) {
        bench.runControl.VM_Step();
    }
    if (!bench.machine.VM_Running) {
        state.SkipWithError("the loop ended");
    }
    state.SetItemsProcessed(state.iterations());
}

// Cell 3 counts down from two billion, cell 1 sums cell 2 (= 1) once per round: nine
// instructions per round, six of them memory accesses, far from any end or overflow.
void BM_MemoryLoop(benchmark::State& state) {
    using M = Mnemonic;
    QuietScreen screen;
    DataTable& table = screen.bench.table;
    table.setValue(0, "0");
    table.setValue(1, "1");
    table.setValue(2, "2000000000");
    table.setValue(3, "1");
    runSteps(state, screen,
             {op(M::MRK), op(M::LAD, 3), op(M::SUB, 4), op(M::STO, 3), op(M::LAD, 1), op(M::ADD, 2),
              op(M::STO, 1), op(M::LAD, 3), op(M::JNE, 0)});
}
BENCHMARK(BM_MemoryLoop);

// Only registers: every round brings the accumulator back to 0, so the loop never ends.
void BM_RegisterLoop(benchmark::State& state) {
    using M = Mnemonic;
    QuietScreen screen;
    runSteps(state, screen,
             {op(M::MRK), op(M::INC), op(M::TAX), op(M::TXA), op(M::SAL), op(M::SAR), op(M::NEG),
              op(M::NEG), op(M::OUT), op(M::DEC), op(M::JEQ, 0)});
}
BENCHMARK(BM_RegisterLoop);

// A subroutine call per round: CAL, RET and a PUS / POP pair write and clear stack cells.
void BM_StackLoop(benchmark::State& state) {
    using M = Mnemonic;
    QuietScreen screen;
    runSteps(state, screen,
             {op(M::MRK), op(M::INC), op(M::CAL, 4), op(M::JMP, 0), op(M::MRK), op(M::PUS),
              op(M::POP), op(M::DEC), op(M::RET)});
}
BENCHMARK(BM_StackLoop);

}  // namespace
}  // namespace quarzel

BENCHMARK_MAIN();
