#include "session/file_commands.h"

#include <string>

#include "common/views.h"
#include "files/data_file.h"
#include "files/program_file.h"
#include "model/data_table.h"
#include "model/machine_state.h"
#include "model/state_flags.h"
#include "session/run_control.h"

namespace quarzel {
namespace {

const FileFilter kProgramFilter{"QRZL Programm (*.prg)", "*.prg"};
const FileFilter kDataFilter{"QRZL Daten (*.dta)", "*.dta"};

}  // namespace

FileCommands::FileCommands(StateFlags& flags, DataTable& table, MachineState& machine,
                           RunControl& runControl, const Views& views)
    : m_flags(flags), m_table(table), m_machine(machine), m_runControl(runControl), m_views(views) {
    runControl.onRunEnded = [this] { runEnded(); };
}

void FileCommands::stopRun() {
    if (m_machine.VM_Running) {
        m_runControl.VM_Stop();
    }
}

std::string FileCommands::textWithoutEmptyLines() const {
    // What removeEmptyLines leaves in the editor: every line that is not empty with its line
    // break, and the text's own ending after the last one.
    const std::string text = m_views.editor.text();
    std::string kept;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        if (end > start) {
            kept.append(text, start, end - start + 2);
        }
    }
    kept.append(text, start, std::string::npos);
    return kept;
}

void FileCommands::runEnded() {
    if (!m_removeEmptyLinesAfterRun) {
        return;
    }
    m_removeEmptyLinesAfterRun = false;
    // The editor now matches the file written during the run; a save that failed still
    // leaves the program modified.
    const bool modified = m_flags.ProgramModified;
    removeEmptyLines();
    m_flags.ProgramModified = modified;
}

void FileCommands::removeEmptyLines() {
    ProgramEditorView& editor = m_views.editor;
    // Bottom to top, so the lines still to be looked at keep their numbers.
    for (int line = editor.lineCount() - 1; line >= 0; --line) {
        if (editor.lineText(line).empty()) {
            editor.deleteLine(line);
        }
    }
}

void FileCommands::btNewClick() {
    PromptView& prompts = m_views.prompts;
    if (prompts.askYesNo("Neues Programm?", "QRZL")) {
        newProgram("");
    }
    if (prompts.askYesNo("Neuer Datenbereich?", "QRZL")) {
        stopRun();
        if (m_flags.DataModified) {
            SaveData();
        }
        for (int row = 0; row < DataTable::kRowCount; ++row) {
            m_table.setValue(row, "0");
            m_table.setComment(row, "");
        }
        m_flags.tableReplaced();
        m_runControl.forgetSteps();
        // DataModified stays: a declined save must still be offered when the window closes.
        m_flags.DataChecked = false;
        m_machine.LastAccessCell = 0;
        m_views.picture.repaintNow();
    }
}

void FileCommands::newProgram(const std::string& program) {
    stopRun();  // before the save, which may already remove lines of the running program
    if (m_flags.ProgramModified) {
        SaveProgram();
    }
    if (program.empty()) {
        m_views.editor.clear();
    } else {
        m_views.editor.setText(program);
    }
    m_runControl.forgetSteps();
    // The new text is a change and sets them the other way first.
    m_flags.ProgramModified = false;
    m_flags.ProgramChecked = false;
}

void FileCommands::btSaveClick() {
    SaveProgramAndData();
}

void FileCommands::btLoadClick() {
    load([this] { LoadProgramAndData(); });
}

void FileCommands::loadTexts(const std::string& program, const std::string& data) {
    load([&] {
        takeProgram(program);
        takeData(data);
    });
}

void FileCommands::load(const std::function<void()>& replace) {
    if (m_flags.ProgramModified || m_flags.DataModified) {
        SaveProgramAndData();
    }
    replace();
    m_flags.ProgramChecked = false;
    m_flags.DataChecked = false;
}

SaveOffer FileCommands::SaveProgram() {
    PromptView& prompts = m_views.prompts;
    if (!prompts.askYesNo("Programm speichern?", "Frage")) {
        return SaveOffer::Declined;
    }
    const auto path = prompts.chooseFileToSave(kProgramFilter, "prg");
    if (!path) {
        return SaveOffer::Cancelled;
    }
    if (m_machine.VM_Running) {
        // The lines below an empty one would move up under the running program: the editor
        // keeps them until the run has ended, the file is written without them now.
        m_removeEmptyLinesAfterRun = true;
        writeProgramFile(*path, textWithoutEmptyLines());
    } else {
        removeEmptyLines();
        writeProgramFile(*path, m_views.editor.text());
    }
    // Only a file that reached the user's place counts as saved.
    prompts.finishSave(*path);
    m_flags.ProgramModified = false;
    return SaveOffer::Saved;
}

SaveOffer FileCommands::SaveData() {
    PromptView& prompts = m_views.prompts;
    if (!prompts.askYesNo("Daten speichern?", "QRZL")) {
        return SaveOffer::Declined;
    }
    const auto path = prompts.chooseFileToSave(kDataFilter, "dta");
    if (!path) {
        return SaveOffer::Cancelled;
    }
    writeDataFile(*path, m_table);
    prompts.finishSave(*path);
    m_flags.DataModified = false;
    return SaveOffer::Saved;
}

void FileCommands::SaveProgramAndData() {
    SaveProgram();
    SaveData();
}

void FileCommands::LoadProgramAndData() {
    PromptView& prompts = m_views.prompts;
    if (prompts.askYesNo("Programm laden?", "QRZL")) {
        if (const auto path = prompts.chooseFileToOpen(kProgramFilter)) {
            // Read first: a file that cannot be read leaves the editor and a run alone.
            takeProgram(readProgramFile(*path));
        }
    }
    if (prompts.askYesNo("Daten laden?", "QRZL")) {
        if (const auto path = prompts.chooseFileToOpen(kDataFilter)) {
            takeData(readDataFileText(*path));
        }
    }
}

void FileCommands::takeProgram(const std::string& text) {
    stopRun();
    m_views.editor.setText(text);
    m_runControl.forgetSteps();
    m_flags.ProgramModified = false;
}

void FileCommands::takeData(std::string_view text) {
    stopRun();
    // Even a load that stops at a bad line has changed the table, so the data must be checked
    // again, and the memory picture shows the new contents at once.
    m_flags.DataChecked = false;
    m_flags.tableReplaced();
    m_runControl.forgetSteps();
    try {
        applyDataFileText(text, m_table);
    } catch (...) {
        m_views.picture.repaintNow();
        throw;
    }
    m_views.picture.repaintNow();
    m_flags.DataModified = false;
}

void FileCommands::restore(const std::string& program, const std::string& data) {
    stopRun();
    m_views.editor.setText(program);
    m_runControl.forgetSteps();
    m_flags.ProgramModified = !program.empty();
    m_flags.ProgramChecked = false;
    m_flags.DataChecked = false;
    m_flags.tableReplaced();
    applyDataFileText(data, m_table);
    m_flags.DataModified = data != dataFileText(DataTable());
    m_machine.LastAccessCell = 0;
    m_views.picture.repaintNow();
}

void FileCommands::takeOverData(const DataTable& start) {
    if (m_flags.DataModified) {
        SaveData();  // a save that fails ends the command here, the table untouched
    }
    stopRun();
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        m_table.setValue(row, start.value(row));
        m_table.setComment(row, start.comment(row));
    }
    m_flags.DataChecked = false;
    m_flags.tableReplaced();
    m_runControl.forgetSteps();
    m_flags.DataModified = false;
    m_machine.LastAccessCell = 0;
    m_views.picture.repaintNow();
}

}  // namespace quarzel
