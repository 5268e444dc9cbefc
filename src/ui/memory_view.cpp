#include "memory_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPen>

#include <cmath>
#include <string>

#include "common/win1252.h"
#include "model/data_table.h"
#include "model/machine_state.h"
#include "screen/colours.h"
#include "screen/memory_geometry.h"

namespace quarzel {
namespace {

QColor qColour(const Rgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// The outline of (left, top)-(right, bottom) with a 1-pixel pen: the pixel columns left and
// right - 1 and the pixel rows top and bottom - 1.
void drawThinOutline(QPainter& painter, const CellRect& r, const QColor& colour) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    painter.fillRect(r.left, r.top, width, 1, colour);
    painter.fillRect(r.left, r.bottom - 1, width, 1, colour);
    painter.fillRect(r.left, r.top, 1, height, colour);
    painter.fillRect(r.right - 1, r.top, 1, height, colour);
}

// A wide pen runs along the same path as the thin outline, through the centres of the
// outline's pixels, and spreads half its width to either side: with 7 pixels the frame of
// the square (5, 5)-(20, 20) covers pixels 2..22. Corners are rounded as a wide pen rounds
// its joins.
void drawWideOutline(QPainter& painter, const CellRect& r, const QColor& colour, int penWidth) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(r.left + 0.5, r.top + 0.5, r.right - r.left - 1, r.bottom - r.top - 1));
    painter.restore();
}

}  // namespace

MemoryView::MemoryView(const DataTable& table, const MachineState& machine, QWidget* parent)
    : QWidget(parent), m_table(table), m_machine(machine) {
    setObjectName(QStringLiteral("pbMemory"));
    // Every paint covers the whole area, so nothing needs to be erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void MemoryView::repaintNow() {
    repaint();
}

void MemoryView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QColor face = palette().color(QPalette::Window);
    painter.fillRect(rect(), face);

    // Narrower than one slot: there is no column to put a cell in, so only the background.
    const int cols = memoryColumns(width());
    if (cols == 0) {
        return;
    }

    if (const auto frame = cellSquare(m_machine.LastAccessCell, cols)) {
        painter.fillRect(frame->left, frame->top, frame->right - frame->left,
                         frame->bottom - frame->top, face);
        drawWideOutline(painter, *frame,
                        qColour(m_machine.LastAccessWrite ? kWriteColour : kReadColour),
                        kFramePenWidth);
    }

    // Squares are drawn after the frame, so the accessed cell's square covers the inner part
    // of its frame. Rows that start below the area are not visible and are skipped.
    for (int cell = 1; cell <= kCellCount; ++cell) {
        const CellRect square = *cellSquare(cell, cols);
        if (square.top >= height()) {
            break;
        }
        if (isFilledCell(m_table.value(cell - 1))) {
            painter.fillRect(square.left, square.top, square.right - square.left,
                             square.bottom - square.top, qColour(kSquareColour));
        } else {
            drawThinOutline(painter, square, qColour(kSquareColour));
        }
    }
}

void MemoryView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF position = event->position();
    const int cell = cellAt(static_cast<int>(std::floor(position.x())),
                            static_cast<int>(std::floor(position.y())), memoryColumns(width()));
    if (cell == 0) {
        emit hoverChanged(QString(), QString(), QString());
    } else {
        emit hoverChanged(QString::number(cell),
                          QString::fromStdString(toUtf8(m_table.value(cell - 1))),
                          QString::fromStdString(toUtf8(m_table.comment(cell - 1))));
    }
    QWidget::mouseMoveEvent(event);
}

}  // namespace quarzel
