#include "machine/run_loop.h"

#include <algorithm>
#include <optional>
#include <string>
#include <type_traits>

#include "common/views.h"
#include "machine/instruction_step.h"
#include "machine/loop_detector.h"
#include "machine/machine_access.h"
#include "machine/step_guard.h"
#include "model/data_table.h"
#include "model/machine_state.h"
#include "model/state_flags.h"

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

// Where that closed dialog would show a rejected text: it never has one.
class NoPrompts : public PromptView {
  public:
    void showMessage(const std::string& /*text*/, const std::string& /*caption*/,
                     MessageIcon /*icon*/) override {}
    bool askYesNo(const std::string& /*text*/, const std::string& /*caption*/) override {
        return false;
    }
    std::optional<std::string> chooseFileToOpen(const FileFilter& /*filter*/) override {
        return std::nullopt;
    }
    std::optional<std::string> chooseFileToSave(const FileFilter& /*filter*/,
                                                const std::string& /*extension*/) override {
        return std::nullopt;
    }
};

// Steps until the run ends one way or another. Errors are thrown out of here: the one `try`
// is the caller's, around the whole loop rather than inside it, so that no instruction runs
// inside a try block (in WebAssembly every call made inside one goes through a script
// trampoline).
template <bool CheckOpcodes, class Watcher>
#if defined(__GNUC__)
__attribute__((noinline))
#endif
StepEnd
stepUntilTheEnd(const Instructions& program, Registers& r, std::uint64_t& steps,
                std::uint64_t maxSteps, MachineAccess<Watcher>& access, Watcher& watcher) {
    constexpr bool kDetectLoops = std::is_same_v<Watcher, LoopDetector>;
    const VM_Instruction* const code = program.data();
    const auto size = static_cast<std::uint32_t>(program.size());
    for (;;) {
        if (steps >= maxSteps) {
            return StepEnd::StepLimit;
        }
        ++steps;
        const VM_Instruction& instruction = fetchInstruction<CheckOpcodes>(code, size, r.VM_IP);
        const std::int32_t ip = r.VM_IP;
        if (executeInstruction(r, instruction, access)) {
            return StepEnd::Stopped;
        }
        // A state that repeats comes round in a cycle, and every cycle of a program has a
        // step that does not go on to the next line (a jump, CAL or RET): looking only after
        // those steps finds every loop and costs the straight-line steps nothing.
        if constexpr (kDetectLoops) {
            if (r.VM_IP != ip + 1 && watcher.repeats(r)) {
                return StepEnd::EndlessLoop;
            }
        }
    }
}

// The registers live in a local copy while the loop runs and go back into the machine on
// every way out, so that a failing step leaves exactly what VM_Step would leave.
template <bool CheckOpcodes, class Watcher>
RunLoopResult loop(MachineState& machine, MachineAccess<Watcher>& access, Watcher& watcher,
                   std::uint64_t maxSteps) {
    Registers r = machine;
    std::uint64_t steps = machine.StepCount;
    RunLoopResult result;
    result.outcome = outcomeOf([&] {
        return stepUntilTheEnd<CheckOpcodes>(machine.InstructionList, r, steps, maxSteps, access,
                                             watcher);
    });
    static_cast<Registers&>(machine) = r;
    machine.StepCount = steps;
    return result;
}

template <class Watcher>
RunLoopResult runWith(MachineState& machine, DataTable& table, StateFlags& flags,
                      NumberInput& input, NumberInputView& dialog, PromptView& prompts,
                      Watcher& watcher, std::uint64_t maxSteps) {
    MachineAccess<Watcher> access(machine, table, flags, input, dialog, prompts, watcher);
    // Checked programs hold nothing but valid opcodes, so the loop need not look again.
    RunLoopResult result = allOpcodesValid(machine.InstructionList)
                               ? loop<false>(machine, access, watcher, maxSteps)
                               : loop<true>(machine, access, watcher, maxSteps);
    if constexpr (std::is_same_v<Watcher, LoopDetector>) {
        if (result.outcome.end == StepEnd::EndlessLoop) {
            // Named by its lowest line, where a learner reads a loop to begin, whichever line
            // the detector happened to look at.
            result.loopLine = lowestCycleLine(machine, table, flags, input, watcher);
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
    NoPrompts silent;
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
                      std::uint64_t maxSteps, bool detectLoops) {
    if (detectLoops) {
        LoopDetector detector(machine, table, input, dialog);
        return runWith(machine, table, flags, input, dialog, prompts, detector, maxSteps);
    }
    NoWatcher nobody;
    return runWith(machine, table, flags, input, dialog, prompts, nobody, maxSteps);
}

}  // namespace quarzel
