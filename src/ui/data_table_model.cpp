#include "data_table_model.h"

#include "model/data_table.h"
#include "qt_text.h"
#include "session/workbench.h"

namespace quarzel {

DataTableModel::DataTableModel(Workbench& workbench, QObject* parent)
    : QAbstractTableModel(parent), m_workbench(workbench) {}

int DataTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : DataTable::kRowCount;
}

int DataTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant DataTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        return toQString(m_workbench.table().text(index.column(), index.row()));
    }
    if (role == Qt::AccessibleTextRole) {
        return toQString(m_workbench.table().text(index.column(), index.row()));
    }
    return {};
}

bool DataTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) ||
        !(flags(index) & Qt::ItemIsEditable)) {
        return false;
    }
    if (m_workbench.cellEdited(index.column(), index.row(), fromQString(value.toString()))) {
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    }
    return true;
}

Qt::ItemFlags DataTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    if (index.column() == DataTable::kNumberColumn) {
        return Qt::ItemIsEnabled;
    }
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_editable) {
        result |= Qt::ItemIsEditable;
    }
    return result;
}

void DataTableModel::setEditable(bool editable) {
    m_editable = editable;
}

void DataTableModel::rowChanged(int row) {
    if (row >= 0 && row < DataTable::kRowCount) {
        emit dataChanged(index(row, 0), index(row, 2), {Qt::DisplayRole, Qt::EditRole});
    }
}

bool DataTableModel::acceptsTyped(const QString& text) {
    return m_workbench.acceptTypedText(text.toStdString());
}

void DataTableModel::cellTextEdited(const QModelIndex& index, const QString& text) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) ||
        !(flags(index) & Qt::ItemIsEditable)) {
        return;
    }
    m_workbench.cellTyped(index.column(), index.row(), fromQString(text));
}

}  // namespace quarzel
