// The run loop of the headless tools: steps from VM_IP until STP, an error, a step limit or,
// when asked, an endless loop, without any display per step and without the journal. Every
// instruction does exactly what it does in the window (the same code, instruction_step.h);
// only the table's scrolling, the picture's repaints and the register display are left out.
#pragma once

#include <cstdint>
#include <string>

#include "machine/step_outcome.h"

namespace quarzel {

class DataTable;
class LoopDetector;
class NumberInputView;
class PromptView;
class TraceSink;
struct MachineState;
struct NumberInput;
struct StateFlags;

// The steps a headless run may take when its caller names no limit.
inline constexpr std::uint64_t kDefaultStepLimit = 1000000;

struct RunLoopResult {
    StepOutcome outcome;        // Stopped, RunTimeError, SystemError, StepLimit or EndlessLoop
    std::int32_t loopLine = 0;  // EndlessLoop: the lowest line (from 1) of the repeating cycle
};

// Counts every executed instruction, a failing one included, in machine.StepCount and stops
// before a step that would take it beyond maxSteps. INP asks `dialog` as VM_Step does (a rejected
// text shown through `prompts`). Neither stops the run (VM_Running) nor shows anything: the caller
// acts on the result. `trace`, when given, hears every executed step, the failing one included.
RunLoopResult runLoop(MachineState& machine, DataTable& table, StateFlags& flags,
                      NumberInput& input, NumberInputView& dialog, PromptView& prompts,
                      std::uint64_t maxSteps, bool detectLoops, TraceSink* trace = nullptr);

// The same run in parts, for a caller that must not wait for it whole: it stops before a step
// beyond `pauseAt` (a StepCount below maxSteps) with StepEnd::Continued, and goes on where it
// stopped when called again with the same `loops`, which remembers the states seen so far
// (null: loops are not watched). A run in parts ends exactly as the run in one piece.
RunLoopResult runLoopPart(MachineState& machine, DataTable& table, StateFlags& flags,
                          NumberInput& input, NumberInputView& dialog, PromptView& prompts,
                          std::uint64_t maxSteps, std::uint64_t pauseAt, LoopDetector* loops,
                          TraceSink* trace = nullptr);

// The lowest line (from 1) of the cycle the machine is in, right after `detector` found its
// state repeated: the cycle is run once more without any display and without opening the
// number dialog, which leaves registers, cells and counters as they were.
// What a run found in an endless loop says, in the window's box and after "Quarzel 3: " in
// the headless tools: "Endlosschleife ab Zeile N erkannt."
std::string endlessLoopText(std::int32_t loopLine);

std::int32_t lowestCycleLine(MachineState& machine, DataTable& table, StateFlags& flags,
                             NumberInput& input, LoopDetector& detector);

}  // namespace quarzel
