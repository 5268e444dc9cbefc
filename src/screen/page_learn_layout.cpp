#include "screen/page_learn_layout.h"

#include <algorithm>

#include "screen/layout_rules.h"

namespace quarzel {
namespace {

constexpr int kSliderHeight = 21;
constexpr int kGap = 4;

}  // namespace

// The block under "Aufgabe": the slider, then "Zurück bis Haltepunkt" (an icon) and
// "Protokoll" side by side in the height of the run buttons, then the sentence in what is left.
int placeLearnControlsWide(const MainLayout& l, int surfaceHeight, PageLearnLayout& learn) {
    const int left = l.btAufgabe.left;
    const int width = l.btAufgabe.width;
    int top = l.btAufgabe.bottom() + kGap;
    int bottom = l.gbFlowControl.height - 5;
    int height = surfaceHeight;
    if (bottom - top < kLearnBlockHeight) {
        // Below the panel's frame, in the same column; the surface scrolls down to it.
        top = l.gbFlowControl.height + kGap;
        bottom = top + kLearnBlockHeight;
        height = std::max(surfaceHeight, l.gbFlowControl.top + bottom + 5);
    }
    learn.tbHistory = layoutRect(left, top, width, kSliderHeight);
    top += kSliderHeight + kGap;
    learn.btBackToBreakpoint = layoutRect(left, top, kRunButtonHeight, kRunButtonHeight);
    learn.btProtocol = layoutRect(learn.btBackToBreakpoint.right() + kGap, top,
                                  width - kRunButtonHeight - kGap, kRunButtonHeight);
    top += kRunButtonHeight + kGap;
    learn.lbSentence = layoutRect(left, top, width, bottom - top);
    return height;
}

}  // namespace quarzel
