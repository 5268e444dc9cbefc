#include "screen/narrow_layout.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "screen/layout_rules.h"

namespace quarzel {
namespace {

using Control = LayoutRect MainLayout::*;

constexpr int kMargin = 5;
constexpr int kGap = 4;
// A group box's first row starts below its caption.
constexpr int kCaptionTop = 15;
constexpr int kRegisterGroupHeight = kCaptionTop + kRegisterFieldHeight + kMargin;
// Icon above caption, as in the window's command buttons.
constexpr int kCommandRowHeight = 56;
// The editor and the table never get lower than this; a lower screen scrolls.
constexpr int kLeastPanelHeight = 160;

// Rows of controls inside a box, each row's controls side by side in equal widths.
class Rows {
  public:
    Rows(MainLayout& l, int width, int top) : m_l(l), m_width(width), m_top(top) {}

    void row(std::initializer_list<Control> controls, int height) {
        row(std::vector<Control>(controls), height);
    }
    void row(const std::vector<Control>& controls, int height) {
        std::vector<LayoutRect*> targets;
        for (Control c : controls) {
            targets.push_back(&(m_l.*c));
        }
        row(targets, height);
    }
    void row(const std::vector<LayoutRect*>& targets, int height) {
        const int n = static_cast<int>(targets.size());
        const int each = (m_width - 2 * kMargin - (n - 1) * kGap) / n;
        for (int i = 0; i < n; ++i) {
            *targets[i] = layoutRect(kMargin + i * (each + kGap), m_top, each, height);
        }
        m_top += height + kGap;
    }
    // A box of its own across the whole width, `height` high; its insides are placed apart.
    LayoutRect box(int height) {
        const LayoutRect r = layoutRect(kMargin, m_top, m_width - 2 * kMargin, height);
        m_top += height + kGap;
        return r;
    }
    // The height of a box holding these rows: the last row's gap gives way to the margin.
    int boxHeight() const { return m_top - kGap + kMargin; }

