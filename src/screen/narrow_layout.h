// The page's two forms of the layout: the window's own from 800 pixels wide, and below that a
// narrow form for tablets in portrait and phones, with touch-sized controls in one column.
#pragma once

#include "screen/learn_layout.h"
#include "screen/main_layout.h"

namespace quarzel {

// The least size of a control that is tapped with a finger.
inline constexpr int kTouchSize = 44;

struct PageLayout {
    bool narrow = false;
    // The run panel stays at the bottom of the client area while the rest scrolls beneath it
    // (the narrow form, when the screen is tall enough for it); its rectangle is then the
    // client area's, the others the scrolled surface's.
    bool runPanelFixed = false;
    // The surface the controls lie on: the client size, at least 800 x 600, in the window's
    // form; the client width and the column's height (at least the client height) in the
    // narrow form.
    int width = 0;
    int height = 0;
    MainLayout controls;
    // "Was geschah" and "Protokoll". In the window's form they are the window's own rectangles
    // (the line in the command group, the button in the run panel); in the narrow form both lie
    // in the bar. "Verlauf" and "Zurück bis Haltepunkt" head the protocol panel in both forms.
    LearnLayout learn;
    // The box the line "Was geschah" lies in (its rectangle is relative to that box).
    LayoutRect MainLayout::*sentenceBox = &MainLayout::gbFile;
};

// Everything in one column at the client width: the registers side by side, the program, the
// table (or picture), the command buttons in rows; the run panel in a bar at the bottom.
PageLayout computeNarrowLayout(int clientWidth, int clientHeight);

// The form for a page of this client size: the narrow one below 800 pixels of width, and on a
// touch screen, whose fingers need controls of 44 x 44 pixels that the window's form has no
// room for; else the window's (a client lower than 600 pixels scrolls).
PageLayout computePageLayout(int clientWidth, int clientHeight, bool touch = false);

}  // namespace quarzel
