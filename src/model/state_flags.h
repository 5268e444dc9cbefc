// The four flags that say whether the program and the data were checked and saved, and the
// two change handlers of the editor and the table that clear and set them.
#pragma once

#include <cstdint>
#include <string>

namespace quarzel {

struct StateFlags {
    bool ProgramChecked = false;   // the text passed CheckProgram and has not changed since
    bool DataChecked = false;      // the values passed CheckData and the user has not edited since
    bool ProgramModified = false;  // the text changed since it was saved, loaded or cleared
    bool DataModified = false;     // the table changed since it was saved or loaded

    // Counts the changes of the program text and the user's edits of the table, so that the
    // step journal can tell that what it recorded no longer matches.
    std::uint64_t Edits = 0;

    // After every change of the program text, whoever makes it.
    void meProgramChange();
    // After every change of a cell by the user (never for the system's own writes).
    void sgDataSetEditText(int column, int row, const std::string& text);
    // After New or Load replaced the table's contents.
    void tableReplaced() { ++Edits; }
};

}  // namespace quarzel
