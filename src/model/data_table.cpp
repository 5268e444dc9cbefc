#include "model/data_table.h"

#include <utility>

#include "common/number_text.h"
#include "common/system_error.h"
#include "common/views.h"

namespace quarzel {
namespace {

void checkRow(int row) {
    if (row < 0 || row >= DataTable::kRowCount) {
        throw listIndexError(row);
    }
}

}  // namespace

DataTable::DataTable() {
    for (int row = 0; row < kRowCount; ++row) {
        m_rows[row] = {int32ToText(row + 1), "0", ""};
    }
}

const std::string& DataTable::text(int column, int row) const {
    checkRow(row);
    const Row& r = m_rows[row];
    switch (column) {
        case kNumberColumn:
            return r.number;
        case kValueColumn:
            return r.value;
        case kCommentColumn:
            return r.comment;
        default:
            throw listIndexError(column);
    }
}

void DataTable::setText(int column, int row, std::string text) {
    checkRow(row);
    Row& r = m_rows[row];
    if (column == kValueColumn) {
        r.value = std::move(text);
    } else if (column == kCommentColumn) {
        r.comment = std::move(text);
    } else {
        throw listIndexError(column);
    }
    if (m_grid != nullptr) {
        m_grid->rowChanged(row);
    }
}

}  // namespace quarzel
