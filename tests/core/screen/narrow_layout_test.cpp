// The page's narrow form on the screens learners use (phones, tablets in portrait) and on
// awkward ones: everything inside the width, nothing on top of anything else, every control
// there and big enough for a finger, the run panel always on the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "screen/layout_fields.h"
#include "screen/narrow_layout.h"

namespace quarzel {
namespace {

using Control = LayoutRect MainLayout::*;

struct Size {
    int width;
    int height;
};

// Phones and tablets upright, the narrowest phone, a narrow desktop window, screens too low
// for the bar to stay, and tablets turned sideways.
const Size kSizes[] = {{390, 844}, {768, 1024}, {320, 568}, {360, 640},
                       {799, 600}, {600, 300},  {390, 420}, {240, 900}};

std::string at(const Size& s) {
    return std::to_string(s.width) + " x " + std::to_string(s.height);
}

// Where each control lies: the box it is placed in (its rectangle is relative to that box).
struct Nesting {
    Control child;
    Control box;
};
const Nesting kNesting[] = {
    {&MainLayout::meProgram, &MainLayout::gbProgram},
    {&MainLayout::sgData, &MainLayout::gbData},
    {&MainLayout::pbMemory, &MainLayout::gbDataGraphical},
    {&MainLayout::enumber, &MainLayout::gbDataGraphical},
    {&MainLayout::evalue, &MainLayout::gbDataGraphical},
    {&MainLayout::ecomment, &MainLayout::gbDataGraphical},
    {&MainLayout::gbVMAccu, &MainLayout::gbVMInspector},
    {&MainLayout::gbVMWindow, &MainLayout::gbVMInspector},
    {&MainLayout::gbVMIndex, &MainLayout::gbVMInspector},
    {&MainLayout::gbVMIP, &MainLayout::gbVMInspector},
    {&MainLayout::gbVMSP, &MainLayout::gbVMInspector},
    {&MainLayout::ebAccu, &MainLayout::gbVMAccu},
    {&MainLayout::ebWindow, &MainLayout::gbVMWindow},
    {&MainLayout::ebIndex, &MainLayout::gbVMIndex},
    {&MainLayout::ebIP, &MainLayout::gbVMIP},
    {&MainLayout::ebSP, &MainLayout::gbVMSP},
    {&MainLayout::btCheck, &MainLayout::gbFlowControl},
    {&MainLayout::btRun, &MainLayout::gbFlowControl},
    {&MainLayout::gbSpeed, &MainLayout::gbFlowControl},
    {&MainLayout::rbStep, &MainLayout::gbSpeed},
    {&MainLayout::rbSlow, &MainLayout::gbSpeed},
    {&MainLayout::rbFast, &MainLayout::gbSpeed},
    {&MainLayout::rbDirect, &MainLayout::gbSpeed},
    {&MainLayout::btStep, &MainLayout::gbFlowControl},
    {&MainLayout::btBack, &MainLayout::gbFlowControl},
    {&MainLayout::lbSteps, &MainLayout::gbFlowControl},
    {&MainLayout::btAufgabe, &MainLayout::gbFlowControl},
    {&MainLayout::btNew, &MainLayout::gbFile},
    {&MainLayout::btLoad, &MainLayout::gbFile},
    {&MainLayout::btSave, &MainLayout::gbFile},
    {&MainLayout::btHTML, &MainLayout::gbFile},
    {&MainLayout::btView, &MainLayout::gbFile},
    {&MainLayout::btHelp, &MainLayout::gbFile},
    {&MainLayout::btExit, &MainLayout::gbFile},
    {&MainLayout::btExamples, &MainLayout::gbFile},
};

// Boxes placed straight on the page; the table and the picture take turns in one place.
const Control kPageBoxes[] = {&MainLayout::gbVMInspector, &MainLayout::gbProgram,
                              &MainLayout::gbData, &MainLayout::gbFile, &MainLayout::gbFlowControl};

bool overlap(const LayoutRect& a, const LayoutRect& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

const char* nameOf(Control c) {
    for (const LayoutField& field : kLayoutFields) {
        if (field.rect == c) {
            return field.name;
        }
    }
    return "?";
}

// Below 800 pixels of width, or under a finger at any width (a tablet turned sideways).
TEST(NarrowLayout, TakenWhenNarrowOrTouched) {
    EXPECT_TRUE(computePageLayout(799, 1200).narrow);
    EXPECT_TRUE(computePageLayout(390, 844).narrow);
    for (const Size& s : {Size{1024, 768}, Size{1366, 1024}, Size{390, 844}}) {
        const PageLayout touched = computePageLayout(s.width, s.height, true);
        EXPECT_TRUE(touched.narrow) << at(s);
        EXPECT_EQ(touched.controls.btRun, computeNarrowLayout(s.width, s.height).controls.btRun)
            << at(s);
    }
    // From 800 pixels the page is laid out as the window, a low client on at least 600.
    for (const Size& s : {Size{800, 600}, Size{1366, 768}, Size{1000, 480}}) {
        const PageLayout page = computePageLayout(s.width, s.height);
        EXPECT_FALSE(page.narrow) << at(s);
        EXPECT_FALSE(page.runPanelFixed) << at(s);
        const int height = std::max(600, s.height);
        EXPECT_EQ(page.width, s.width) << at(s);
        EXPECT_EQ(page.height, height) << at(s);
        const MainLayout window = computeMainLayout(s.width, height);
        for (const LayoutField& field : kLayoutFields) {
            EXPECT_EQ(page.controls.*field.rect, window.*field.rect) << field.name << at(s);
        }
    }
}

TEST(NarrowLayout, EveryControlInsideItsBoxAndTheWidth) {
    for (const Size& s : kSizes) {
        const PageLayout page = computeNarrowLayout(s.width, s.height);
        const MainLayout& l = page.controls;
        EXPECT_EQ(page.width, s.width) << at(s);
        for (Control box : kPageBoxes) {
            const LayoutRect& r = l.*box;
            EXPECT_GE(r.left, 0) << nameOf(box) << at(s);
            EXPECT_GE(r.top, 0) << nameOf(box) << at(s);
            EXPECT_LE(r.right(), s.width) << nameOf(box) << at(s);
            EXPECT_LE(r.bottom(), page.height) << nameOf(box) << at(s);
        }
        for (const Nesting& n : kNesting) {
            const LayoutRect& child = l.*n.child;
            const LayoutRect& box = l.*n.box;
            EXPECT_TRUE(child.left >= 0 && child.top >= 0 && child.right() <= box.width &&
                        child.bottom() <= box.height)
                << nameOf(n.child) << " outside " << nameOf(n.box) << at(s);
        }
        // Every control of the window is there, none shrunk to nothing.
        for (const LayoutField& field : kLayoutFields) {
            EXPECT_GT((l.*field.rect).width, 0) << field.name << at(s);
            EXPECT_GT((l.*field.rect).height, 0) << field.name << at(s);
        }
    }
}

TEST(NarrowLayout, NothingOnTopOfAnything) {
    for (const Size& s : kSizes) {
        const MainLayout l = computeNarrowLayout(s.width, s.height).controls;
        // Boxes of the page, apart from the bar fixed on the screen (its own case below).
        for (Control a : kPageBoxes) {
            for (Control b : kPageBoxes) {
                if (a != b && a != &MainLayout::gbFlowControl && b != &MainLayout::gbFlowControl) {
                    EXPECT_FALSE(overlap(l.*a, l.*b)) << nameOf(a) << " on " << nameOf(b) << at(s);
                }
            }
        }
        // Controls sharing a box.
        for (const Nesting& a : kNesting) {
            for (const Nesting& b : kNesting) {
                if (a.child != b.child && a.box == b.box) {
                    EXPECT_FALSE(overlap(l.*a.child, l.*b.child))
                        << nameOf(a.child) << " on " << nameOf(b.child) << at(s);
                }
            }
        }
        EXPECT_EQ(l.gbDataGraphical, l.gbData) << at(s);
    }
}

// The bar stays inside the screen however far the column is scrolled, and at the column's
// end nothing of it lies under the bar; a screen too low for it gets the bar at the end.
TEST(NarrowLayout, RunPanelAlwaysReachable) {
    for (const Size& s : kSizes) {
        const PageLayout page = computeNarrowLayout(s.width, s.height);
        const LayoutRect& bar = page.controls.gbFlowControl;
        if (page.runPanelFixed) {
            EXPECT_GE(bar.top, 0) << at(s);
            EXPECT_LE(bar.bottom(), s.height) << at(s);
            const int scrolledToEnd = page.height - s.height;
            EXPECT_LE(page.controls.gbFile.bottom() - scrolledToEnd, bar.top) << at(s);
        } else {
            EXPECT_GE(bar.top, page.controls.gbFile.bottom()) << at(s);
            EXPECT_LE(bar.bottom(), page.height) << at(s);
        }
    }
    EXPECT_TRUE(computeNarrowLayout(390, 844).runPanelFixed);
    EXPECT_TRUE(computeNarrowLayout(768, 1024).runPanelFixed);
    EXPECT_FALSE(computeNarrowLayout(600, 300).runPanelFixed);
}

TEST(NarrowLayout, ProgramAboveTableAtFullWidthAndTouchSizedControls) {
    const Control tapped[] = {&MainLayout::btCheck, &MainLayout::btRun,     &MainLayout::btStep,
                              &MainLayout::btBack,  &MainLayout::rbStep,    &MainLayout::rbSlow,
                              &MainLayout::rbFast,  &MainLayout::rbDirect,  &MainLayout::btAufgabe,
                              &MainLayout::btNew,   &MainLayout::btLoad,    &MainLayout::btSave,
                              &MainLayout::btHTML,  &MainLayout::btView,    &MainLayout::btHelp,
                              &MainLayout::btExit,  &MainLayout::btExamples};
    for (const Size& s : kSizes) {
        const PageLayout page = computeNarrowLayout(s.width, s.height);
        const MainLayout& l = page.controls;
        EXPECT_EQ(l.gbProgram.width, s.width - 10) << at(s);
        EXPECT_EQ(l.gbData.width, s.width - 10) << at(s);
        EXPECT_EQ(l.gbData.left, l.gbProgram.left) << at(s);
        EXPECT_GT(l.gbData.top, l.gbProgram.bottom()) << at(s);
        EXPECT_GE(l.gbProgram.height, 160) << at(s);
        // The registers side by side in one row.
        EXPECT_EQ(l.gbVMSP.top, l.gbVMAccu.top) << at(s);
        for (Control c : tapped) {
            EXPECT_GE((l.*c).width, kTouchSize) << nameOf(c) << at(s);
            EXPECT_GE((l.*c).height, kTouchSize) << nameOf(c) << at(s);
        }
    }
}

// The window's form places "Was geschah" and "Protokoll" where the window does, on a surface
// no higher than the window's (the page does not scroll for them); the narrow form puts both
// in the bar, beside nothing else of it, the button at the touch size.
TEST(PageLearnLayout, WindowsPlacesWideAndTheBarNarrow) {
    const Size sizes[] = {{390, 844}, {768, 1024}, {320, 568},  {240, 900},  {600, 300},
                          {800, 600}, {1366, 768}, {1000, 480}, {1920, 1080}};
    const Control bar[] = {&MainLayout::btCheck,  &MainLayout::btRun,  &MainLayout::gbSpeed,
                           &MainLayout::btStep,   &MainLayout::btBack, &MainLayout::lbSteps,
                           &MainLayout::btAufgabe};
    for (const Size& s : sizes) {
        const PageLayout page = computePageLayout(s.width, s.height);
        if (!page.narrow) {
            const int height = std::max(600, s.height);
            EXPECT_EQ(page.height, height) << at(s);
            const LearnLayout window = computeLearnLayout(computeMainLayout(s.width, height));
            for (const LearnLayoutField& field : kLearnLayoutFields) {
                EXPECT_EQ(page.learn.*field.rect, window.*field.rect) << field.name << at(s);
            }
            EXPECT_EQ(page.sentenceBox, &MainLayout::gbFile) << at(s);
            continue;
        }
        EXPECT_EQ(page.sentenceBox, &MainLayout::gbFlowControl) << at(s);
        const LayoutRect& box = page.controls.gbFlowControl;
        for (const LearnLayoutField& a : kLearnLayoutFields) {
            const LayoutRect& r = page.learn.*a.rect;
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right() <= box.width &&
                        r.bottom() <= box.height)
                << a.name << " outside the bar" << at(s);
            for (Control c : bar) {
                EXPECT_FALSE(overlap(r, page.controls.*c))
                    << a.name << " on " << nameOf(c) << at(s);
            }
        }
        EXPECT_FALSE(overlap(page.learn.lbSentence, page.learn.btProtocol)) << at(s);
        EXPECT_GE(page.learn.btProtocol.width, kTouchSize) << at(s);
        EXPECT_GE(page.learn.btProtocol.height, kTouchSize) << at(s);
        // Two lines of the sentence, wider than the button beside it.
        EXPECT_GE(page.learn.lbSentence.height, 32) << at(s);
        EXPECT_GT(page.learn.lbSentence.width, 2 * page.learn.btProtocol.width) << at(s);
        EXPECT_GT(page.learn.lbSentence.top, page.controls.lbSteps.top) << at(s);
    }
}

// A taller screen gives the panels the room; the bar keeps to the bottom.
TEST(NarrowLayout, PanelsGrowWithTheScreen) {
    const PageLayout low = computeNarrowLayout(390, 700);
    const PageLayout high = computeNarrowLayout(390, 900);
    EXPECT_GT(high.controls.gbProgram.height, low.controls.gbProgram.height);
    EXPECT_EQ(high.controls.gbProgram.height, high.controls.gbData.height);
    EXPECT_EQ(high.controls.gbFlowControl.bottom(), 900 - 5);
    EXPECT_EQ(high.height, 900);
}

}  // namespace
}  // namespace quarzel
