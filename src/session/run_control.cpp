#include "session/run_control.h"

#include <algorithm>
#include <vector>

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
#include "machine/step_sentence.h"
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
    ++m_runs;
    ++m_changes;
    m_checkError = CheckError::None;
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
    showRunReport();
}

void RunControl::showRunReport() {
    RunPanelView& panel = m_views.runPanel;
    const SentenceSource sentence{m_checkError, journalHoldsRun() && m_journal.position() > 0,
                                  m_changes};
    if (sentence != m_shown.sentence) {
        m_shown.sentence = sentence;
        panel.sentenceChanged();
    }

    // The protocol's rows: the oldest go as the journal forgets them, the newest follow the
    // steps and "Zurück"; a new run or an edit takes them all.
    const StepSpan now = journalHoldsRun() ? takenSteps(m_journal) : StepSpan{};
    StepSpan& shown = m_shown.trace;
    if (!shown.empty() && (m_shown.traceRun != m_runs || now.empty() || now.last < shown.first ||
                           now.first > shown.last || now.first < shown.first)) {
        panel.traceRowsRemoved(shown.first, shown.last);
        shown = {};
    }
    m_shown.traceRun = m_runs;
    if (!shown.empty()) {
        if (shown.last > now.last) {
            panel.traceRowsRemoved(now.last + 1, shown.last);
            shown.last = now.last;
        }
        if (now.first > shown.first) {
            panel.traceRowsRemoved(shown.first, now.first - 1);
            shown.first = now.first;
        }
    }
    if (shown.empty() && !now.empty()) {
        panel.traceRowsAdded(now.first, now.last);
        shown = now;
    } else if (now.last > shown.last) {
        panel.traceRowsAdded(shown.last + 1, now.last);
        shown.last = now.last;
    }

    const HistoryRange history = historyRange();
    if (history != m_shown.history) {
        m_shown.history = history;
        panel.showHistory(history);
    }
}

