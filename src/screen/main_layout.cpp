#include "screen/main_layout.h"

#include <algorithm>

namespace quarzel {
namespace {

LayoutRect rect(int left, int top, int width, int height) {
    return {left, top, std::max(0, width), std::max(0, height)};
}

// trunc(fraction * size): the product in floating point, the fraction dropped toward zero.
int part(double fraction, int size) {
    return static_cast<int>(fraction * size);
}

}  // namespace

MainLayout computeMainLayout(int clientWidth, int clientHeight) {
    const int w = clientWidth - 25;
    const int h = clientHeight - 15;
    MainLayout l;

    l.gbProgram = rect(5, 5, part(0.4, w), part(0.8, h) + 5);
    l.meProgram = rect(5, 15, l.gbProgram.width - 10, l.gbProgram.height - 20);

    l.gbData = rect(l.gbProgram.right() + 5, 5, part(0.45, w), part(0.8, h) + 5);
    l.gbDataGraphical = rect(l.gbProgram.right() + 5, 5, part(0.45, w), part(0.8, h) + 5);
    l.pbMemory = rect(5, 15, l.gbDataGraphical.width - 10,
                      l.gbDataGraphical.height - 25 - kHoverFieldHeight);
    l.enumber = rect(10, l.pbMemory.bottom(), kHoverNumberWidth, kHoverFieldHeight);
    l.evalue = rect(l.enumber.right() + 5, l.enumber.top, kHoverValueWidth, kHoverFieldHeight);
    const int commentLeft = l.evalue.right() + 5;
    l.ecomment = rect(commentLeft, l.enumber.top, l.gbDataGraphical.width - 15 - commentLeft,
                      kHoverFieldHeight);
    l.sgData = rect(5, 15, l.gbData.width - 10, l.gbData.height - 20);

    l.gbVMInspector = rect(l.gbData.right() + 5, 5, part(0.15, w), part(0.5, h));
    l.gbVMAccu = rect(5, 15, l.gbVMInspector.width - 10, (l.gbVMInspector.height - 20) / 5);
    const int fieldTop = (l.gbVMAccu.height - kRegisterFieldHeight) / 2;
    const int fieldWidth = l.gbVMAccu.width - 10;
    l.ebAccu = rect(5, fieldTop, fieldWidth, kRegisterFieldHeight);
    l.gbVMWindow = rect(5, l.gbVMAccu.bottom(), l.gbVMAccu.width, l.gbVMAccu.height);
    l.ebWindow = rect(5, fieldTop, fieldWidth, kRegisterFieldHeight);
    l.gbVMIndex = rect(5, l.gbVMWindow.bottom(), l.gbVMAccu.width, l.gbVMAccu.height);
    l.ebIndex = rect(5, fieldTop, fieldWidth, kRegisterFieldHeight);
    l.gbVMIP = rect(5, l.gbVMIndex.bottom(), l.gbVMAccu.width, l.gbVMAccu.height);
    l.ebIP = rect(5, fieldTop, fieldWidth, kRegisterFieldHeight);
    l.gbVMSP = rect(5, l.gbVMIP.bottom(), l.gbVMAccu.width, l.gbVMAccu.height);
    l.ebSP = rect(5, fieldTop, fieldWidth, kRegisterFieldHeight);

    l.gbFlowControl =
        rect(l.gbVMInspector.left, l.gbVMInspector.bottom() + 5, part(0.15, w), part(0.5, h));
    l.btCheck = rect(5, 15, l.gbFlowControl.width - 10, kRunButtonHeight);
    l.btRun = rect(5, l.btCheck.bottom() + 2, l.btCheck.width, kRunButtonHeight);
    l.gbSpeed = rect(5, l.btRun.bottom() + 2, l.btRun.width, kSpeedGroupHeight);
    const int radioWidth = l.gbSpeed.width - 10;
    l.rbStep = rect(5, 16, radioWidth, kRadioHeight);
    l.rbSlow = rect(5, 32, radioWidth, kRadioHeight);
    l.rbFast = rect(5, 48, radioWidth, kRadioHeight);
    l.rbDirect = rect(5, 64, radioWidth, kRadioHeight);
    l.btStep = rect(5, l.gbSpeed.bottom() + 2, l.gbSpeed.width, kRunButtonHeight);
    l.btBack = rect(5, l.btStep.bottom() + 2, l.btStep.width, kRunButtonHeight);
    l.lbSteps = rect(5, l.btBack.bottom() + 4, l.btBack.width, kStepCountHeight);
    l.btAufgabe = rect(5, l.lbSteps.bottom() + 4, l.btStep.width, kRunButtonHeight);

    l.gbFile =
        rect(5, l.gbData.bottom() + 5, l.gbData.width + l.gbProgram.width + 5, part(0.2, h) - 5);
    const int buttonHeight = l.gbFile.height - 30;
    l.btNew = rect(15, 15, kCommandButtonWidth, buttonHeight);
    l.btLoad = rect(l.btNew.right(), 15, kCommandButtonWidth, buttonHeight);
    l.btSave = rect(l.btLoad.right(), 15, kCommandButtonWidth, buttonHeight);
    l.btHTML = rect(l.btSave.right(), 15, kCommandButtonWidth, buttonHeight);
    l.btView = rect(l.btHTML.right() + 15, 15, kCommandButtonWidth, buttonHeight);
    l.btHelp = rect(l.btView.right() + 15, 15, kCommandButtonWidth, buttonHeight);
    l.btExit = rect(l.btHelp.right() + 15, 15, kCommandButtonWidth, buttonHeight);
    // The group's frame keeps 5 pixels at its right; the usual gap of 15 only where the whole
    // button fits after it (not at 800 x 600, where 38 pixels are left).
    const int freeWidth = l.gbFile.width - 5 - l.btExit.right();
    const int gap = freeWidth >= 15 + kCommandButtonWidth ? 15 : 3;
    l.btExamples = rect(l.btExit.right() + gap, 15, std::min(kCommandButtonWidth, freeWidth - gap),
                        buttonHeight);
    return l;
}

int commentColumnWidth(int gridClientWidth, int numberColumnWidth, int valueColumnWidth) {
    return std::max(0, gridClientWidth - numberColumnWidth - valueColumnWidth - 2);
}

LayoutRect startWindowRect(int workAreaWidth, int workAreaHeight) {
    return rect(10, 10, workAreaWidth - 20, workAreaHeight - 20);
}

}  // namespace quarzel
