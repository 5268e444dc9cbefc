// What the step journal tells about the run and how the run moves through it: the protocol's
// rows, "Verlauf" back (every cell put back) and forward (the recorded steps run again, INP
// taking the number typed then), and where the run last stood before a marked line.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "machine/step_journal.h"
#include "machine/step_outcome.h"
#include "model/trace_row.h"

namespace quarzel {

class DataTable;
struct MachineState;
struct NumberInput;
struct StateFlags;

// The steps of a journal, by their numbers ("Schritt", from 1).
struct StepSpan {
    std::uint64_t first = 1;
    std::uint64_t last = 0;  // first > last: none

    bool empty() const { return first > last; }
};

// The steps taken that the journal holds (those taken back not included).
StepSpan takenSteps(const StepJournal& journal);

// The protocol's row of step `step`, which must lie in takenSteps(journal); `machine` is where
// the run stands now, the state after the last step taken.
TraceRow traceRowOf(const StepJournal& journal, const MachineState& machine, std::uint64_t step);

// How a move through the journal went: the rows whose cells changed, and for a replay that
// ended the run the outcome of its last step (Continued otherwise).
struct HistoryMove {
    std::vector<int> changedRows;
    StepOutcome lastOutcome;
};

// Takes the steps back to the state after step `target` (at least the journal's oldest state):
// registers, cells, last-access marks, step count and InputValue as they were then.
HistoryMove moveBack(StepJournal& journal, MachineState& machine, DataTable& table,
                     NumberInput& input, std::uint64_t target);

// Runs the steps taken back again, up to the state after step `target` (at most the newest
// recorded): each INP takes the number typed then, or finds its dialog closed as it was then;
// nothing is asked or shown. A step that ends the run ends the replay.
HistoryMove replayForward(StepJournal& journal, MachineState& machine, DataTable& table,
                          StateFlags& flags, NumberInput& input, std::uint64_t target);

// The step count at which the run last stood before a line for which `marked` is true, before
// where it stands now; nothing when it never did within the journal.
std::optional<std::uint64_t> lastStandBefore(const StepJournal& journal,
                                             const std::function<bool(std::int32_t)>& marked);

}  // namespace quarzel
