// The graphical memory picture pbMemory: 512 small squares, filled for cells that hold
// something other than "0", with a red (write) or green (read) frame around the cell of the
// last memory access. It only reads the memory table and the machine state.
#pragma once

#include <QString>
#include <QWidget>

#include "common/views.h"

namespace quarzel {

class DataTable;
struct MachineState;

class MemoryView : public QWidget, public MemoryPictureView {
    Q_OBJECT

  public:
    MemoryView(const DataTable& table, const MachineState& machine, QWidget* parent = nullptr);

    // The machine asks for this after every memory access: the picture is drawn before the
    // access returns, not at the next turn of the event loop.
    void repaintNow() override;

  signals:
    // On every mouse move: the number, value and comment of the cell under the pointer, or
    // three empty texts when no cell is there.
    void hoverChanged(const QString& number, const QString& value, const QString& comment);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    const DataTable& m_table;
    const MachineState& m_machine;
};

}  // namespace quarzel
