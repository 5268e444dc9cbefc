#include "screen/main_layout.h"

#include "screen/layout_rules.h"

#include <algorithm>

namespace quarzel {

LayoutRect layoutRect(int left, int top, int width, int height) {
    return {left, top, std::max(0, width), std::max(0, height)};
}

void placePanelInsides(MainLayout& l) {
    l.meProgram = layoutRect(5, 15, l.gbProgram.width - 10, l.gbProgram.height - 20);
    l.pbMemory = layoutRect(5, 15, l.gbDataGraphical.width - 10,
                            l.gbDataGraphical.height - 25 - kHoverFieldHeight);
    l.enumber = layoutRect(10, l.pbMemory.bottom(), kHoverNumberWidth, kHoverFieldHeight);
    l.evalue =
        layoutRect(l.enumber.right() + 5, l.enumber.top, kHoverValueWidth, kHoverFieldHeight);
    const int commentLeft = l.evalue.right() + 5;
    l.ecomment = layoutRect(commentLeft, l.enumber.top, l.gbDataGraphical.width - 15 - commentLeft,
                            kHoverFieldHeight);
    l.sgData = layoutRect(5, 15, l.gbData.width - 10, l.gbData.height - 20);
}

namespace {

// trunc(fraction * size): the product in floating point, the fraction dropped toward zero.
int part(double fraction, int size) {
    return static_cast<int>(fraction * size);
}

}  // namespace

MainLayout computeMainLayout(int clientWidth, int clientHeight) {
    const int w = clientWidth - 25;
    const int h = clientHeight - 15;
    MainLayout l;

    l.gbProgram = layoutRect(5, 5, part(0.4, w), part(0.8, h) + 5);
    l.gbData = layoutRect(l.gbProgram.right() + 5, 5, part(0.45, w), part(0.8, h) + 5);
    l.gbDataGraphical = layoutRect(l.gbProgram.right() + 5, 5, part(0.45, w), part(0.8, h) + 5);
    placePanelInsides(l);

    l.gbVMInspector = layoutRect(l.gbData.right() + 5, 5, part(0.15, w), part(0.5, h));
    l.gbVMAccu = layoutRect(5, 15, l.gbVMInspector.width - 10, (l.gbVMInspector.height - 20) / 5);
    const int fieldTop = (l.gbVMAccu.height - kRegisterFieldHeight) / 2;
    const int fieldWidth = l.gbVMAccu.width - 10;
    l.ebAccu = layoutRect(5, fieldTop, fieldWidth, kRegisterFieldHeight);
    l.gbVMWindow = layoutRect(5, l.gbVMAccu.bottom(), l.gbVMAccu.width, l.gbVMAccu.height);
    l.ebWindow = layoutRect(5, fieldTop, fieldWidth, kRegisterFieldHeight);
    l.gbVMIndex = layoutRect(5, l.gbVMWindow.bottom(), l.gbVMAccu.width, l.gbVMAccu.height);
    l.ebIndex = layoutRect(5, fieldTop, fieldWidth, kRegisterFieldHeight);
    l.gbVMIP = layoutRect(5, l.gbVMIndex.bottom(), l.gbVMAccu.width, l.gbVMAccu.height);
    l.ebIP = layoutRect(5, fieldTop, fieldWidth, kRegisterFieldHeight);
    l.gbVMSP = layoutRect(5, l.gbVMIP.bottom(), l.gbVMAccu.width, l.gbVMAccu.height);
    l.ebSP = layoutRect(5, fieldTop, fieldWidth, kRegisterFieldHeight);

    l.gbFlowControl =
        layoutRect(l.gbVMInspector.left, l.gbVMInspector.bottom() + 5, part(0.15, w), part(0.5, h));
    l.btCheck = layoutRect(5, 15, l.gbFlowControl.width - 10, kRunButtonHeight);
    l.btRun = layoutRect(5, l.btCheck.bottom() + 2, l.btCheck.width, kRunButtonHeight);
    l.gbSpeed = layoutRect(5, l.btRun.bottom() + 2, l.btRun.width, kSpeedGroupHeight);
    const int radioWidth = l.gbSpeed.width - 10;
    l.rbStep = layoutRect(5, 16, radioWidth, kRadioHeight);
    l.rbSlow = layoutRect(5, 32, radioWidth, kRadioHeight);
    l.rbFast = layoutRect(5, 48, radioWidth, kRadioHeight);
    l.rbDirect = layoutRect(5, 64, radioWidth, kRadioHeight);
    l.btStep = layoutRect(5, l.gbSpeed.bottom() + 2, l.gbSpeed.width, kRunButtonHeight);
    l.btBack = layoutRect(5, l.btStep.bottom() + 2, l.btStep.width, kRunButtonHeight);
    l.lbSteps = layoutRect(5, l.btBack.bottom() + 4, l.btBack.width, kStepCountHeight);
    l.btAufgabe = layoutRect(5, l.lbSteps.bottom() + 4, l.btStep.width, kRunButtonHeight);

    l.gbFile = layoutRect(5, l.gbData.bottom() + 5, l.gbData.width + l.gbProgram.width + 5,
                          part(0.2, h) - 5);
    const int buttonHeight = l.gbFile.height - 30;
    l.btNew = layoutRect(15, 15, kCommandButtonWidth, buttonHeight);
    l.btLoad = layoutRect(l.btNew.right(), 15, kCommandButtonWidth, buttonHeight);
    l.btSave = layoutRect(l.btLoad.right(), 15, kCommandButtonWidth, buttonHeight);
    l.btHTML = layoutRect(l.btSave.right(), 15, kCommandButtonWidth, buttonHeight);
    l.btView = layoutRect(l.btHTML.right() + 15, 15, kCommandButtonWidth, buttonHeight);
    l.btHelp = layoutRect(l.btView.right() + 15, 15, kCommandButtonWidth, buttonHeight);
    l.btExit = layoutRect(l.btHelp.right() + 15, 15, kCommandButtonWidth, buttonHeight);
    // The group's frame keeps 5 pixels at its right; the usual gap of 15 only where the whole
    // button fits after it (not at 800 x 600, where 38 pixels are left).
    const int freeWidth = l.gbFile.width - 5 - l.btExit.right();
    const int gap = freeWidth >= 15 + kCommandButtonWidth ? 15 : 3;
    l.btExamples = layoutRect(l.btExit.right() + gap, 15,
                              std::min(kCommandButtonWidth, freeWidth - gap), buttonHeight);
    return l;
}

int commentColumnWidth(int gridClientWidth, int numberColumnWidth, int valueColumnWidth) {
    return std::max(0, gridClientWidth - numberColumnWidth - valueColumnWidth - 2);
}

LayoutRect startWindowRect(int workAreaWidth, int workAreaHeight) {
    return layoutRect(10, 10, workAreaWidth - 20, workAreaHeight - 20);
}

}  // namespace quarzel
