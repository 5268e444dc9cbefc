// Run control: the check, start/stop and step buttons, the speed radio buttons and the three
// timers that turn a checked program into a run.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "checker/check_error.h"
#include "common/views.h"
#include "files/trace_table.h"
#include "machine/loop_detector.h"
#include "machine/run_loop.h"
#include "machine/step_outcome.h"
#include "session/step_history.h"

namespace quarzel {

class DataTable;
class Executor;
class OpcodeList;
class StepJournal;
struct MachineState;
struct NumberInput;
struct StateFlags;

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

    // "Was geschah": the sentence of the step taken last, while the journal holds it; after a
    // check that failed, the hint for its error ("Tipp: ..."); else empty. Windows-1252.
    std::string stepSentence() const;

    // The protocol: the steps taken of the run the journal holds, each a row, and the whole of
    // it as a file's bytes.
    StepSpan traceSpan() const;
    TraceTexts traceRow(std::uint64_t step) const;  // step within traceSpan()
    std::string traceCsv() const;
    std::string traceHtml() const;

    // "Verlauf": where the run can move in the journal, and moving there. Back is "Zurück" to
    // that step; forward runs the recorded steps again, INP taking the number typed then, up
    // to the newest step. Only at the speed "Schritt", with no number dialog open.
    HistoryRange historyRange() const;
    void historyMove(std::uint64_t step);
    // The step count at which the run last stood before a line `marked` says yes to.
    std::optional<std::uint64_t> lastStandBefore(
        const std::function<bool(std::int32_t)>& marked) const;

    // A run without any display per step, for the headless tools: steps from VM_IP until
    // STP, an error, `maxSteps` steps of this run (StepCount) or, with detectLoops, a state
    // that repeats. STP and the errors end exactly as VM_Step ends them (VM_Stop, VM_Print,
    // the boxes); a step limit or an endless loop stops the run (VM_Stop) and shows nothing.
    struct HeadlessLimits {
        std::uint64_t maxSteps = kDefaultStepLimit;
        bool detectLoops = false;
        TraceSink* trace = nullptr;  // hears every executed step
    };
    RunLoopResult runHeadless(const HeadlessLimits& limits);
    // The same run in parts: stops before a step beyond `pauseAt` (StepCount) with
    // StepEnd::Continued and the run still going; the next call goes on with it.
    RunLoopResult runHeadlessPart(const HeadlessLimits& limits, std::uint64_t pauseAt);

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
    bool checkData();
    // The journal holds steps of this run, and neither the program nor the data was changed
    // since it began.
    bool journalHoldsRun() const;
    // The sentence line, the protocol's rows and the history's range, as showRunState tells
    // them.
    void showRunReport();
    std::string lineText(std::int32_t line) const;
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
    std::uint64_t m_journalEdits = 0;            // StateFlags::Edits when the journal's run started
    CheckError m_checkError = CheckError::None;  // of the last check, until a run starts
    std::uint64_t m_runs = 0;                    // counts the journal's runs (VM_Start, New, Load)
    // A headless run paused between its parts: the run (m_runs) and the states it has seen.
    std::optional<std::uint64_t> m_pausedRun;
    std::optional<LoopDetector> m_pausedLoops;
    std::uint64_t m_changes = 0;  // counts what changes the sentence: steps, moves, checks
    // What decides the sentence line's text.
    struct SentenceSource {
        CheckError error = CheckError::None;
        bool stepHeld = false;
        std::uint64_t changes = 0;
        bool operator!=(const SentenceSource& o) const {
            return error != o.error || stepHeld != o.stepHeld || changes != o.changes;
        }
    };
    // What the views show now; the window starts idle at the speed "Schritt".
    struct ShownRunState {
        bool running = false;
        bool stepping = true;
        int currentLine = -1;
        SentenceSource sentence;
        std::uint64_t traceRun = 0;
        StepSpan trace;
        HistoryRange history;
    } m_shown;
};

}  // namespace quarzel
