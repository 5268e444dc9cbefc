#include "screen/learn_layout.h"

#include "screen/layout_rules.h"

namespace quarzel {

namespace {

// A box's frame line at its bottom: nothing placed inside goes below this.
constexpr int kFrameBottom = 2;

}  // namespace

LearnLayout computeLearnLayout(const MainLayout& l) {
    LearnLayout learn;
    // At 800 x 600 the command buttons leave 15 pixels above the group's frame line: one line
    // of the window's 11-pixel font.
    const int sentenceTop = l.btNew.bottom();
    learn.lbSentence = layoutRect(l.btNew.left, sentenceTop, l.btExamples.right() - l.btNew.left,
                                  l.gbFile.height - kFrameBottom - sentenceTop);
    learn.btProtocol =
        layoutRect(l.btAufgabe.left, l.btAufgabe.bottom() + 2, l.btAufgabe.width, kRunButtonHeight);
    return learn;
}

}  // namespace quarzel
