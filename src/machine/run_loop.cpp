#include "machine/run_loop.h"

#include <algorithm>
#include <optional>
#include <string>
#include <type_traits>

#include "common/views.h"
#include "machine/instruction_step.h"
#include "machine/loop_detector.h"
#include "machine/machine_access.h"
#include "machine/silent_prompts.h"
#include "machine/step_guard.h"
#include "model/data_table.h"
#include "model/machine_state.h"
#include "model/state_flags.h"
#include "model/trace_row.h"

namespace quarzel {
namespace {

bool allOpcodesValid(const Instructions& program) {
    for (const VM_Instruction& instruction : program) {
        if (instruction.Opcode < kFirstOpcode || instruction.Opcode > kLastOpcode) {
            return false;
        }
    }
    return true;
}

// INP in a cycle that repeats took no text from its input list: its dialog closed without a
// number. Walking the cycle again repeats exactly that without opening anything.
class ClosedDialog : public NumberInputView {
  public:
    std::optional<std::string> askText(const std::optional<std::string>& /*rejected*/) override {
        return std::nullopt;
    }
    void hide() override {}
};

// A traced run's watcher: it notes whether a step touched a cell, passes every access on to
// the watcher it wraps, and hands each step's row to the sink.
template <class Inner>
class Tracer {
  public:
    Tracer(Inner& inner, TraceSink& sink, const MachineState& machine)
        : m_inner(inner), m_sink(sink), m_machine(machine) {}

    void beforeWrite(int row, std::int32_t number) { m_inner.beforeWrite(row, number); }
    void atCell(int row) { m_inner.atCell(row); }
    void recorded() {
        m_touched = true;
        m_inner.recorded();
    }
    void numberTaken(bool accepted) { m_inner.numberTaken(accepted); }

    // Step `step` executed line `line` and left the registers `after`.
    void stepped(std::uint64_t step, std::int32_t line, const Registers& after) {
        TraceRow row;
        row.step = step;
        row.line = line;
        row.after = after;
        if (m_touched) {
            row.cell = m_machine.LastAccessCell;
            row.write = m_machine.LastAccessWrite;
        }
        m_touched = false;
        m_sink.row(row);
    }

