#include "data_grid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QValidator>

#include "data_table_model.h"
#include "screen/main_layout.h"

namespace quarzel {

bool sgDataSelectCell(int column, int /*row*/) {
    return column != 0;
}

namespace {

// Asks sgDataSelectCell before a cell becomes current; a refused cell leaves the current
// cell where it was, for the mouse and the keyboard alike.
class CellSelectionModel : public QItemSelectionModel {
  public:
    using QItemSelectionModel::QItemSelectionModel;

    void setCurrentIndex(const QModelIndex& index,
                         QItemSelectionModel::SelectionFlags command) override {
        if (index.isValid() && !sgDataSelectCell(index.column(), index.row())) {
            return;
        }
        QItemSelectionModel::setCurrentIndex(index, command);
    }
};

// Refuses a typed or pasted text with a character that a data file cannot hold; the model
// says why.
class CellTextValidator : public QValidator {
  public:
    CellTextValidator(DataTableModel* model, QObject* parent)
        : QValidator(parent), m_model(model) {}
    State validate(QString& input, int& /*position*/) const override {
        return m_model->acceptsTyped(input) ? Acceptable : Invalid;
    }

  private:
    DataTableModel* m_model;
};

// Hands every keystroke in a cell's in-place editor to the model at once, so the flags know
// of the change before the edit ends (and also when it ends with the text it started with).
class CellEditDelegate : public QStyledItemDelegate {
  public:
    explicit CellEditDelegate(DataGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        auto* field = qobject_cast<QLineEdit*>(editor);
        DataTableModel* model = m_grid->tableModel();
        if (field != nullptr) {
            field->setMaxLength(kCellTextMaxLength);
        }
        if (field != nullptr && model != nullptr) {
            field->setValidator(new CellTextValidator(model, field));
            const QPersistentModelIndex cell(index);
            connect(field, &QLineEdit::textEdited, model, [model, cell](const QString& text) {
                if (cell.isValid()) {
                    model->cellTextEdited(cell, text);
                }
            });
        }
        return editor;
    }

  private:
    DataGrid* m_grid;
};

constexpr QAbstractItemView::EditTriggers kEditTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

}  // namespace

DataGrid::DataGrid(QWidget* parent) : QTableView(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(kEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setWordWrap(false);
    setTabKeyNavigation(false);  // Tab leaves the table, as it leaves every other control
    setItemDelegate(new CellEditDelegate(this));
}

void DataGrid::setTableModel(DataTableModel* model) {
    m_model = model;
    setModel(model);
    QItemSelectionModel* created = selectionModel();
    setSelectionModel(new CellSelectionModel(model, this));
    delete created;
    setCurrentIndex(model->index(0, 1));
    applyColumnWidths();
}

void DataGrid::showRowAtTop(int row) {
    // One scroll step per row: the value is the first visible row, clamped by the bar.
    verticalScrollBar()->setValue(row);
}

void DataGrid::setInputEnabled(bool enabled) {
    if (!enabled) {
        commitPendingEdit();
    }
    if (m_model != nullptr) {
        m_model->setEditable(enabled);
    }
    setEditTriggers(enabled ? kEditTriggers : QAbstractItemView::NoEditTriggers);
}

void DataGrid::rowChanged(int row) {
    if (m_model != nullptr) {
        m_model->rowChanged(row);
    }
}

void DataGrid::applyColumnWidths() {
    setColumnWidth(0, kNumberColumnWidth);
    setColumnWidth(1, kValueColumnWidth);
    setColumnWidth(2, commentColumnWidth(viewport()->width(), columnWidth(0), columnWidth(1)));
}

void DataGrid::commitPendingEdit() {
    if (state() != QAbstractItemView::EditingState) {
        return;
    }
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

// The viewport is sized before resizeEvent runs, also when the window was laid out while
// the grid was hidden.
void DataGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    applyColumnWidths();
}

QItemSelectionModel::SelectionFlags DataGrid::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    if (index.isValid() && !sgDataSelectCell(index.column(), index.row())) {
        return QItemSelectionModel::NoUpdate;
    }
    return QTableView::selectionCommand(index, event);
}

}  // namespace quarzel
