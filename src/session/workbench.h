// The one object that holds the whole state of a Quarzel session (registers, memory table,
// flags, checked program) and the one door every front end goes through: the window, the
// browser page and the headless tools turn what the user does into these calls and draw what
// the views are told, nothing more. Whatever a front end needs to decide (may this be typed?
// is there unsaved work?) is asked here too. The main window owns one; every headless run owns
// its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "common/central_handler.h"
#include "common/system_error.h"
#include "common/views.h"
#include "common/win1252.h"
#include "machine/executor.h"
#include "machine/memory.h"
#include "machine/number_input.h"
#include "machine/step_journal.h"
#include "model/data_table.h"
#include "model/instruction_set.h"
#include "model/machine_state.h"
#include "model/state_flags.h"
#include "session/file_commands.h"
#include "session/html_export.h"
#include "session/kept_work.h"
#include "session/loop_watch.h"
#include "session/run_control.h"

namespace quarzel {

// The two forms "Exportieren" writes the protocol in.
enum class TraceFormat { Csv, Html };

class Workbench {
  public:
    // The state of a fresh start: table filled, flags false, empty instruction list, Step.
    explicit Workbench(const Views& views);
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // Shows the state of a fresh start on every view, whatever they showed before: the empty
    // editor open for typing, every row of the table, the registers (the stack field at 512,
    // as before any run), "Start", "Schritte: 0", the speed "Schritt" with its step button, no
    // timer, nothing to take back, the picture.
    void showFreshStart();

    // The user's commands. Each runs inside the central handler: a system error is shown in
    // the box "Quarzel 3", any other exception, a fault of the program itself, as
    // "Interner Fehler: ..." rather than ending the program with the learner's work; nothing
    // escapes. Those that return bool say whether they ended without an error.
    void btCheckClick();
    bool btRunClick();
    void btStepClick();
    void btBackClick();
    void speedClick(Speed speed);  // the four radio buttons
    // A tick of the timer of the selected speed. A run about to execute a line with a
    // breakpoint switches to "Schritt" instead, as a click on that radio button would. A run
    // that comes back to a state it was in before switches to "Schritt" after the step and
    // says so: "Endlosschleife ab Zeile N erkannt.", N the lowest line of the cycle; once per
    // run.
    void timerTick(RunTimer timer);
    // "Verlauf": moves the run to the state after step `step` (a step count, within
    // historyRange(); outside it, to its nearest end). Back is "Zurück" to that step; forward
    // runs the recorded steps again, each INP taking the number typed then without asking. Only
    // at the speed "Schritt", with no number dialog open: otherwise nothing happens.
    void historyMove(std::uint64_t step);
    // "Zurück bis Haltepunkt": back to the last time the run stood before a marked line that
    // holds an instruction (the breakpoints' rule); a note says so when it never did within
    // the steps the journal holds.
    void btBackToBreakpointClick();
    // "Exportieren" in the protocol: the save dialog for `format`, then the protocol's rows as
    // a CSV file (UTF-8 with a byte-order mark, ";" between fields) or an HTML page.
    void btTraceExportClick(TraceFormat format);
    void btNewClick();
    void btLoadClick();
    void btSaveClick();
    void btHTMLClick(const std::string& date);  // today's date in the user's short format
    // "Beispiele": the built-in example `index` (of builtInExamples(), files/built_in_examples.h)
    // is loaded as "Laden" loads a program and its data file, without the load questions and
    // the file dialogs: modified work is offered for saving first (both questions, as Load asks
    // them); then a run in progress ends, the program and its data replace the editor's text
    // and the table (an example without a data file brings the empty table, as it is run
    // without one), the journal is forgotten, and both are unchecked and unmodified. A save
    // that fails ends the command with nothing replaced.
    void loadExample(int index);
    // "Ausprobieren" (a small program of the primer): `program` goes into the editor as "Neu"
    // clears it, without the question "Neues Programm?": a run in progress ends, a modified
    // program is offered for saving, and the text replaces the editor's, unchecked and
    // unmodified, with nothing for "Zurück". The table stays as it is. A text the editor would
    // not take from a file is refused as a file is ("Text überschreitet Memo-Kapazität"),
    // before anything else.
    void tryProgram(const std::string& program);
    // A task's case goes into the table as its starting memory: modified data is offered for
    // saving first (as Load offers it), a run in progress ends, and the table is replaced
    // with the flags as after loading data. False when a save failed: the table is as it was.
    bool takeOverData(const DataTable& start);

    // What the user typed. After every change of the editor's text, whoever made it:
    void programChanged();
    // Each keystroke in a cell's editor, before it is committed: the data must be checked
    // again, whatever text the edit ends with. Nothing while a run is in progress.
    void cellTyped(int column, int row, const std::string& text);
    // A cell editor's text committed into the table. False when nothing changed: the text was
    // the cell's own, the column is the number column, or a run is in progress.
    bool cellEdited(int column, int row, const std::string& text);
    // Breakpoints ("Haltepunkte") on the line `line`: a mark that the editor keeps with its
    // line's text. A run at a timed speed pauses before a marked line that holds an
    // instruction.
    void toggleBreakpoint(int line);

