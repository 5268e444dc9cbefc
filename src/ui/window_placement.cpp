#include "window_placement.h"

#include <QMargins>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace quarzel {

QSize clientSizeFor(const QWidget& window, QSize outer) {
    const QWindow* handle = window.windowHandle();
    const QMargins frame = handle != nullptr ? handle->frameMargins() : QMargins();
    return QSize(std::max(1, outer.width() - frame.left() - frame.right()),
                 std::max(1, outer.height() - frame.top() - frame.bottom()));
}

}  // namespace quarzel
