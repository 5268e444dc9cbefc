// Watching a run at a timed speed for an endless loop, with the same exact detector as the
// headless tools: the memory tells it every write, the session looks after each timed step.
#pragma once

#include <cstdint>
#include <optional>

#include "machine/loop_detector.h"

namespace quarzel {

class Memory;
class NumberInputView;
class DataTable;
struct MachineState;
struct NumberInput;
struct StateFlags;

class LoopWatch {
  public:
    LoopWatch(MachineState& machine, DataTable& table, StateFlags& flags, NumberInput& input,
              NumberInputView& dialog, Memory& memory);
    LoopWatch(const LoopWatch&) = delete;
    LoopWatch& operator=(const LoopWatch&) = delete;
    ~LoopWatch();

    // Before a timed step of a run in progress: watches from the state now on, unless this
    // run has reported its loop already. False when there is nothing to look at afterwards.
    bool beforeStep();
    // After that step: the lowest line (from 1) of the cycle the run has entered, once.
    std::optional<std::int32_t> afterStep();
    // Single steps, a step back or a new speed: the detector's picture of the past is gone and
    // a later timed step starts it afresh.
    void forget();
    // A new run may report its own loop again.
    void newRun();

  private:
    MachineState& m_machine;
    DataTable& m_table;
    StateFlags& m_flags;
    NumberInput& m_input;
    NumberInputView& m_dialog;
    Memory& m_memory;
    std::optional<LoopDetector> m_detector;
    bool m_reported = false;
    std::int32_t m_lineBefore = 0;
};

}  // namespace quarzel