  private:
    MainLayout& m_l;
    int m_width;
    int m_top;
};

// The run panel's rows, inside a bar of the given width; its height is returned. A control
// added to the panel is one more entry in one of these rows, or one more row.
int placeRunPanel(MainLayout& l, LearnLayout& learn, int width) {
    Rows bar(l, width, kCaptionTop);
    bar.row({&MainLayout::btCheck, &MainLayout::btRun, &MainLayout::btStep, &MainLayout::btBack},
            kTouchSize);
    l.gbSpeed = bar.box(kCaptionTop + kTouchSize + kGap);
    Rows speeds(l, l.gbSpeed.width, kCaptionTop - 2);
    speeds.row(
        {&MainLayout::rbStep, &MainLayout::rbSlow, &MainLayout::rbFast, &MainLayout::rbDirect},
        kTouchSize);
    bar.row({&MainLayout::lbSteps, &MainLayout::btAufgabe}, kTouchSize);
    // The sentence in two lines where three of the four buttons above lie, "Protokoll" under
    // the fourth ("Zurück"): one row for both keeps the bar low on a phone.
    bar.row({&learn.lbSentence, &learn.lbSentence, &learn.lbSentence, &learn.btProtocol},
            kTouchSize);
    learn.lbSentence.width = learn.btProtocol.left - kGap - kMargin;
    learn.lbSentence.left = kMargin;
    return bar.boxHeight();
}

int placeRegisters(MainLayout& l, int width) {
    Rows inspector(l, width, kCaptionTop);
    inspector.row({&MainLayout::gbVMAccu, &MainLayout::gbVMWindow, &MainLayout::gbVMIndex,
                   &MainLayout::gbVMIP, &MainLayout::gbVMSP},
                  kRegisterGroupHeight);
    const LayoutRect field =
        layoutRect(kMargin, kCaptionTop, l.gbVMAccu.width - 2 * kMargin, kRegisterFieldHeight);
    l.ebAccu = l.ebWindow = l.ebIndex = l.ebIP = l.ebSP = field;
    return inspector.boxHeight();
}

// The command buttons in as many rows as the width asks for, at least the window's width each.
int placeCommandButtons(MainLayout& l, int width) {
    const std::vector<Control> buttons = {
        &MainLayout::btNew,  &MainLayout::btLoad, &MainLayout::btSave, &MainLayout::btHTML,
        &MainLayout::btView, &MainLayout::btHelp, &MainLayout::btExit, &MainLayout::btExamples};
    const int fit = (width - 2 * kMargin + kGap) / (kCommandButtonWidth + kGap);
    const auto perRow = static_cast<std::size_t>(std::clamp(fit, 1, 8));
    Rows rows(l, width, kCaptionTop);
    for (std::size_t first = 0; first < buttons.size(); first += perRow) {
        const std::size_t end = std::min(buttons.size(), first + perRow);
        rows.row(std::vector<Control>(buttons.begin() + static_cast<std::ptrdiff_t>(first),
                                      buttons.begin() + static_cast<std::ptrdiff_t>(end)),
                 kCommandRowHeight);
    }
    return rows.boxHeight();
}

}  // namespace

PageLayout computeNarrowLayout(int clientWidth, int clientHeight) {
    PageLayout page;
    page.narrow = true;
    MainLayout& l = page.controls;
    const int width = std::max(0, clientWidth - 2 * kMargin);

    const int barHeight = placeRunPanel(l, page.learn, width);
    page.sentenceBox = &MainLayout::gbFlowControl;
    const int registersHeight = placeRegisters(l, width);
    const int buttonsHeight = placeCommandButtons(l, width);

    // The bar stays on the screen when the screen leaves the panels their least height beside
    // it; otherwise it ends the column and is scrolled to like the rest.
    const int fixedParts = kMargin + registersHeight + 3 * kMargin + buttonsHeight + kMargin;
    page.runPanelFixed = clientHeight >= fixedParts + 2 * kLeastPanelHeight + kMargin + barHeight;
    const int room = page.runPanelFixed ? clientHeight - barHeight : 0;
    const int panelHeight = std::max(kLeastPanelHeight, (room - fixedParts - kMargin) / 2);

    l.gbVMInspector = layoutRect(kMargin, kMargin, width, registersHeight);
    l.gbProgram = layoutRect(kMargin, l.gbVMInspector.bottom() + kMargin, width, panelHeight);
    l.gbData = layoutRect(kMargin, l.gbProgram.bottom() + kMargin, width, panelHeight);
    l.gbDataGraphical = l.gbData;
    placePanelInsides(l);
    l.gbFile = layoutRect(kMargin, l.gbData.bottom() + kMargin, width, buttonsHeight);
    const int columnEnd = l.gbFile.bottom() + kMargin;

    if (page.runPanelFixed) {
        l.gbFlowControl = layoutRect(kMargin, clientHeight - barHeight - kMargin, width, barHeight);
        // The column's end scrolls out from under the bar.
        page.height = std::max(clientHeight, columnEnd + barHeight + kMargin);
    } else {
        l.gbFlowControl = layoutRect(kMargin, columnEnd, width, barHeight);
        page.height = std::max(clientHeight, l.gbFlowControl.bottom() + kMargin);
    }
    page.width = std::max(0, clientWidth);
    return page;
}

PageLayout computePageLayout(int clientWidth, int clientHeight, bool touch) {
    if (touch || clientWidth < kMinimumLayoutWidth) {
        return computeNarrowLayout(clientWidth, clientHeight);
    }
    PageLayout page;
    page.width = clientWidth;
    page.height = std::max(kMinimumLayoutHeight, clientHeight);
    page.controls = computeMainLayout(page.width, page.height);
    page.learn = computeLearnLayout(page.controls);
    return page;
}

}  // namespace quarzel
