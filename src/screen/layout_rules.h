// The rules both forms of the layout share: a rectangle whose negative sizes become zero, and
// the insides of the program, table and picture panels, placed alike whatever their boxes' size.
#pragma once

#include "screen/main_layout.h"

namespace quarzel {

LayoutRect layoutRect(int left, int top, int width, int height);

// The editor, the table, the picture and its hover fields inside their boxes, from the boxes'
// rectangles (already set).
void placePanelInsides(MainLayout& l);

}  // namespace quarzel
