// Placing a top-level window by its outer rectangle, frame included, as the secondary windows
// are specified on screen.
#pragma once

#include <QRect>

class QWidget;

namespace quarzel {

// The client size that gives `window` the outer size `outer`, with the frame the window system
// has reported so far (nothing before the window is first shown).
QSize clientSizeFor(const QWidget& window, QSize outer);

}  // namespace quarzel
