#include "session/workbench.h"

#include "machine/run_loop.h"
#include "session/cell_edit.h"

namespace quarzel {

Workbench::Workbench(const Views& views)
    : views(views),
      memory(machine, table, flags, input, views.grid, views.picture, views.numberInput),
      executor(machine, memory, this->views),
      runControl(machine, flags, table, opcodes, executor, journal, input, this->views),
      files(flags, table, machine, runControl, this->views),
      html(views.editor, table, views.prompts),
      loopWatch(machine, table, flags, input, views.numberInput, memory) {
    table.attachGrid(&views.grid);
    memory.setJournal(&journal);
    views.editor.setChangeHandler([this] { programChanged(); });
    views.numberInput.attach(input);
}

void Workbench::btCheckClick() {
    guard([this] {
        runControl.btCheckClick();
        runControl.showRunState();
    });
}

void Workbench::btRunClick() {
    m_passBreakpointAt.reset();  // a new run pauses at every marked line again
    loopWatch.newRun();
    guard([this] { runControl.btRunClick(); });
}

void Workbench::btStepClick() {
    loopWatch.forget();  // single steps are the learner's own: nothing is watched
    guard([this] { runControl.btStepClick(); });
}

void Workbench::btBackClick() {
    loopWatch.forget();
    guard([this] { runControl.VM_StepBack(); });
}

void Workbench::speedClick(Speed speed) {
    loopWatch.forget();
    if (speed != Speed::Step) {
        // Choosing a timed speed while looking at a marked line goes on from that line.
        m_passBreakpointAt = machine.StepCount;
    }
    guard([this, speed] { runControl.VM_ChangeRunMode(static_cast<std::int32_t>(speed)); });
}

void Workbench::timerTick(RunTimer timer) {
    if (machine.VM_Running && !machine.InputPending && machine.RunMode != Speed::Step &&
        m_passBreakpointAt != machine.StepCount && stopsAt(machine.VM_IP)) {
        m_passBreakpointAt = machine.StepCount;
        pauseRun();
        return;
    }
    const bool watched = machine.VM_Running && !machine.InputPending &&
                         machine.RunMode != Speed::Step && loopWatch.beforeStep();
    guard([this, timer] {
        switch (timer) {
            case RunTimer::Slow:
                runControl.tSlowTimer();
                break;
            case RunTimer::Fast:
                runControl.tFastTimer();
                break;
            case RunTimer::Direct:
                runControl.tDirectTimer();
                break;
        }
    });
    if (!watched) {
        return;
    }
    std::optional<std::int32_t> loopLine;
    guard([this, &loopLine] { loopLine = loopWatch.afterStep(); });
    if (loopLine) {
        pauseRun();
        views.prompts.showMessage(endlessLoopText(*loopLine), kApplicationTitle,
                                  MessageIcon::Information);
    }
}

void Workbench::pauseRun() {
    loopWatch.forget();
    // Exactly a click on "Schritt": the timers stop and the step buttons are enabled; the run
    // stays in progress where it is.
    guard([this] { runControl.rbStepClick(); });
    views.runPanel.showSpeed(Speed::Step);
}

bool Workbench::takeOverData(const DataTable& start) {
    loopWatch.forget();
    return guard([this, &start] {
        files.takeOverData(start);
        runControl.showRunState();
    });
}

void Workbench::btNewClick() {
    guard([this] {
        files.btNewClick();
        runControl.showRunState();
    });
}

void Workbench::btLoadClick() {
    guard([this] {
        files.btLoadClick();
        runControl.showRunState();
    });
}

void Workbench::btSaveClick() {
    guard([this] {
        files.btSaveClick();
        runControl.showRunState();
    });
}

void Workbench::btHTMLClick(const std::string& date) {
    guard([this, &date] { html.btHTMLClick(date); });
}

void Workbench::programChanged() {
    flags.meProgramChange();
    // An edit ends what "Zurück" may take back.
    runControl.showRunState();
}

void Workbench::cellTyped(int column, int row, const std::string& text) {
    flags.sgDataSetEditText(column, row, text);
    runControl.showRunState();
}

bool Workbench::cellEdited(int column, int row, const std::string& text) {
    // While a run is in progress the machine writes the table, the user does not.
    if (machine.VM_Running || !commitCellEdit(table, flags, column, row, text)) {
        return false;
    }
    runControl.showRunState();
    return true;
}

void Workbench::toggleBreakpoint(int line) {
    if (line >= 0 && line < views.editor.lineCount()) {
        views.editor.setBreakpoint(line, !views.editor.hasBreakpoint(line));
    }
}

bool Workbench::stopsAt(int line) const {
    if (line < 0 || line >= views.editor.lineCount() || !views.editor.hasBreakpoint(line)) {
        return false;
    }
    // As the checker reads a line: tabs do not count, "*" starts a comment. A mark on an empty
    // line or a comment never stops a run.
    const std::string text = views.editor.lineText(line);
    for (const char c : text) {
        if (c != '\t') {
            return c != '*';
        }
    }
    return false;
}

bool Workbench::closeRequested() {
    if (m_closed) {
        return true;
    }
    // A timed run goes on stepping while the save questions are open, as it does while any
    // other command's dialog is open; it ends only once the window really closes.
    const bool saved = guard([this] {
        if (flags.ProgramModified) {
            files.SaveProgram();
        }
        if (flags.DataModified) {
            files.SaveData();
        }
    });
    if (!saved) {
        // A save that failed keeps the window open, so the learner's work is not lost: the
        // error has been shown, the run and its timer go on and the next close asks again.
        return false;
    }
    // No step may run once the lists are released.
    for (const RunTimer timer : {RunTimer::Slow, RunTimer::Fast, RunTimer::Direct}) {
        views.runPanel.setTimerEnabled(timer, false);
    }
    if (machine.VM_Running) {
        guard([this] { runControl.VM_Stop(); });
        machine.VM_Running = false;
    }
    m_closed = true;
    machine.InstructionList.clear();
    machine.InstructionList.shrink_to_fit();
    flags.ProgramChecked = false;  // nothing is left that a run could execute
    return true;
}

void Workbench::reopened() {
    if (!m_closed) {
        return;
    }
    m_closed = false;
    guard([this] { runControl.VM_ChangeRunMode(static_cast<std::int32_t>(machine.RunMode)); });
}

}  // namespace quarzel
