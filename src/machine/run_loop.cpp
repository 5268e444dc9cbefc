#include "machine/run_loop.h"

#include <optional>

#include "common/system_error.h"
#include "common/views.h"
#include "machine/instruction_step.h"
#include "machine/loop_detector.h"
#include "machine/number_input.h"
#include "model/data_table.h"
#include "model/machine_state.h"
#include "model/state_flags.h"

namespace quarzel {
namespace {

// The memory without views. With a loop detector, every write also updates its hash.
template <bool DetectLoops>
struct QuietAccess {
    MachineState& machine;
    DataTable& table;
    StateFlags& flags;
    NumberInput& input;
    NumberInputView& dialog;
    LoopDetector* detector;

    std::int32_t read(std::int32_t address) {
        std::int32_t value = 0;
        if (!table.readNumber(address - 1, value)) {
            throwUnreadableCell(table.value(address - 1));
        }
        machine.LastAccessCell = address;
        machine.LastAccessWrite = false;
        return value;
    }
    std::int32_t readAndClear(std::int32_t address) {
        const std::int32_t value = read(address);
        store(address - 1, 0);
        return value;
    }
    void write(std::int32_t address, std::int32_t value) {
        store(address - 1, value);
        flags.DataModified = true;
        machine.LastAccessCell = address;
        machine.LastAccessWrite = true;
    }
    std::int32_t requestNumber() {
        machine.VM_Running = false;
        dialog.showModal();
        const std::int32_t value = input.InputValue;
        dialog.hide();
        return value;
    }
    void inputDone() { machine.VM_Running = true; }

    void store(int row, std::int32_t value) {
        if constexpr (DetectLoops) {
            detector->beforeWrite(row, value);
        }
        table.writeNumber(row, value);
    }
};

bool allOpcodesValid(const Instructions& program) {
    for (const VM_Instruction& instruction : program) {
        if (instruction.Opcode < kFirstOpcode || instruction.Opcode > kLastOpcode) {
            return false;
        }
    }
    return true;
}

// The registers live in a local copy while the loop runs and go back into the machine on
// every way out, so that a failing step leaves exactly what VM_Step would leave.
template <bool CheckOpcodes, bool DetectLoops>
RunLoopResult loop(MachineState& machine, QuietAccess<DetectLoops>& access,
                   std::uint64_t maxSteps) {
    const Instructions& program = machine.InstructionList;
    const VM_Instruction* const code = program.data();
    const auto size = static_cast<std::uint32_t>(program.size());
    Registers r = machine;
    std::uint64_t steps = machine.StepCount;
    RunLoopResult result;
    const auto finish = [&](StepEnd end, std::string message = {}) {
        static_cast<Registers&>(machine) = r;
        machine.StepCount = steps;
        result.outcome = {end, std::move(message)};
        return result;
    };
    try {
        for (;;) {
            if (steps >= maxSteps) {
                return finish(StepEnd::StepLimit);
            }
            ++steps;
            if (static_cast<std::uint32_t>(r.VM_IP) >= size) {
                throwPastTheProgram(r.VM_IP);
            }
            const VM_Instruction& instruction = code[r.VM_IP];
            if constexpr (CheckOpcodes) {
                if (instruction.Opcode < kFirstOpcode || instruction.Opcode > kLastOpcode) {
                    throwInvalidInstruction(r.VM_IP);
                }
            }
            if (executeInstruction(r, instruction, access)) {
                return finish(StepEnd::Stopped);
            }
            if constexpr (DetectLoops) {
                if (access.detector->repeats(r)) {
                    result.loopLine = r.VM_IP + 1;
                    return finish(StepEnd::EndlessLoop);
                }
            }
        }
    } catch (const RuntimeFault& fault) {
        return finish(StepEnd::RunTimeError, fault.text());
    } catch (const SystemError& error) {
        return finish(StepEnd::SystemError, error.text());
    }
}

template <bool DetectLoops>
RunLoopResult runWith(MachineState& machine, QuietAccess<DetectLoops>& access,
                      std::uint64_t maxSteps) {
    // Checked programs hold nothing but valid opcodes, so the loop need not look again.
    if (allOpcodesValid(machine.InstructionList)) {
        return loop<false>(machine, access, maxSteps);
    }
    return loop<true>(machine, access, maxSteps);
}

}  // namespace

RunLoopResult runLoop(MachineState& machine, DataTable& table, StateFlags& flags,
                      NumberInput& input, NumberInputView& dialog, std::uint64_t maxSteps,
                      bool detectLoops) {
    if (detectLoops) {
        LoopDetector detector(table, input, dialog);
        QuietAccess<true> access{machine, table, flags, input, dialog, &detector};
        return runWith(machine, access, maxSteps);
    }
    QuietAccess<false> access{machine, table, flags, input, dialog, nullptr};
    return runWith(machine, access, maxSteps);
}

}  // namespace quarzel
