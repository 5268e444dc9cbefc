// Run control: the check, start/stop and step buttons, the speed radio buttons and the three
// timers that turn a checked program into a run.
#pragma once

#include <cstdint>
#include <functional>

#include "machine/run_loop.h"
#include "machine/step_outcome.h"

namespace quarzel {

class DataTable;
class Executor;
class OpcodeList;
class StepJournal;
struct MachineState;
struct NumberInput;
struct StateFlags;
struct Views;

class RunControl {
  public:
    RunControl(MachineState& machine, StateFlags& flags, DataTable& table,
               const OpcodeList& opcodes, Executor& executor, StepJournal& journal,
               NumberInput& input, const Views& views);

    // Resets the registers and locks the editor and the table; only with both flags set.
    void VM_Start();
    // Ends a run and unlocks the editor and the table. Safe to call when no run is active.
    void VM_Stop();
    void VM_ChangeRunMode(std::int32_t mode);  // 0..3; any other value changes nothing

    // One step of the run as the window shows it: the instruction at VM_IP, then VM_Print;
    // STP stops the run and then prints; a run-time error stops the run and shows the
    // "Laufzeitfehler" box; a system error (overflow, an unreadable cell) stops the run and
    // shows the central handler's box, so that it does not repeat at every tick. VM_IP stays
    // on a failing line and VM_Print is not called then.
    StepOutcome VM_Step();

    // Undoes the last step of the journal: registers, the cell it wrote, the last-access
    // marks, the step count and InputValue are exactly what they were before it; the editor
    // and the table scroll as after a step, the picture repaints. A run that had ended (STP,
    // an error, "Stop") is in progress again, paused. Does nothing when canStepBack() is false.
    void VM_StepBack();
    // The journal holds a step of the current run, and neither the program nor the data was
    // changed since that run began (no edit, nothing cleared by New, nothing loaded). The check
    // flags do not decide it: a Load whose questions were all declined changed nothing.
    bool canStepBack() const;
    // Shows the run's state on the screen, derived from it alone: the start button's caption
    // ("Start" / "Stop"), the editor read-only and the table closed to input while a run is in
    // progress, the step button at the speed "Schritt", the line the run executes next, the
    // step count and whether "Zurück" can be pressed. Run control calls it after everything it
    // does; the session after every edit of the program or the table. Only what changed reaches the
    // views.
    void showRunState();
    // showRunState with every part told to the views, whatever they showed before (views that
    // showed another session, as the page's after "Ende").
    void showWholeRunState();
    // New and Load, when they replace the program or the data, replace what the journal
    // recorded.
    void forgetSteps();

    // A run without any display per step, for the headless tools: steps from VM_IP until
    // STP, an error, `maxSteps` steps of this run (StepCount) or, with detectLoops, a state
    // that repeats. STP and the errors end exactly as VM_Step ends them (VM_Stop, VM_Print,
    // the boxes); a step limit or an endless loop stops the run (VM_Stop) and shows nothing.
    struct HeadlessLimits {
        std::uint64_t maxSteps = kDefaultStepLimit;
        bool detectLoops = false;
    };
    RunLoopResult runHeadless(const HeadlessLimits& limits);

    // Called when a run has ended, after the screen shows it (a save during the run has work
    // left to do then).
    std::function<void()> onRunEnded;

    void btRunClick();
    void btStepClick();
    void btCheckClick();
    void rbStepClick();
    void rbSlowClick();
    void rbFastClick();
    void rbDirectClick();
    void tSlowTimer();
    void tFastTimer();
    void tDirectTimer();

  private:
    void stepIfRunning();
    bool checkProgram();
    // Ends a run the way a step ends it: STP prints, the errors show their boxes.
    void finishRun(const StepOutcome& outcome);

    MachineState& m_machine;
    StateFlags& m_flags;
    DataTable& m_table;
    const OpcodeList& m_opcodes;
    Executor& m_executor;
    StepJournal& m_journal;
    NumberInput& m_input;
    const Views& m_views;
    std::uint64_t m_journalEdits = 0;  // StateFlags::Edits when the journal's run started
    // What the views show now; the window starts idle at the speed "Schritt".
    struct ShownRunState {
        bool running = false;
        bool stepping = true;
        int currentLine = -1;
    } m_shown;
};

}  // namespace quarzel
