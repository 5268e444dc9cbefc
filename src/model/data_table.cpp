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
        m_numbers[static_cast<std::size_t>(row)] = int32ToText(row + 1);
    }
}

const std::string& DataTable::text(int column, int row) const {
    checkRow(row);
    const Cell& cell = m_cells[static_cast<std::size_t>(row)];
    switch (column) {
        case kNumberColumn:
            return m_numbers[static_cast<std::size_t>(row)];
        case kValueColumn:
            if (cell.machineWritten && !cell.textCurrent) {
                cell.text = int32ToText(cell.number);
                cell.textCurrent = true;
            }
            return cell.text;
        case kCommentColumn:
            return cell.comment;
        default:
            throw listIndexError(column);
    }
}

void DataTable::setText(int column, int row, std::string text) {
    checkRow(row);
    Cell& cell = m_cells[static_cast<std::size_t>(row)];
    if (text.size() > kMaxTextLength) {
        text.resize(kMaxTextLength);
    }
    if (column == kValueColumn) {
        cell.readable = tryTextToInt32(text, cell.number);
        cell.machineWritten = false;
        cell.textCurrent = false;
        cell.text = std::move(text);
    } else if (column == kCommentColumn) {
        cell.comment = std::move(text);
    } else {
        throw listIndexError(column);
    }
    if (m_grid != nullptr) {
        notifyGrid(row);
    }
}

CellContent DataTable::content(int row) const {
    const Cell& cell = m_cells[static_cast<std::size_t>(row)];
    CellContent content;
    content.number = cell.number;
    content.readable = cell.readable;
    content.machineWritten = cell.machineWritten;
    if (!cell.machineWritten) {
        content.typedText = cell.text;
    }
    return content;
}

void DataTable::restore(int row, CellContent content) {
    Cell& cell = m_cells[static_cast<std::size_t>(row)];
    cell.number = content.number;
    cell.readable = content.readable;
    cell.machineWritten = content.machineWritten;
    cell.textCurrent = false;
    if (!content.machineWritten) {
        cell.text = std::move(content.typedText);
    }
    if (m_grid != nullptr) {
        notifyGrid(row);
    }
}

void DataTable::notifyGrid(int row) {
    m_grid->rowChanged(row);
}

}  // namespace quarzel
