// Instructions per second of the engine: the headless run loop (what quarzel-run and
// quarzel-grade use) on a loop over memory cells, with and without loop detection and with
// every step's trace row made, against a bare switch interpreter of the same loop over plain
// int cells; a register loop and a stack loop; and the window's VM_Step with and without the
// cost of its journal entry and of the sentence and protocol row a front end draws.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "common/views.h"
#include "files/trace_table.h"
#include "grading/headless_views.h"
#include "machine/machine_snapshot.h"
#include "machine/run_loop.h"
#include "session/workbench.h"
#include "session/workbench_internals.h"

namespace quarzel {
namespace {

constexpr std::uint64_t kStepsPerIteration = 1000000;

// The runner's own views: the benchmark measures the engine that quarzel-run drives.
struct QuietScreen {
    std::ostringstream messages;
    headless::TextEditor editor;
    headless::SilentGrid grid;
    headless::SilentPicture picture;
    headless::SilentRegisters registers;
    headless::SilentRunPanel runPanel;
    headless::LinePrompts prompts{messages};
    headless::ScriptedNumberInput numberInput{{}};
    Workbench workbench{Views{editor, grid, picture, registers, runPanel, prompts, numberInput}};
    WorkbenchInternals bench{workbench};

    void start(Instructions program) {
        bench.machine.InstructionList = std::move(program);
        bench.flags.ProgramChecked = true;
        bench.flags.DataChecked = true;
        bench.runControl.VM_Start();
    }
};

VM_Instruction op(Mnemonic m, std::int32_t operand = 0) {
    return {static_cast<std::int32_t>(m), operand, true};
}

// Cell 3 counts down from two billion, cell 1 sums cell 2 (= 1) once per round: nine
// instructions per round, six of them memory accesses, far from any end or overflow.
Instructions memoryLoop() {
    using M = Mnemonic;
    return {op(M::MRK),    op(M::LAD, 3), op(M::SUB, 4), op(M::STO, 3), op(M::LAD, 1),
            op(M::ADD, 2), op(M::STO, 1), op(M::LAD, 3), op(M::JNE, 0)};
}

void fillMemoryLoopCells(DataTable& table) {
    table.setValue(0, "0");
    table.setValue(1, "1");
    table.setValue(2, "2000000000");
    table.setValue(3, "1");
}

// Only registers: every round brings the accumulator back to 0, so the loop never ends.
Instructions registerLoop() {
    using M = Mnemonic;
    return {op(M::MRK), op(M::INC), op(M::TAX), op(M::TXA), op(M::SAL),   op(M::SAR),
            op(M::NEG), op(M::NEG), op(M::OUT), op(M::DEC), op(M::JEQ, 0)};
}

// A subroutine call per round: CAL, RET and a PUS / POP pair write and clear stack cells.
Instructions stackLoop() {
    using M = Mnemonic;
    return {op(M::MRK), op(M::INC), op(M::CAL, 4), op(M::JMP, 0), op(M::MRK),
            op(M::PUS), op(M::POP), op(M::DEC),    op(M::RET)};
}

void runHeadless(benchmark::State& state, Instructions program, bool detectLoops,
                 bool memoryCells) {
    QuietScreen screen;
    if (memoryCells) {
        fillMemoryLoopCells(screen.bench.table);
    }
    screen.start(std::move(program));
    MachineState& machine = screen.bench.machine;
    for (auto _ : state) {
        const RunLoopResult result = runLoop(machine, screen.bench.table, screen.bench.flags,
                                             screen.bench.input, screen.numberInput, screen.prompts,
                                             machine.StepCount + kStepsPerIteration, detectLoops);
        if (result.outcome.end != StepEnd::StepLimit) {
            state.SkipWithError("the loop ended");
            break;
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kStepsPerIteration));
}

void BM_MemoryLoop(benchmark::State& state) {
    runHeadless(state, memoryLoop(), false, true);
}
BENCHMARK(BM_MemoryLoop);

void BM_MemoryLoopDetectingLoops(benchmark::State& state) {
    runHeadless(state, memoryLoop(), true, true);
}
BENCHMARK(BM_MemoryLoopDetectingLoops);

void BM_RegisterLoop(benchmark::State& state) {
    runHeadless(state, registerLoop(), false, false);
}
BENCHMARK(BM_RegisterLoop);

void BM_StackLoop(benchmark::State& state) {
    runHeadless(state, stackLoop(), false, false);
}
BENCHMARK(BM_StackLoop);

// The same memory loop in the plainest interpreter there is: one switch over int cells, no
// checks of any kind. The yardstick for the engine's own overhead.
void BM_MemoryLoopBareSwitch(benchmark::State& state) {
    enum Op : std::uint8_t { Mark, Load, Sub, Store, Add, JumpIfNotZero };
    struct Ins {
        Op op;
        int operand;
    };
    const std::vector<Ins> code = {{Mark, 0}, {Load, 3},  {Sub, 4},  {Store, 3},        {Load, 1},
                                   {Add, 2},  {Store, 1}, {Load, 3}, {JumpIfNotZero, 0}};
    std::array<int, 513> cells{};
    cells[2] = 1;
    cells[3] = 2000000000;
    cells[4] = 1;
    int accu = 0;
    int ip = 0;
    for (auto _ : state) {
        for (std::uint64_t step = 0; step < kStepsPerIteration; ++step) {
            const Ins& ins = code[static_cast<std::size_t>(ip)];
            switch (ins.op) {
                case Mark:
                    ++ip;
                    break;
                case Load:
                    accu = cells[static_cast<std::size_t>(ins.operand)];
                    ++ip;
                    break;
                case Sub:
                    accu -= cells[static_cast<std::size_t>(ins.operand)];
                    ++ip;
                    break;
                case Store:
                    cells[static_cast<std::size_t>(ins.operand)] = accu;
                    ++ip;
                    break;
                case Add:
                    accu += cells[static_cast<std::size_t>(ins.operand)];
                    ++ip;
                    break;
                case JumpIfNotZero:
                    ip = accu != 0 ? ins.operand : ip + 1;
                    break;
            }
        }
        benchmark::DoNotOptimize(cells);
    }
    benchmark::DoNotOptimize(accu);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kStepsPerIteration));
}
BENCHMARK(BM_MemoryLoopBareSwitch);

