// What every way of running does around one instruction: fetch it from the line VM_IP, and
// turn the machine's errors into how the step (or a whole headless run) ended.
#pragma once

#include <cstdint>

#include "common/system_error.h"
#include "machine/runtime_fault.h"
#include "machine/step_outcome.h"
#include "model/instruction_set.h"

namespace quarzel {

// The instruction at `ip` of a program of `size` lines. Running past the last line (or a RET to
// a line that does not exist) fails with the list index error; with CheckOpcode, an opcode
// outside 1..28 fails as an invalid instruction. Checked programs hold only valid opcodes, so
// the headless loop looks at them once per run instead.
template <bool CheckOpcode>
const VM_Instruction& fetchInstruction(const VM_Instruction* code, std::uint32_t size,
                                       std::int32_t ip) {
    if (static_cast<std::uint32_t>(ip) >= size) {
        throwPastTheProgram(ip);
    }
    const VM_Instruction& instruction = code[ip];
    if constexpr (CheckOpcode) {
        if (instruction.Opcode < kFirstOpcode || instruction.Opcode > kLastOpcode) {
            throwInvalidInstruction(ip);
        }
    }
    return instruction;
}

// Runs `body`, which says how it ended; a run-time error or a system error (an overflow, a cell
// that does not convert) ends it instead, with its text.
template <class Body>
StepOutcome outcomeOf(Body&& body) {
    try {
        return {body(), {}};
    } catch (const RuntimeFault& fault) {
        return {StepEnd::RunTimeError, fault.text()};
    } catch (const SystemError& error) {
        return {StepEnd::SystemError, error.text()};
    }
}

}  // namespace quarzel
