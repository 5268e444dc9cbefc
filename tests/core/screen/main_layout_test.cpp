// The main window's layout arithmetic, checked against the figures of an 800 x 600 client
// area, a full work area, and windows too small for the panels.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "screen/main_layout.h"

namespace quarzel {

void PrintTo(const LayoutRect& r, std::ostream* out) {
    *out << "(" << r.left << ", " << r.top << ") " << r.width << " x " << r.height;
}

namespace {

struct Expected {
    const char* name;
    LayoutRect MainLayout::*member;
    LayoutRect rect;
};

TEST(MainLayout, At800x600) {
    const MainLayout l = computeMainLayout(800, 600);
    const Expected rows[] = {
        {"gbProgram", &MainLayout::gbProgram, {5, 5, 310, 473}},
        {"meProgram", &MainLayout::meProgram, {5, 15, 300, 453}},
        {"gbData", &MainLayout::gbData, {320, 5, 348, 473}},
        {"sgData", &MainLayout::sgData, {5, 15, 338, 453}},
        {"gbDataGraphical", &MainLayout::gbDataGraphical, {320, 5, 348, 473}},
        {"pbMemory", &MainLayout::pbMemory, {5, 15, 338, 429}},
        {"enumber", &MainLayout::enumber, {10, 444, 41, 19}},
        {"evalue", &MainLayout::evalue, {56, 444, 65, 19}},
        {"ecomment", &MainLayout::ecomment, {126, 444, 207, 19}},
        {"gbVMInspector", &MainLayout::gbVMInspector, {673, 5, 116, 292}},
        {"gbVMAccu", &MainLayout::gbVMAccu, {5, 15, 106, 54}},
        {"ebAccu", &MainLayout::ebAccu, {5, 15, 96, 24}},
        {"gbVMWindow", &MainLayout::gbVMWindow, {5, 69, 106, 54}},
        {"ebWindow", &MainLayout::ebWindow, {5, 15, 96, 24}},
        {"gbVMIndex", &MainLayout::gbVMIndex, {5, 123, 106, 54}},
        {"gbVMIP", &MainLayout::gbVMIP, {5, 177, 106, 54}},
        {"gbVMSP", &MainLayout::gbVMSP, {5, 231, 106, 54}},
        {"ebSP", &MainLayout::ebSP, {5, 15, 96, 24}},
        {"gbFlowControl", &MainLayout::gbFlowControl, {673, 302, 116, 292}},
        {"btCheck", &MainLayout::btCheck, {5, 15, 106, 25}},
        {"btRun", &MainLayout::btRun, {5, 42, 106, 25}},
        {"gbSpeed", &MainLayout::gbSpeed, {5, 69, 106, 89}},
        {"rbStep", &MainLayout::rbStep, {5, 16, 96, 17}},
        {"rbSlow", &MainLayout::rbSlow, {5, 32, 96, 17}},
        {"rbFast", &MainLayout::rbFast, {5, 48, 96, 17}},
        {"rbDirect", &MainLayout::rbDirect, {5, 64, 96, 17}},
        {"btStep", &MainLayout::btStep, {5, 160, 106, 25}},
        {"btBack", &MainLayout::btBack, {5, 187, 106, 25}},
        {"lbSteps", &MainLayout::lbSteps, {5, 216, 106, 17}},
        {"btAufgabe", &MainLayout::btAufgabe, {5, 237, 106, 25}},
        {"gbFile", &MainLayout::gbFile, {5, 483, 663, 112}},
        {"btNew", &MainLayout::btNew, {15, 15, 80, 82}},
        {"btLoad", &MainLayout::btLoad, {95, 15, 80, 82}},
        {"btSave", &MainLayout::btSave, {175, 15, 80, 82}},
        {"btHTML", &MainLayout::btHTML, {255, 15, 80, 82}},
        {"btView", &MainLayout::btView, {350, 15, 80, 82}},
        {"btHelp", &MainLayout::btHelp, {445, 15, 80, 82}},
        {"btExit", &MainLayout::btExit, {540, 15, 80, 82}},
        // The 38 pixels left of the group: a narrower button, closer to "Ende".
        {"btExamples", &MainLayout::btExamples, {623, 15, 35, 82}},
    };
    for (const Expected& row : rows) {
        EXPECT_EQ(l.*row.member, row.rect) << row.name;
    }
}

// Odd sizes exercise the truncations: every register group has the same height and each
// starts where the one above ends, whatever the remainder of the division by five.
TEST(MainLayout, RegisterGroupsStackWithoutGaps) {
    for (int height = 100; height < 1300; height += 37) {
        const MainLayout l = computeMainLayout(1003, height);
        const LayoutRect groups[] = {l.gbVMAccu, l.gbVMWindow, l.gbVMIndex, l.gbVMIP, l.gbVMSP};
        for (int i = 1; i < 5; ++i) {
            EXPECT_EQ(groups[i].top, groups[i - 1].bottom()) << "height " << height;
            EXPECT_EQ(groups[i].height, groups[0].height) << "height " << height;
        }
        EXPECT_LE(l.gbVMSP.bottom(), l.gbVMInspector.height) << "height " << height;
    }
}

TEST(MainLayout, CommandButtonsFollowTheDataPanel) {
    // The 1004 x 718 window of a 1024 x 738 work area, with a client area a little smaller.
    const MainLayout l = computeMainLayout(996, 690);
    EXPECT_EQ(l.gbFile.top, l.gbData.bottom() + 5);
    EXPECT_EQ(l.gbFile.width, l.gbProgram.width + l.gbData.width + 5);
    EXPECT_EQ(l.gbData.left, l.gbProgram.right() + 5);
    EXPECT_EQ(l.gbVMInspector.left, l.gbData.right() + 5);
    EXPECT_EQ(l.gbFlowControl.top, l.gbVMInspector.bottom() + 5);
    EXPECT_EQ(l.gbDataGraphical, l.gbData);
    EXPECT_EQ(l.btLoad.left, l.btNew.right());
    EXPECT_EQ(l.btView.left, l.btHTML.right() + 15);
    EXPECT_EQ(l.btExit.left, l.btHelp.right() + 15);
    EXPECT_EQ(l.btExamples, (LayoutRect{l.btExit.right() + 15, 15, 80, l.btExit.height}));
}

// "Beispiele" never reaches past the group's frame, and never over "Ende", whatever the width.
TEST(MainLayout, ExamplesButtonStaysInTheCommandGroup) {
    for (int width = 780; width < 1400; width += 7) {
        const MainLayout l = computeMainLayout(width, 600);
        EXPECT_GT(l.btExamples.left, l.btExit.right()) << width;
        EXPECT_LE(l.btExamples.right(), l.gbFile.width - 5) << width;
        EXPECT_LE(l.btExamples.width, 80) << width;
        // Where the full button fits after the usual gap, it gets both.
        if (l.gbFile.width - 5 - l.btExit.right() >= 95) {
            EXPECT_EQ(l.btExamples.left, l.btExit.right() + 15) << width;
            EXPECT_EQ(l.btExamples.width, 80) << width;
        }
    }
}

TEST(MainLayout, TinyWindowsNeverGiveNegativeSizes) {
    const std::pair<int, int> sizes[] = {{0, 0}, {1, 1}, {30, 600}, {800, 40}, {120, 90}};
    for (const auto& [width, height] : sizes) {
        const MainLayout l = computeMainLayout(width, height);
        const LayoutRect all[] = {
            l.gbProgram,     l.meProgram, l.gbData,     l.sgData,    l.gbDataGraphical,
            l.pbMemory,      l.enumber,   l.evalue,     l.ecomment,  l.gbVMInspector,
            l.gbVMAccu,      l.ebAccu,    l.gbVMWindow, l.ebWindow,  l.gbVMIndex,
            l.ebIndex,       l.gbVMIP,    l.ebIP,       l.gbVMSP,    l.ebSP,
            l.gbFlowControl, l.btCheck,   l.btRun,      l.gbSpeed,   l.rbStep,
            l.rbSlow,        l.rbFast,    l.rbDirect,   l.btStep,    l.gbFile,
            l.btNew,         l.btLoad,    l.btSave,     l.btHTML,    l.btView,
            l.btHelp,        l.btExit,    l.btAufgabe,  l.btExamples};
        for (const LayoutRect& r : all) {
            EXPECT_GE(r.width, 0) << width << " x " << height;
            EXPECT_GE(r.height, 0) << width << " x " << height;
        }
        // Clamped sizes are what later rules read: the comment field's width is computed from
        // the clamped group box, and the program editor from the clamped program box.
        EXPECT_EQ(l.meProgram.width, std::max(0, l.gbProgram.width - 10));
        EXPECT_EQ(l.gbFile.top, l.gbData.bottom() + 5);
    }
}

TEST(MainLayout, CommentColumn) {
    // An 800 x 600 grid with a scroll bar of 15 pixels, exactly the two columns, narrower.
    const std::pair<int, int> cases[] = {{338 - 2 - 15, 199}, {122, 0}, {60, 0}};
    for (const auto& [clientWidth, expected] : cases) {
        EXPECT_EQ(commentColumnWidth(clientWidth, 40, 80), expected) << clientWidth;
    }
}

TEST(MainLayout, StartWindow) {
    EXPECT_EQ(startWindowRect(1024, 738), (LayoutRect{10, 10, 1004, 718}));
    EXPECT_EQ(startWindowRect(1280, 770), (LayoutRect{10, 10, 1260, 750}));
    EXPECT_EQ(startWindowRect(15, 5), (LayoutRect{10, 10, 0, 0}));
}

// "Zurück", the step count and "Aufgabe" sit below the step button, inside the run panel.
TEST(MainLayout, BackButtonStepCountAndTaskBelowTheStepButton) {
    for (int height = 500; height < 1400; height += 53) {
        const MainLayout at = computeMainLayout(height + 300, height);
        EXPECT_EQ(at.btBack, (LayoutRect{5, at.btStep.bottom() + 2, at.btStep.width, 25}));
        EXPECT_EQ(at.lbSteps.top, at.btBack.bottom() + 4);
        EXPECT_LE(at.lbSteps.bottom(), at.gbFlowControl.height);
        EXPECT_EQ(at.btAufgabe, (LayoutRect{5, at.lbSteps.bottom() + 4, at.btStep.width, 25}));
        // From a client height of 540 the run panel is tall enough for "Aufgabe" too.
        EXPECT_TRUE(height < 540 || at.btAufgabe.bottom() <= at.gbFlowControl.height) << height;
    }
}

}  // namespace
}  // namespace quarzel
