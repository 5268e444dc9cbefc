// The memory table as a Qt item model: 3 columns x 512 rows over the workbench's table. The
// number column can be neither selected nor edited; what the user types and commits goes to
// the workbench, which decides what it changes.
#pragma once

#include <QAbstractTableModel>

namespace quarzel {

class Workbench;

class DataTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit DataTableModel(Workbench& workbench, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Off while a run is in progress: the machine writes the table, the user does not.
    void setEditable(bool editable);
    bool editable() const { return m_editable; }

    // The system wrote the row's texts (machine write, New, Load).
    void rowChanged(int row);

    // The user changed the text in a cell's in-place editor, before the edit is committed and
    // whatever text it ends with.
    void cellTextEdited(const QModelIndex& index, const QString& text);
    // Whether a cell editor may hold `text`: every character must fit a data file.
    bool acceptsTyped(const QString& text);

  private:
    Workbench& m_workbench;
    bool m_editable = true;
};

}  // namespace quarzel