    // Before a front end lets a typed or pasted text in. Whether the editor takes a program
    // text of `bytes` bytes (line breaks as CR LF) in `lineBreaks` line breaks, the rule that
    // also refuses a program file; when not, says "Text überschreitet Memo-Kapazität." and the
    // text must not go in.
    bool acceptProgramSize(std::size_t bytes, std::size_t lineBreaks);
    // Whether every character of `utf8` can be saved in a program or data file (Windows-1252);
    // when not, a short note names the first one that cannot, and the text must not go in.
    bool acceptTypedText(const std::string& utf8);

    // The main window is being closed: the save questions for what was modified. False when a
    // save failed (the window stays open, the run goes on); true when it may close: the run and
    // its timers have ended and nothing is left that a run could execute.
    bool closeRequested();
    // After a close: whether a part of the work was neither saved nor declined (its file
    // dialog was cancelled), so that a copy kept outside the files must stay.
    bool closedWithWorkLeft() const { return m_closedWithWorkLeft; }
    // The window is shown again after a close: the timer of the selected speed runs again.
    void reopened();

    // Work kept outside the files, so that a crash or a closed browser loses nothing: the
    // program and the table as one record. Restoring puts back both as loading would, with
    // both counted as unsaved, and says so in a note; a damaged record changes nothing and the
    // note says why (the front end keeps such a record aside).
    std::string keptWork() const;
    KeptWorkRestore restoreKeptWork(const std::string& record);

    // A run without any display per step, for the headless tools (RunControl::runHeadless);
    // errors are thrown to the caller, which shows them.
    RunLoopResult runHeadless(const RunControl::HeadlessLimits& limits);
    // The same in parts (RunControl::runHeadlessPart).
    RunLoopResult runHeadlessPart(const RunControl::HeadlessLimits& limits, std::uint64_t pauseAt);

    // What the views read.
    bool hasUnsavedWork() const { return m_flags.ProgramModified || m_flags.DataModified; }
    const StateFlags& flags() const { return m_flags; }
    const DataTable& table() const { return m_table; }
    const MachineState& machine() const { return m_machine; }
    const NumberInput& input() const { return m_input; }
    std::string programText() const { return m_views.editor.text(); }
    bool canStepBack() const { return m_runControl.canStepBack(); }

    // "Was geschah": the German sentence of the step taken last (Windows-1252), e.g.
    // "Zeile 5: ADD 11 — Akku 5 + Zelle 11 (7) = 12"; after "Prüfen" found an error, the hint
    // for its kind ("Tipp: ..."); empty when there is neither. Made when asked: a front end
    // asks after RunPanelView::sentenceChanged(), when it draws.
    std::string stepSentence() const { return m_runControl.stepSentence(); }
    // The protocol ("Ablaufprotokoll"): the steps whose rows it holds (numbered from 1, the
    // last 100 000 of the run at most, up to where the run stands), and the texts of one row
    // (Windows-1252), in the order of traceColumns().
    StepSpan traceSpan() const { return m_runControl.traceSpan(); }
    TraceTexts traceRow(std::uint64_t step) const { return m_runControl.traceRow(step); }
    // "Verlauf": the slider's range and position, as RunPanelView::showHistory tells it.
    HistoryRange historyRange() const { return m_runControl.historyRange(); }

    // Runs a front end's own handler inside the same central handler as the commands; false
    // when it ended in an error, which has then been shown.
    template <typename Handler>
    bool guard(Handler&& handler);

  private:
    // Tests, benchmarks and fuzzers set up and inspect the parts directly; no front end does.
    friend class WorkbenchInternals;

    bool stopsAt(int line) const;
    // A timed run switches to "Schritt" (a breakpoint, an endless loop).
    void pauseRun();

    const Views m_views;
    const OpcodeList m_opcodes;
    StateFlags m_flags;
    DataTable m_table;
    MachineState m_machine;
    NumberInput m_input;
    StepJournal m_journal;
    Memory m_memory;
    Executor m_executor;
    RunControl m_runControl;
    FileCommands m_files;
    HtmlExport m_html;
    LoopWatch m_loopWatch;

    // The step count at which a timed run may execute a marked line without pausing: where a
    // breakpoint paused it, or where the learner chose a timed speed while looking at the line.
    // Without it the run would pause at the same line again at the very next tick.
    std::optional<std::uint64_t> m_passBreakpointAt;
    bool m_closed = false;
    bool m_closedWithWorkLeft = false;
};

template <typename Handler>
bool Workbench::guard(Handler&& handler) {
    return guarded(m_views.prompts, [&] {
        try {
            handler();
        } catch (const SystemError&) {
            throw;
        } catch (const std::exception& error) {
            // A fault of the program itself: reported like the system's own errors rather
            // than ending the program with the learner's unsaved work.
            throw SystemError(fromUtf8("Interner Fehler: ") + fromUtf8(error.what()));
        } catch (...) {
            throw SystemError(fromUtf8("Interner Fehler: unbekannte Ausnahme"));
        }
    });
}

}  // namespace quarzel
