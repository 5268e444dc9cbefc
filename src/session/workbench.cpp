#include "session/workbench.h"

#include <vector>

#include "files/built_in_examples.h"
#include "files/data_file.h"
#include "files/file_errors.h"
#include "files/program_file.h"
#include "files/text_file.h"
#include "machine/run_loop.h"
#include "session/cell_edit.h"

namespace quarzel {
namespace {

std::string characterRefusedNote(const std::string& character) {
    return "Das Zeichen „" + character +
           "“ kann in Programm- und Datendateien nicht gespeichert werden und wird nicht "
           "übernommen.";
}

}  // namespace

Workbench::Workbench(const Views& views)
    : m_views(views),
      m_memory(m_machine, m_table, m_flags, m_input, views.grid, views.picture, views.numberInput,
               views.prompts),
      m_executor(m_machine, m_memory, m_views),
      m_runControl(m_machine, m_flags, m_table, m_opcodes, m_executor, m_journal, m_input, m_views),
      m_files(m_flags, m_table, m_machine, m_runControl, m_views),
      m_html(views.editor, m_table, views.prompts),
      m_loopWatch(m_machine, m_table, m_flags, m_input, views.numberInput, m_memory) {
    m_table.attachGrid(&views.grid);
    m_memory.setJournal(&m_journal);
    views.editor.setChangeHandler([this] { programChanged(); });
}

void Workbench::showFreshStart() {
    guard([this] {
        for (int row = 0; row < DataTable::kRowCount; ++row) {
            m_views.grid.rowChanged(row);
        }
        RegisterView& registers = m_views.registers;
        registers.showRegister(Register::Accu, m_machine.VM_Accu);
        registers.showRegister(Register::Window, m_machine.VM_Window);
        registers.showRegister(Register::Index, m_machine.VM_Index);
        registers.showRegister(Register::IP, m_machine.VM_IP);
        // The stack field shows the empty stack before any run.
        registers.showRegister(Register::SP, m_machine.VM_Running ? m_machine.VM_SP : 512);
        m_views.runPanel.showSpeed(m_machine.RunMode);
        m_runControl.VM_ChangeRunMode(static_cast<std::int32_t>(m_machine.RunMode));
        m_runControl.showWholeRunState();
        m_views.picture.repaintNow();
    });
}

void Workbench::btCheckClick() {
    guard([this] {
        m_runControl.btCheckClick();
        m_runControl.showRunState();
    });
}

bool Workbench::btRunClick() {
    m_passBreakpointAt.reset();  // a new run pauses at every marked line again
    m_loopWatch.newRun();
    return guard([this] { m_runControl.btRunClick(); });
}

void Workbench::btStepClick() {
    m_loopWatch.forget();  // single steps are the learner's own: nothing is watched
    guard([this] { m_runControl.btStepClick(); });
}

void Workbench::btBackClick() {
    m_loopWatch.forget();
    guard([this] { m_runControl.VM_StepBack(); });
}

void Workbench::historyMove(std::uint64_t step) {
    m_loopWatch.forget();
    guard([this, step] { m_runControl.historyMove(step); });
}

void Workbench::btBackToBreakpointClick() {
    m_loopWatch.forget();
    guard([this] {
        if (!m_runControl.historyRange().movable) {
            return;
        }
        const std::optional<std::uint64_t> step =
            m_runControl.lastStandBefore([this](std::int32_t line) { return stopsAt(line); });
        if (step) {
            m_runControl.historyMove(*step);
        } else {
            m_views.prompts.showNote("Im Verlauf stand der Lauf vor keiner Zeile mit Haltepunkt.");
        }
    });
}

void Workbench::btTraceExportClick(TraceFormat format) {
    guard([this, format] {
        const bool html = format == TraceFormat::Html;
        const auto path =
            m_views.prompts.chooseFileToSave(html ? FileFilter{"HTML Dateien (*.html)", "*.html"}
                                                  : FileFilter{"CSV-Dateien (*.csv)", "*.csv"},
                                             html ? "html" : "csv");
        if (path) {
            writeFileAtomically(*path, html ? m_runControl.traceHtml() : m_runControl.traceCsv());
            m_views.prompts.finishSave(*path);  // the page hands the file on from here
        }
    });
}

void Workbench::speedClick(Speed speed) {
    m_loopWatch.forget();
    if (speed != Speed::Step) {
        // Choosing a timed speed while looking at a marked line goes on from that line.
        m_passBreakpointAt = m_machine.StepCount;
    }
    guard([this, speed] { m_runControl.VM_ChangeRunMode(static_cast<std::int32_t>(speed)); });
}

void Workbench::timerTick(RunTimer timer) {
    if (m_machine.VM_Running && !m_machine.InputPending && m_machine.RunMode != Speed::Step &&
        m_passBreakpointAt != m_machine.StepCount && stopsAt(m_machine.VM_IP)) {
        m_passBreakpointAt = m_machine.StepCount;
        pauseRun();
        return;
    }
    const bool watched = m_machine.VM_Running && !m_machine.InputPending &&
                         m_machine.RunMode != Speed::Step && m_loopWatch.beforeStep();
    guard([this, timer] {
        switch (timer) {
            case RunTimer::Slow:
                m_runControl.tSlowTimer();
                break;
            case RunTimer::Fast:
                m_runControl.tFastTimer();
                break;
            case RunTimer::Direct:
                m_runControl.tDirectTimer();
                break;
        }
    });
    if (!watched) {
        return;
    }
    std::optional<std::int32_t> loopLine;
    guard([this, &loopLine] { loopLine = m_loopWatch.afterStep(); });
    if (loopLine) {
        pauseRun();
        m_views.prompts.showMessage(endlessLoopText(*loopLine), kApplicationTitle,
                                    MessageIcon::Information);
    }
}

void Workbench::pauseRun() {
    m_loopWatch.forget();
    // Exactly a click on "Schritt": the timers stop and the step buttons are enabled; the run
    // stays in progress where it is.
    guard([this] { m_runControl.rbStepClick(); });
    m_views.runPanel.showSpeed(Speed::Step);
}

bool Workbench::takeOverData(const DataTable& start) {
    m_loopWatch.forget();
    return guard([this, &start] {
        m_files.takeOverData(start);
        m_runControl.showRunState();
    });
}

void Workbench::btNewClick() {
    guard([this] {
        m_files.btNewClick();
        m_runControl.showRunState();
    });
}

void Workbench::btLoadClick() {
    guard([this] {
        m_files.btLoadClick();
        m_runControl.showRunState();
    });
}

void Workbench::loadExample(int index) {
    guard([this, index] {
        const std::vector<BuiltInExample>& examples = builtInExamples();
        if (index < 0 || static_cast<std::size_t>(index) >= examples.size()) {
            throw listIndexError(index);
        }
        const BuiltInExample& example = examples[static_cast<std::size_t>(index)];
        // Every example is tested with the table it is loaded with: its data file, or the
        // empty table where it has none.
        m_files.loadTexts(example.program,
                          example.data ? *example.data : dataFileText(DataTable()));
        m_runControl.showRunState();
    });
}

void Workbench::tryProgram(const std::string& program) {
    guard([this, &program] {
        const std::string text = normalizeLineBreaks(program);
        if (!programTextFits(text)) {
            throw memoCapacityError();
        }
        m_files.newProgram(text);
        m_runControl.showRunState();
    });
}

void Workbench::btSaveClick() {
    guard([this] {
        m_files.btSaveClick();
        m_runControl.showRunState();
    });
}

void Workbench::btHTMLClick(const std::string& date) {
    guard([this, &date] { m_html.btHTMLClick(date); });
}

void Workbench::programChanged() {
    m_flags.meProgramChange();
    // An edit ends what "Zurück" may take back.
    m_runControl.showRunState();
}

void Workbench::cellTyped(int column, int row, const std::string& text) {
    // While a run is in progress the machine writes the table, the user does not.
    if (m_machine.VM_Running || column == DataTable::kNumberColumn) {
        return;
    }
    m_flags.sgDataSetEditText(column, row, text);
    m_runControl.showRunState();
}

bool Workbench::cellEdited(int column, int row, const std::string& text) {
    if (m_machine.VM_Running || !commitCellEdit(m_table, m_flags, column, row, text)) {
        return false;
    }
    m_runControl.showRunState();
    return true;
}

void Workbench::toggleBreakpoint(int line) {
    if (line >= 0 && line < m_views.editor.lineCount()) {
        m_views.editor.setBreakpoint(line, !m_views.editor.hasBreakpoint(line));
    }
}

bool Workbench::acceptProgramSize(std::size_t bytes, std::size_t lineBreaks) {
    if (programSizeFits(bytes, lineBreaks)) {
        return true;
    }
    guard([] { throw memoCapacityError(); });
    return false;
}

bool Workbench::acceptTypedText(const std::string& utf8) {
    const std::optional<std::string> refused = firstCharacterOutsideWin1252(utf8);
    if (refused) {
        m_views.prompts.showNote(characterRefusedNote(*refused));
    }
    return !refused;
}

bool Workbench::stopsAt(int line) const {
    if (line < 0 || line >= m_views.editor.lineCount() || !m_views.editor.hasBreakpoint(line)) {
        return false;
    }
    // As the checker reads a line: tabs do not count, "*" starts a comment. A mark on an empty
    // line or a comment never stops a run.
    const std::string text = m_views.editor.lineText(line);
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
    bool workLeft = false;
    const bool saved = guard([this, &workLeft] {
        if (m_flags.ProgramModified) {
            workLeft = m_files.SaveProgram() == SaveOffer::Cancelled;
        }
        if (m_flags.DataModified) {
            workLeft = m_files.SaveData() == SaveOffer::Cancelled || workLeft;
        }
    });
    if (!saved) {
        // A save that failed keeps the window open, so the learner's work is not lost: the
        // error has been shown, the run and its timer go on and the next close asks again.
        return false;
    }
    // No step may run once the lists are released.
    for (const RunTimer timer : {RunTimer::Slow, RunTimer::Fast, RunTimer::Direct}) {
        m_views.runPanel.setTimerEnabled(timer, false);
    }
    if (m_machine.VM_Running) {
        guard([this] { m_runControl.VM_Stop(); });
        m_machine.VM_Running = false;
    }
    m_closed = true;
    m_closedWithWorkLeft = workLeft;
    m_machine.InstructionList.clear();
    m_machine.InstructionList.shrink_to_fit();
    m_flags.ProgramChecked = false;  // nothing is left that a run could execute
    return true;
}

void Workbench::reopened() {
    if (!m_closed) {
        return;
    }
    m_closed = false;
    guard([this] { m_runControl.VM_ChangeRunMode(static_cast<std::int32_t>(m_machine.RunMode)); });
}

std::string Workbench::keptWork() const {
    return keptWorkRecord(m_views.editor.text(), m_table);
}

KeptWorkRestore Workbench::restoreKeptWork(const std::string& record) {
    const KeptWorkRead read = readKeptWork(record);
    KeptWorkRestore restore{KeptWorkRestore::Restored, kKeptWorkRestoredNote};
    if (!read.work) {
        restore = {KeptWorkRestore::Damaged, keptWorkDamagedNote(read.problem)};
    } else {
        const KeptWork& work = *read.work;
        guard([this, &work] {
            m_files.restore(work.program, work.data);
            m_runControl.showRunState();
        });
    }
    m_views.prompts.showNote(restore.note);
    return restore;
}

RunLoopResult Workbench::runHeadless(const RunControl::HeadlessLimits& limits) {
    return m_runControl.runHeadless(limits);
}

RunLoopResult Workbench::runHeadlessPart(const RunControl::HeadlessLimits& limits,
                                         std::uint64_t pauseAt) {
    return m_runControl.runHeadlessPart(limits, pauseAt);
}

}  // namespace quarzel
