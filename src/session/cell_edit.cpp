#include "session/cell_edit.h"

#include "model/data_table.h"
#include "model/state_flags.h"

namespace quarzel {

bool commitCellEdit(DataTable& table, StateFlags& flags, int column, int row,
                    const std::string& text) {
    if (row < 0 || row >= DataTable::kRowCount || column <= DataTable::kNumberColumn ||
        column > DataTable::kCommentColumn || text == table.text(column, row)) {
        return false;
    }
    table.setText(column, row, text);
    flags.sgDataSetEditText(column, row, text);
    return true;
}

}  // namespace quarzel
