// Where the window puts the controls that follow a run: the line "Was geschah" under the
// command buttons and the button "Protokoll" under "Aufgabe", in the free space the main layout
// leaves, so that every control of the main layout keeps its rectangle.
#pragma once

#include "screen/main_layout.h"

namespace quarzel {

struct LearnLayout {
    // Inside the command group (gbFile), below its buttons, as wide as the buttons' row.
    LayoutRect lbSentence;
    // Inside the run panel (gbFlowControl), below "Aufgabe".
    LayoutRect btProtocol;
};

// From the main layout of the same client size.
LearnLayout computeLearnLayout(const MainLayout& l);

struct LearnLayoutField {
    const char* name;
    LayoutRect LearnLayout::*rect;
    // The main layout's box the rectangle is relative to.
    LayoutRect MainLayout::*box;
};

inline constexpr LearnLayoutField kLearnLayoutFields[] = {
    {"lbSentence", &LearnLayout::lbSentence, &MainLayout::gbFile},
    {"btProtocol", &LearnLayout::btProtocol, &MainLayout::gbFlowControl},
};

}  // namespace quarzel