// The window's step through VM_Step, with the runner's silent views: the engine's share of a
// step in the window (the window itself adds the painting, about 0.3 ms).
void BM_WindowStepQuietViews(benchmark::State& state) {
    QuietScreen screen;
    fillMemoryLoopCells(screen.bench.table);
    screen.start(memoryLoop());
    for (auto _ : state) {
        screen.bench.runControl.VM_Step();
    }
    if (!screen.bench.machine.VM_Running) {
        state.SkipWithError("the loop ended");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WindowStepQuietViews);

// The window's step with what a front end asks for when it draws after it: the sentence
// line and the protocol's newest row, each made once (the window's own step, with its
// painting, is about 0.3 ms).
void BM_WindowStepSentenceAndTrace(benchmark::State& state) {
    QuietScreen screen;
    fillMemoryLoopCells(screen.bench.table);
    screen.start(memoryLoop());
    for (auto _ : state) {
        screen.bench.runControl.VM_Step();
        benchmark::DoNotOptimize(screen.workbench.stepSentence());
        benchmark::DoNotOptimize(screen.workbench.traceRow(screen.bench.machine.StepCount));
    }
    if (!screen.bench.machine.VM_Running) {
        state.SkipWithError("the loop ended");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WindowStepSentenceAndTrace);

// quarzel-run --trace without the file: the headless memory loop with every step's CSV row
// made, the part of a traced run that is the engine's.
void BM_MemoryLoopTraced(benchmark::State& state) {
    struct CsvRows : TraceSink {
        std::string buffer;
        std::string command = traceCsvCommand("LAD 3");
        void row(const TraceRow& row) override {
            appendTraceCsvRow(buffer, row, command);
            if (buffer.size() > (1 << 20)) {
                buffer.clear();
            }
        }
    } rows;
    QuietScreen screen;
    fillMemoryLoopCells(screen.bench.table);
    screen.start(memoryLoop());
    MachineState& machine = screen.bench.machine;
    for (auto _ : state) {
        runLoop(machine, screen.bench.table, screen.bench.flags, screen.bench.input,
                screen.numberInput, screen.prompts, machine.StepCount + kStepsPerIteration, false,
                &rows);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kStepsPerIteration));
}
BENCHMARK(BM_MemoryLoopTraced);

// What the journal adds to each window step: one entry with a written cell.
void BM_JournalEntry(benchmark::State& state) {
    QuietScreen screen;
    StepJournal journal;
    const DataTable& table = screen.bench.table;
    int row = 0;
    for (auto _ : state) {
        journal.begin(snapshotOf(screen.bench.machine, screen.bench.input, screen.numberInput));
        journal.recordCell(table, row);
        journal.end();
        row = (row + 1) & 511;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_JournalEntry);

}  // namespace
}  // namespace quarzel

BENCHMARK_MAIN();
