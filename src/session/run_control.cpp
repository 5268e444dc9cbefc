#include "session/run_control.h"

#include "checker/check_data.h"
#include "checker/check_program.h"
#include "common/central_handler.h"
#include "common/views.h"
#include "common/win1252.h"
#include "machine/executor.h"
#include "machine/machine_snapshot.h"
#include "machine/number_input.h"
#include "machine/run_loop.h"
#include "machine/step_journal.h"
#include "model/data_table.h"
#include "model/machine_state.h"
#include "model/state_flags.h"

namespace quarzel {

RunControl::RunControl(MachineState& machine, StateFlags& flags, DataTable& table,
                       const OpcodeList& opcodes, Executor& executor, StepJournal& journal,
                       NumberInput& input, const Views& views)
    : m_machine(machine),
      m_flags(flags),
      m_table(table),
      m_opcodes(opcodes),
      m_executor(executor),
      m_journal(journal),
      m_input(input),
      m_views(views) {}

void RunControl::VM_Start() {
    if (!m_flags.ProgramChecked || !m_flags.DataChecked) {
        return;
    }
    // The memory is left alone: a second run works on what the first one left.
    m_machine.VM_IP = 0;
    m_machine.VM_SP = kEmptyStack;
    m_machine.VM_Accu = 0;
    m_machine.VM_Index = 0;
    m_machine.VM_Window = 0;
    m_machine.StepCount = 0;
    m_journal.clear();
    m_journalEdits = m_flags.Edits;
    m_machine.VM_Running = true;
    m_executor.VM_Print();
    showRunState();
}

void RunControl::VM_Stop() {
    // Also called by New, Load and closing when no run is active; then it changes nothing.
    const bool ended = m_machine.VM_Running;
    m_machine.VM_Running = false;
    showRunState();
    if (ended && onRunEnded) {
        onRunEnded();
    }
}

void RunControl::showRunState() {
    const bool running = m_machine.VM_Running;
    const bool stepping = m_machine.RunMode == Speed::Step;
    if (running != m_shown.running) {
        m_shown.running = running;
        // During a run the editor can still be scrolled and its text selected and copied; the
        // machine goes on scrolling the table.
        m_views.editor.setReadOnly(running);
        m_views.grid.setInputEnabled(!running);
        m_views.runPanel.setRunCaption(running ? "Stop" : "Start");
    }
    if (stepping != m_shown.stepping) {
        m_shown.stepping = stepping;
        m_views.runPanel.setStepEnabled(stepping);
    }
    const int currentLine = running ? m_machine.VM_IP : -1;
    if (currentLine != m_shown.currentLine) {
        m_shown.currentLine = currentLine;
        m_views.editor.showCurrentLine(currentLine);
    }
    m_views.runPanel.showStepCount(m_machine.StepCount);
    m_views.runPanel.setBackEnabled(stepping && canStepBack());
}

void RunControl::showWholeRunState() {
    m_shown = {!m_machine.VM_Running, m_machine.RunMode != Speed::Step, -2};
    showRunState();
}

void RunControl::VM_ChangeRunMode(std::int32_t mode) {
    if (mode < static_cast<std::int32_t>(Speed::Step) ||
        mode > static_cast<std::int32_t>(Speed::Direct)) {
        return;
    }
    const auto speed = static_cast<Speed>(mode);
    m_machine.RunMode = speed;
    RunPanelView& panel = m_views.runPanel;
    panel.setTimerEnabled(RunTimer::Slow, speed == Speed::Slow);
    panel.setTimerEnabled(RunTimer::Fast, speed == Speed::Fast);
    panel.setTimerEnabled(RunTimer::Direct, speed == Speed::Direct);
    showRunState();
}

StepOutcome RunControl::VM_Step() {
    m_journal.begin(snapshotOf(m_machine, m_input, m_views.numberInput));
    const StepOutcome outcome = m_executor.execute();
    m_journal.end();
    ++m_machine.StepCount;
    if (outcome.end == StepEnd::Continued) {
        m_executor.VM_Print();
    } else {
        finishRun(outcome);
    }
    showRunState();
    return outcome;
}

void RunControl::finishRun(const StepOutcome& outcome) {
    switch (outcome.end) {
        case StepEnd::Stopped:
            VM_Stop();
            m_executor.VM_Print();
            break;
        case StepEnd::RunTimeError:
            // Stop first, so that timer ticks arriving while the box is open find no run.
            VM_Stop();
            m_views.prompts.showMessage(outcome.message, "Laufzeitfehler", MessageIcon::Error);
            break;
        case StepEnd::SystemError:
            // The central handler's box; the run stops so the error does not repeat at every
            // tick.
            VM_Stop();
            showSystemError(m_views.prompts, SystemError(outcome.message));
            break;
        case StepEnd::StepLimit:
        case StepEnd::EndlessLoop:
            VM_Stop();
            break;
        case StepEnd::Continued:
            break;
    }
}

void RunControl::VM_StepBack() {
    if (!canStepBack()) {
        return;
    }
    JournalEntry entry = m_journal.takeLast();
    restoreSnapshot(entry.before, m_machine, m_input);
    if (entry.writtenRow >= 0) {
        m_table.restore(entry.writtenRow, std::move(entry.cell));
        m_flags.DataModified = true;  // the table differs from what was last saved
        m_views.grid.showRowAtTop(entry.writtenRow);
    }
    // A run that had ended (STP, an error, "Stop") is in progress again, paused on the line
    // taken back.
    m_machine.VM_Running = true;
    m_executor.VM_Print();
    m_views.picture.repaintNow();
    showRunState();
}

bool RunControl::canStepBack() const {
    // What the journal recorded still fits as long as neither the program nor the data was
    // changed since the run began (an edit, New or Load).
    return !m_journal.empty() && m_flags.Edits == m_journalEdits;
}

void RunControl::forgetSteps() {
    m_journal.clear();
    showRunState();
}

RunLoopResult RunControl::runHeadless(const HeadlessLimits& limits) {
    if (!m_machine.VM_Running) {
        return {};
    }
    m_journal.clear();  // the headless loop keeps no journal
    // Nobody watches the table cell by cell: the grid hears of the whole table afterwards.
    DataGridView* grid = nullptr;
    RunLoopResult run;
    {
        const GridDetached quiet(m_table);
        grid = quiet.grid();
        run = runLoop(m_machine, m_table, m_flags, m_input, m_views.numberInput, m_views.prompts,
                      limits.maxSteps, limits.detectLoops);
    }
    for (int row = 0; grid != nullptr && row < DataTable::kRowCount; ++row) {
        grid->rowChanged(row);
    }
    finishRun(run.outcome);
    return run;
}

void RunControl::btRunClick() {
    // One action per press.
    if (m_machine.VM_Running) {
        VM_Stop();
        return;
    }
    if (!m_flags.ProgramChecked) {
        m_views.prompts.showMessage(fromUtf8("Programm wird geprüft"), "Hinweis",
                                    MessageIcon::Information);
        m_flags.ProgramChecked = checkProgram();
        return;
    }
    if (!m_flags.DataChecked) {
        m_views.prompts.showMessage(fromUtf8("Daten werden geprüft"), "Hinweis",
                                    MessageIcon::Information);
        m_flags.DataChecked = CheckData(m_table, m_views.prompts);
        return;
    }
    VM_Start();
    m_machine.LastAccessCell = 0;
    m_views.picture.repaintNow();
}

void RunControl::btStepClick() {
    stepIfRunning();
}

void RunControl::btCheckClick() {
    // A conversion error raised by the program check ends the whole action here: the data
    // check is skipped and both flags keep their values.
    m_flags.ProgramChecked = checkProgram();
    m_flags.DataChecked = CheckData(m_table, m_views.prompts);
}

void RunControl::rbStepClick() {
    VM_ChangeRunMode(static_cast<std::int32_t>(Speed::Step));
}
void RunControl::rbSlowClick() {
    VM_ChangeRunMode(static_cast<std::int32_t>(Speed::Slow));
}
void RunControl::rbFastClick() {
    VM_ChangeRunMode(static_cast<std::int32_t>(Speed::Fast));
}
void RunControl::rbDirectClick() {
    VM_ChangeRunMode(static_cast<std::int32_t>(Speed::Direct));
}

void RunControl::tSlowTimer() {
    stepIfRunning();
}
void RunControl::tFastTimer() {
    stepIfRunning();
}
void RunControl::tDirectTimer() {
    stepIfRunning();
}

void RunControl::stepIfRunning() {
    // Ticks keep coming while the number dialog is open and after the run has ended; only a
    // run in progress that waits for nothing takes a step.
    if (m_machine.VM_Running && !m_machine.InputPending) {
        VM_Step();
    }
}

bool RunControl::checkProgram() {
    return CheckProgram(m_views.editor, m_views.prompts, m_opcodes, m_machine.InstructionList);
}

}  // namespace quarzel
