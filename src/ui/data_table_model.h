// The memory table as a Qt item model: 3 columns x 512 rows over the core's DataTable. The
// number column can be neither selected nor edited; a user edit writes the table and then
// reports itself through StateFlags::sgDataSetEditText.
#pragma once

#include <QAbstractTableModel>

namespace quarzel {

class DataTable;
struct StateFlags;

class DataTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    DataTableModel(DataTable& table, StateFlags& flags, QObject* parent = nullptr);

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

    // The user changed the text in a cell's in-place editor: a change of the table for the
    // flags at once, before the edit is committed and whatever text it ends with.
    void cellTextEdited(const QModelIndex& index, const QString& text);

  signals:
    // After every change of a cell by the user, once the flags say so.
    void userEdited();

  private:
    DataTable& m_table;
    StateFlags& m_flags;
    bool m_editable = true;
};

}  // namespace quarzel
