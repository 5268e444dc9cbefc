// The page's controls of a run's learning aids in the run panel: "Was geschah", "Verlauf",
// "Zurück bis Haltepunkt" and "Protokoll". The window places its own (learn_layout.h); the page
// takes these from its layout function in both forms, relative to the run panel as its others.
#pragma once

#include "screen/main_layout.h"

namespace quarzel {

struct PageLearnLayout {
    LayoutRect tbHistory;           // the slider "Verlauf", under the step count
    LayoutRect btBackToBreakpoint;  // "Zurück bis Haltepunkt"
    LayoutRect btProtocol;          // opens the panel "Protokoll"
    LayoutRect lbSentence;          // "Was geschah": the sentence of the step taken last
};

struct PageLearnField {
    const char* name;
    LayoutRect PageLearnLayout::*rect;
};

inline constexpr PageLearnField kPageLearnFields[] = {
    {"tbHistory", &PageLearnLayout::tbHistory},
    {"btBackToBreakpoint", &PageLearnLayout::btBackToBreakpoint},
    {"btProtocol", &PageLearnLayout::btProtocol},
    {"lbSentence", &PageLearnLayout::lbSentence},
};

// The height the window's form needs below "Aufgabe" for the controls above: where the run
// panel's free space is lower (a client lower than about 700 pixels), they lie below the panel
// instead, and the page's surface grows by as much.
inline constexpr int kLearnBlockHeight = 70;

// The controls in the window's form, from its layout `l` of a surface `surfaceHeight` high;
// returns the surface's height with them (larger only when they lie below the run panel).
int placeLearnControlsWide(const MainLayout& l, int surfaceHeight, PageLearnLayout& learn);

}  // namespace quarzel