void RunControl::showWholeRunState() {
    m_shown = ShownRunState{};
    m_shown.running = !m_machine.VM_Running;
    m_shown.stepping = m_machine.RunMode != Speed::Step;
    m_shown.currentLine = -2;
    // The sentence is asked for again, the slider is told its range; the protocol's rows are
    // told as if the views had none.
    m_shown.sentence.changes = m_changes + 1;
    m_shown.history.current = m_machine.StepCount + 1;
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
    ++m_changes;
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
    // The entry stays recorded after the position, for going forward again through "Verlauf".
    const JournalEntry& entry = m_journal.stepBack();
    restoreSnapshot(entry.before, m_machine, m_input);
    ++m_changes;
    if (entry.writtenRow >= 0) {
        m_table.restore(entry.writtenRow, entry.cell);
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
    return journalHoldsRun() && m_journal.position() > 0;
}

bool RunControl::journalHoldsRun() const {
    // What the journal recorded still fits as long as neither the program nor the data was
    // changed since the run began (an edit, New or Load).
    return !m_journal.empty() && m_flags.Edits == m_journalEdits;
}

void RunControl::forgetSteps() {
    m_journal.clear();
    ++m_runs;
    ++m_changes;
    m_checkError = CheckError::None;
    showRunState();
}

std::string RunControl::lineText(std::int32_t line) const {
    const ProgramEditorView& editor = m_views.editor;
    return line >= 0 && line < editor.lineCount() ? editor.lineText(line) : std::string();
}

std::string RunControl::stepSentence() const {
    if (m_checkError != CheckError::None) {
        return "Tipp: " + checkHint(m_checkError);
    }
    if (!journalHoldsRun() || m_journal.position() == 0) {
        return {};
    }
    const JournalEntry& entry = m_journal.at(m_journal.position() - 1);
    const std::int32_t line = entry.before.registers.VM_IP;
    const bool inText = line >= 0 && line < m_views.editor.lineCount();
    const std::string text = inText ? m_views.editor.lineText(line) : std::string();
    return quarzel::stepSentence(m_machine.InstructionList, entry, m_table,
                                 inText ? &text : nullptr);
}

StepSpan RunControl::traceSpan() const {
    return journalHoldsRun() ? takenSteps(m_journal) : StepSpan{};
}

TraceTexts RunControl::traceRow(std::uint64_t step) const {
    const TraceRow row = traceRowOf(m_journal, m_machine, step);
    return traceTexts(row, lineText(row.line));
}

std::string RunControl::traceCsv() const {
    std::string csv = traceCsvHeader();
    const StepSpan span = traceSpan();
    for (std::uint64_t step = span.first; step <= span.last; ++step) {
        const TraceRow row = traceRowOf(m_journal, m_machine, step);
        appendTraceCsvRow(csv, row, traceCsvCommand(lineText(row.line)));
    }
    return csv;
}

std::string RunControl::traceHtml() const {
    std::vector<TraceTexts> rows;
    const StepSpan span = traceSpan();
    for (std::uint64_t step = span.first; step <= span.last; ++step) {
        rows.push_back(traceRow(step));
    }
    return traceHtmlPage(rows);
}

HistoryRange RunControl::historyRange() const {
    const std::uint64_t current = m_machine.StepCount;
    if (!journalHoldsRun()) {
        return {current, current, current, false};
    }
    const std::uint64_t oldest = m_journal.at(0).before.StepCount;
    const std::uint64_t newest = m_journal.at(m_journal.size() - 1).before.StepCount + 1;
    const bool movable = m_machine.RunMode == Speed::Step && !m_machine.InputPending;
    return {oldest, newest, current, movable};
}

void RunControl::historyMove(std::uint64_t step) {
    const HistoryRange range = historyRange();
    step = std::clamp(step, range.oldest, range.newest);
    if (!range.movable || step == range.current) {
        return;
    }
    const bool back = step < range.current;
    const HistoryMove move =
        back ? moveBack(m_journal, m_machine, m_table, m_input, step)
             : replayForward(m_journal, m_machine, m_table, m_flags, m_input, step);
    ++m_changes;
    for (const int row : move.changedRows) {
        m_views.grid.rowChanged(row);
    }
    if (back && !move.changedRows.empty()) {
        m_flags.DataModified = true;  // the table differs from what was last saved
    }
    if (m_machine.LastAccessCell != 0) {
        m_views.grid.showRowAtTop(m_machine.LastAccessCell - 1);
    }
    if (move.lastOutcome.endsRun()) {
        VM_Stop();  // as the run ended then; its box is not shown again
    } else {
        // In progress, paused, as after "Zurück".
        m_machine.VM_Running = true;
    }
    m_executor.VM_Print();
    m_views.picture.repaintNow();
    showRunState();
}

std::optional<std::uint64_t> RunControl::lastStandBefore(
    const std::function<bool(std::int32_t)>& marked) const {
    if (!journalHoldsRun()) {
        return std::nullopt;
    }
    return quarzel::lastStandBefore(m_journal, marked);
}

RunLoopResult RunControl::runHeadless(const HeadlessLimits& limits) {
    return runHeadlessPart(limits, limits.maxSteps);
}

RunLoopResult RunControl::runHeadlessPart(const HeadlessLimits& limits, std::uint64_t pauseAt) {
    if (!m_machine.VM_Running) {
        m_pausedRun.reset();
        m_pausedLoops.reset();
        return {};
    }
    if (m_pausedRun != m_runs) {
        m_journal.clear();  // the headless loop keeps no journal
        ++m_runs;
        m_pausedLoops.reset();
        if (limits.detectLoops) {
            m_pausedLoops.emplace(m_machine, m_table, m_input, m_views.numberInput);
        }
    }
    // Nobody watches the table cell by cell: the grid hears of the whole table afterwards.
    DataGridView* grid = nullptr;
    RunLoopResult run;
    {
        const GridDetached quiet(m_table);
        grid = quiet.grid();
        run = runLoopPart(m_machine, m_table, m_flags, m_input, m_views.numberInput,
                          m_views.prompts, limits.maxSteps, pauseAt,
                          m_pausedLoops ? &*m_pausedLoops : nullptr, limits.trace);
    }
    if (!run.outcome.endsRun()) {
        m_pausedRun = m_runs;
        return run;
    }
    m_pausedRun.reset();
    m_pausedLoops.reset();
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
        showRunState();
        return;
    }
    if (!m_flags.DataChecked) {
        m_views.prompts.showMessage(fromUtf8("Daten werden geprüft"), "Hinweis",
                                    MessageIcon::Information);
        m_flags.DataChecked = checkData();
        showRunState();
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
    const CheckError programError = m_checkError;
    m_flags.DataChecked = checkData();
    if (programError != CheckError::None) {
        m_checkError = programError;  // the first error shown is the one to mend first
    }
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
    ++m_changes;
    m_checkError = CheckError::None;
    try {
        return CheckProgram(m_views.editor, m_views.prompts, m_opcodes, m_machine.InstructionList,
                            &m_checkError);
    } catch (...) {
        // The conversion error ends the command here; the line still gives its hint.
        showRunState();
        throw;
    }
}

bool RunControl::checkData() {
    ++m_changes;
    const bool passed = CheckData(m_table, m_views.prompts);
    m_checkError = passed ? CheckError::None : CheckError::DataNotANumber;
    return passed;
}

}  // namespace quarzel