  private:
    Inner& m_inner;
    TraceSink& m_sink;
    const MachineState& m_machine;
    bool m_touched = false;
};

template <class Watcher>
inline constexpr bool kTraced = false;
template <class Inner>
inline constexpr bool kTraced<Tracer<Inner>> = true;

// A run that is not watched for endless loops.
struct NoLoopWatch {};

// Steps until the run ends one way or another. Errors are thrown out of here: the one `try`
// is the caller's, around the whole loop rather than inside it, so that no instruction runs
// inside a try block (in WebAssembly every call made inside one goes through a script
// trampoline). `line` is the line of the step last begun, for the trace of a failing step.
template <bool CheckOpcodes, class Watcher, class Loops>
#if defined(__GNUC__)
__attribute__((noinline))
#endif
StepEnd
stepUntilTheEnd(const Instructions& program, Registers& r, std::uint64_t& steps,
                std::uint64_t maxSteps, MachineAccess<Watcher>& access, Watcher& watcher,
                Loops& loops, std::int32_t& line) {
    constexpr bool kDetectLoops = std::is_same_v<Loops, LoopDetector>;
    // The access is a handful of references; in a copy of the loop's own the compiler keeps
    // them in registers, where the caller's would be read again after every store to a cell.
    MachineAccess<Watcher> cells(access);
    const VM_Instruction* const code = program.data();
    const auto size = static_cast<std::uint32_t>(program.size());
    for (;;) {
        if (steps >= maxSteps) {
            return StepEnd::StepLimit;
        }
        ++steps;
        const std::int32_t ip = r.VM_IP;
        if constexpr (kTraced<Watcher>) {
            line = ip;
        }
        const VM_Instruction& instruction = fetchInstruction<CheckOpcodes>(code, size, ip);
        if (executeInstruction(r, instruction, cells)) {
            if constexpr (kTraced<Watcher>) {
                watcher.stepped(steps, ip, r);
            }
            return StepEnd::Stopped;
        }
        if constexpr (kTraced<Watcher>) {
            watcher.stepped(steps, ip, r);
        }
        // A state that repeats comes round in a cycle, and every cycle of a program has a
        // step that does not go on to the next line (a jump, CAL or RET): looking only after
        // those steps finds every loop and costs the straight-line steps nothing.
        if constexpr (kDetectLoops) {
            if (r.VM_IP != ip + 1 && loops.repeats(r)) {
                return StepEnd::EndlessLoop;
            }
        }
    }
}

// A browser compiles WebAssembly first quickly and plainly, then once more optimised in the
// background, and a function runs the optimised code only from its next call on: a loop that
// never returned would run a long program to its end in the plain code (in Node's engine
// 1.4 s instead of 1.1 s for 10^8 steps of a memory loop). So the loop returns every so many
// steps and is called again; natively that costs nothing.
constexpr std::uint64_t kStepsPerEntry = std::uint64_t{1} << 16;

// The registers live in a local copy while the loop runs and go back into the machine on
// every way out, so that a failing step leaves exactly what VM_Step would leave.
template <bool CheckOpcodes, class Watcher, class Loops>
RunLoopResult loop(MachineState& machine, MachineAccess<Watcher>& access, Watcher& watcher,
                   Loops& loops, std::uint64_t maxSteps) {
    Registers r = machine;
    std::uint64_t steps = machine.StepCount;
    std::int32_t line = 0;
    RunLoopResult result;
    result.outcome = outcomeOf([&] {
        StepEnd end;
        do {
            const std::uint64_t pauseAt = steps < maxSteps && maxSteps - steps > kStepsPerEntry
                                              ? steps + kStepsPerEntry
                                              : maxSteps;
            end = stepUntilTheEnd<CheckOpcodes>(machine.InstructionList, r, steps, pauseAt, access,
                                                watcher, loops, line);
        } while (end == StepEnd::StepLimit && steps < maxSteps);
        return end;
    });
    if constexpr (kTraced<Watcher>) {
        // The failing step counts as executed: it has its row too.
        const StepEnd end = result.outcome.end;
        if (end == StepEnd::RunTimeError || end == StepEnd::SystemError) {
            watcher.stepped(steps, line, r);
        }
    }
    static_cast<Registers&>(machine) = r;
    machine.StepCount = steps;
    return result;
}

template <class Watcher, class Loops>
RunLoopResult runWith(MachineState& machine, DataTable& table, StateFlags& flags,
                      NumberInput& input, NumberInputView& dialog, PromptView& prompts,
                      Watcher& watcher, Loops& loops, std::uint64_t maxSteps) {
    MachineAccess<Watcher> access(machine, table, flags, input, dialog, prompts, watcher);
    // Checked programs hold nothing but valid opcodes, so the loop need not look again.
    RunLoopResult result = allOpcodesValid(machine.InstructionList)
                               ? loop<false>(machine, access, watcher, loops, maxSteps)
                               : loop<true>(machine, access, watcher, loops, maxSteps);
    if constexpr (std::is_same_v<Loops, LoopDetector>) {
        if (result.outcome.end == StepEnd::EndlessLoop) {
            // Named by its lowest line, where a learner reads a loop to begin, whichever line
            // the detector happened to look at.
            result.loopLine = lowestCycleLine(machine, table, flags, input, loops);
        }
    }
    return result;
}

}  // namespace

std::string endlessLoopText(std::int32_t loopLine) {
    return "Endlosschleife ab Zeile " + std::to_string(loopLine) + " erkannt.";
}

std::int32_t lowestCycleLine(MachineState& machine, DataTable& table, StateFlags& flags,
                             NumberInput& input, LoopDetector& detector) {
    // The values the walk writes are the ones the cells hold already: nobody needs to hear.
    const GridDetached quiet(table);
    ClosedDialog closed;
    SilentPrompts silent;  // a closed dialog never has a rejected text to show
    MachineAccess<LoopDetector> access(machine, table, flags, input, closed, silent, detector);
    Registers r = machine;
    const Instructions& program = machine.InstructionList;
    const VM_Instruction* const code = program.data();
    const auto size = static_cast<std::uint32_t>(program.size());
    // Every line of the cycle has run without an error before, and the machine is
    // deterministic, so the walk ends where it began.
    std::int32_t lowest = r.VM_IP;
    for (;;) {
        const std::int32_t ip = r.VM_IP;
        lowest = std::min(lowest, ip);
        executeInstruction(r, fetchInstruction<true>(code, size, ip), access);
        if (r.VM_IP != ip + 1 && detector.backAtSnapshot(r)) {
            break;
        }
    }
    static_cast<Registers&>(machine) = r;
    return lowest + 1;
}

RunLoopResult runLoop(MachineState& machine, DataTable& table, StateFlags& flags,
                      NumberInput& input, NumberInputView& dialog, PromptView& prompts,
                      std::uint64_t maxSteps, bool detectLoops, TraceSink* trace) {
    if (detectLoops) {
        LoopDetector detector(machine, table, input, dialog);
        return runLoopPart(machine, table, flags, input, dialog, prompts, maxSteps, maxSteps,
                           &detector, trace);
    }
    return runLoopPart(machine, table, flags, input, dialog, prompts, maxSteps, maxSteps, nullptr,
                       trace);
}

RunLoopResult runLoopPart(MachineState& machine, DataTable& table, StateFlags& flags,
                          NumberInput& input, NumberInputView& dialog, PromptView& prompts,
                          std::uint64_t maxSteps, std::uint64_t pauseAt, LoopDetector* loops,
                          TraceSink* trace) {
    const std::uint64_t limit = std::min(maxSteps, pauseAt);
    // Each way of running is its own loop, so that a run without the trace or the loop
    // detection pays nothing for them.
    RunLoopResult run;
    if (loops != nullptr) {
        if (trace != nullptr) {
            Tracer<LoopDetector> tracer(*loops, *trace, machine);
            run = runWith(machine, table, flags, input, dialog, prompts, tracer, *loops, limit);
        } else {
            run = runWith(machine, table, flags, input, dialog, prompts, *loops, *loops, limit);
        }
    } else {
        NoWatcher nobody;
        NoLoopWatch noLoops;
        if (trace != nullptr) {
            Tracer<NoWatcher> tracer(nobody, *trace, machine);
            run = runWith(machine, table, flags, input, dialog, prompts, tracer, noLoops, limit);
        } else {
            run = runWith(machine, table, flags, input, dialog, prompts, nobody, noLoops, limit);
        }
    }
    if (run.outcome.end == StepEnd::StepLimit && limit < maxSteps) {
        run.outcome = StepOutcome{};  // paused: the run goes on with the next part
    }
    return run;
}

}  // namespace quarzel
