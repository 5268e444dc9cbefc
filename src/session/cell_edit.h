// A user's edit of a memory table cell, the same in every front end: the text goes into the
// table and the data must be checked (and saved) again.
#pragma once

#include <string>

namespace quarzel {

class DataTable;
struct StateFlags;

// A cell editor's text committed into the table. False when nothing changed: the row or
// column is out of range, the column is the number column, or the text is the cell's own (an
// editor opened and left as it was).
bool commitCellEdit(DataTable& table, StateFlags& flags, int column, int row,
                    const std::string& text);

}  // namespace quarzel
