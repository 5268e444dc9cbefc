// The one object that holds the whole state of a Quarzel session (registers, memory table,
// flags, checked program) and the one facade every front end calls: the window, the browser
// page and the headless tools turn what the user does into these calls and nothing more. The
// main window owns one; every headless run owns its own.
#pragma once

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
#include "session/loop_watch.h"
#include "session/run_control.h"

namespace quarzel {

class Workbench {
  public:
    // The state of a fresh start: table filled, flags false, empty instruction list, Step.
    explicit Workbench(const Views& views);
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // The user's commands. Each runs inside the central handler: a system error is shown in
    // the box "Quarzel 3", any other exception, a fault of the program itself, as
    // "Interner Fehler: ..." rather than ending the program with the learner's work; nothing
    // escapes.
    void btCheckClick();
    void btRunClick();
    void btStepClick();
    void btBackClick();
    void speedClick(Speed speed);  // the four radio buttons
    // A tick of the timer of the selected speed. A run about to execute a line with a
    // breakpoint switches to "Schritt" instead, as a click on that radio button would. A run
    // that comes back to a state it was in before switches to "Schritt" after the step and
    // says so: "Endlosschleife ab Zeile N erkannt.", N the lowest line of the cycle; once per
    // run.
    void timerTick(RunTimer timer);
    void btNewClick();
    void btLoadClick();
    void btSaveClick();
    void btHTMLClick(const std::string& date);  // today's date in the user's short format
    // A task's case goes into the table as its starting memory: modified data is offered for
    // saving first (as Load offers it), a run in progress ends, and the table is replaced
    // with the flags as after loading data. False when a save failed: the table is as it was.
    bool takeOverData(const DataTable& start);

    // What the user typed. After every change of the editor's text, whoever made it:
    void programChanged();
    // Each keystroke in a cell's editor, before it is committed: the data must be checked
    // again, whatever text the edit ends with.
    void cellTyped(int column, int row, const std::string& text);
    // A cell editor's text committed into the table. False when nothing changed: the text was
    // the cell's own, the column is the number column, or a run is in progress.
    bool cellEdited(int column, int row, const std::string& text);
    // Breakpoints ("Haltepunkte") on the line `line`: a mark that the editor keeps with its
    // line's text. A run at a timed speed pauses before a marked line that holds an
    // instruction.
    void toggleBreakpoint(int line);

    // The main window is being closed: the save questions for what was modified. False when a
    // save failed (the window stays open, the run goes on); true when it may close: the run and
    // its timers have ended and nothing is left that a run could execute.
    bool closeRequested();
    // The window is shown again after a close: the timer of the selected speed runs again.
    void reopened();

    const Views views;
    const OpcodeList opcodes;
    StateFlags flags;
    DataTable table;
    MachineState machine;
    NumberInput input;
    StepJournal journal;
    Memory memory;
    Executor executor;
    RunControl runControl;
    FileCommands files;
    HtmlExport html;
    LoopWatch loopWatch;

    // Runs a front end's own handler inside the same central handler as the commands; false
    // when it ended in an error, which has then been shown.
    template <typename Handler>
    bool guard(Handler&& handler);

  private:
    bool stopsAt(int line) const;
    // A timed run switches to "Schritt" (a breakpoint, an endless loop).
    void pauseRun();

    // The step count at which a timed run may execute a marked line without pausing: where a
    // breakpoint paused it, or where the learner chose a timed speed while looking at the line.
    // Without it the run would pause at the same line again at the very next tick.
    std::optional<std::uint64_t> m_passBreakpointAt;
    bool m_closed = false;
};

template <typename Handler>
bool Workbench::guard(Handler&& handler) {
    return guarded(views.prompts, [&] {
        try {
            handler();
        } catch (const SystemError&) {
            throw;
        } catch (const std::exception& error) {
            // A fault of the program itself: reported like the system's own errors rather
            // than ending the program with the learner's unsaved work.
            throw SystemError(fromUtf8("Interner Fehler: ") + fromUtf8(error.what()));
        }
    });
}

}  // namespace quarzel
