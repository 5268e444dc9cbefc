// sgData: the memory table widget. A QTableView over DataTableModel that never lets the
// number column become the current cell, and that the core drives through DataGridView.
#pragma once

#include <QTableView>

#include "common/views.h"

namespace quarzel {

class DataTableModel;

// May the cell become the current cell? The number column never does.
bool sgDataSelectCell(int column, int row);

class DataGrid : public QTableView, public DataGridView {
    Q_OBJECT

  public:
    explicit DataGrid(QWidget* parent = nullptr);

    // The model lives as long as the grid; set once, after the workbench exists.
    void setTableModel(DataTableModel* model);
    DataTableModel* tableModel() const { return m_model; }

    void showRowAtTop(int row) override;
    void setInputEnabled(bool enabled) override;
    void rowChanged(int row) override;

    // Number 40, value 80, comment the rest of the client width less 2.
    void applyColumnWidths();
    // Writes an open in-place editor's text into the table and closes the editor, so that a
    // command never misses what the user is typing.
    void commitPendingEdit();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;

  private:
    DataTableModel* m_model = nullptr;
};

}  // namespace quarzel
