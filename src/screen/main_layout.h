// The main window's layout as a pure function: client size in, the rectangle of every control
// out. Positions inside a group box are relative to the box, whose whole area counts as its
// client area. Nothing here touches a widget, so the arithmetic is tested on its own.
#pragma once

namespace quarzel {

struct LayoutRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const LayoutRect& other) const {
        return left == other.left && top == other.top && width == other.width &&
               height == other.height;
    }
};

// The least client size the window's layout is made for: a smaller window keeps the layout of
// this size and scrolls it; a narrower page takes the narrow form instead.
inline constexpr int kMinimumLayoutWidth = 800;
inline constexpr int kMinimumLayoutHeight = 600;

// Sizes of the controls the layout only positions.
inline constexpr int kHoverNumberWidth = 41;
inline constexpr int kHoverValueWidth = 65;
inline constexpr int kHoverFieldHeight = 19;
inline constexpr int kRegisterFieldHeight = 24;
inline constexpr int kRunButtonHeight = 25;
inline constexpr int kSpeedGroupHeight = 89;
inline constexpr int kStepCountHeight = 17;
inline constexpr int kRadioHeight = 17;
inline constexpr int kCommandButtonWidth = 80;
inline constexpr int kNumberColumnWidth = 40;
inline constexpr int kValueColumnWidth = 80;
// The table's row height in the page; the window's is its fixed-pitch font's height and 6,
// which comes to the same 23 pixels with Liberation Mono at 15 pixels.
inline constexpr int kDataRowHeight = 23;
// The characters a cell's editor takes, in the window (a line editor's own limit) and in the
// page; a longer paste is cut there.
inline constexpr int kCellTextMaxLength = 32767;

struct MainLayout {
    LayoutRect gbProgram, meProgram;
    LayoutRect gbData, sgData;
    LayoutRect gbDataGraphical, pbMemory, enumber, evalue, ecomment;
    LayoutRect gbVMInspector;
    LayoutRect gbVMAccu, ebAccu, gbVMWindow, ebWindow, gbVMIndex, ebIndex, gbVMIP, ebIP, gbVMSP,
        ebSP;
    LayoutRect gbFlowControl, btCheck, btRun, gbSpeed, rbStep, rbSlow, rbFast, rbDirect, btStep;
    LayoutRect gbFile, btNew, btLoad, btSave, btHTML, btView, btHelp, btExit;
    // Below the step button, in the run panel's free space: "Zurück" and the step count.
    LayoutRect btBack, lbSteps;
    // Below the step count: "Aufgabe", which shows the task window.
    LayoutRect btAufgabe;
    // Right of the command buttons, in the command group's free space: "Beispiele". Where
    // that space is narrower than a command button it takes what there is.
    LayoutRect btExamples;
};

// Every width and height that comes out negative for a tiny window is clamped to zero as it
// is set; the rules that follow read the clamped value, as they would read it off a widget.
MainLayout computeMainLayout(int clientWidth, int clientHeight);

// The comment column takes the rest of the grid's client width, less 2 pixels; never negative.
int commentColumnWidth(int gridClientWidth, int numberColumnWidth, int valueColumnWidth);

// The window's outer rectangle at start-up: (10, 10) on the screen, the work area less 20 in
// each direction (never negative).
LayoutRect startWindowRect(int workAreaWidth, int workAreaHeight);

}  // namespace quarzel
