// The New, Load and Save commands over the program editor and the data table.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quarzel {

class DataTable;
class RunControl;
struct MachineState;
struct StateFlags;
struct Views;

// How an offer to save a part of the work ended.
enum class SaveOffer {
    Saved,      // written and handed on where the user chose it
    Declined,   // the user answered "Nein": the part may go
    Cancelled,  // the file dialog was cancelled: neither saved nor declined
};

class FileCommands {
  public:
    FileCommands(StateFlags& flags, DataTable& table, MachineState& machine, RunControl& runControl,
                 const Views& views);

    void btNewClick();
    void btSaveClick();
    void btLoadClick();

    // Each also run when the main window closes. A save that fails throws before any flag
    // changes: the part stays modified.
    SaveOffer SaveProgram();
    SaveOffer SaveData();
    void SaveProgramAndData();
    void LoadProgramAndData();
    // The data part of Load with a table instead of a file: see Workbench::takeOverData.
    void takeOverData(const DataTable& start);
    // "Laden" of a program and a data file given as their texts (line breaks CR LF), without
    // the load questions and the file dialogs: modified work is offered for saving first, as
    // Load offers it; then both replace the editor's text and the table, and both are
    // unchecked and unmodified.
    void loadTexts(const std::string& program, const std::string& data);
    // `program` (line breaks CR LF) goes into the editor as New clears it: a modified program is
    // offered for saving first; the table stays as it is.
    void newProgram(const std::string& program);
    // Kept work put back, as loading both would put them, except that neither is in a file: a
    // program or a table that is not the empty one counts as modified.
    void restore(const std::string& program, const std::string& data);

  private:
    // Load's frame around `replace`: the save questions before, both unchecked after, even when
    // nothing was replaced.
    void load(const std::function<void()>& replace);
    // A program or data file's text replaces the editor's text or the table.
    void takeProgram(const std::string& text);
    void takeData(std::string_view text);
    // New and Load replace what a run is working on, so they end the run first.
    void stopRun();
    // Empty lines go before a program is saved; a line of spaces is not empty.
    void removeEmptyLines();
    std::string textWithoutEmptyLines() const;
    // A save during a run left the empty lines in the editor; they go now.
    void runEnded();

    StateFlags& m_flags;
    DataTable& m_table;
    MachineState& m_machine;
    RunControl& m_runControl;
    const Views& m_views;
    bool m_removeEmptyLinesAfterRun = false;
};

}  // namespace quarzel
