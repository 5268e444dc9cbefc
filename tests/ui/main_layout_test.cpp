// The main window's layout arithmetic, checked against the figures of an 800 x 600 client
// area, a full work area, and windows too small for the panels.
#include <QtTest>
#include <memory>

#include "main_layout.h"

using quarzel::LayoutRect;
using quarzel::MainLayout;

Q_DECLARE_METATYPE(LayoutRect)

namespace {

char* describe(const LayoutRect& r) {
    return QTest::toString(
        QStringLiteral("(%1, %2) %3 x %4").arg(r.left).arg(r.top).arg(r.width).arg(r.height));
}

}  // namespace

namespace QTest {
template <>
char* toString(const LayoutRect& r) {
    return describe(r);
}
}  // namespace QTest

class MainLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void at800x600_data();
    void at800x600();
    void registerGroupsStackWithoutGaps();
    void commandButtonsFollowTheDataPanel();
    void tinyWindowsNeverGiveNegativeSizes_data();
    void tinyWindowsNeverGiveNegativeSizes();
    void commentColumn_data();
    void commentColumn();
    void startWindow();
    void backButtonAndStepCountBelowTheStepButton();
};

void MainLayoutTest::at800x600_data() {
    QTest::addColumn<LayoutRect>("actual");
    QTest::addColumn<LayoutRect>("expected");
    const MainLayout l = quarzel::computeMainLayout(800, 600);
    const auto row = [](const char* name, LayoutRect actual, LayoutRect expected) {
        QTest::newRow(name) << actual << expected;
    };
    row("gbProgram", l.gbProgram, {5, 5, 310, 473});
    row("meProgram", l.meProgram, {5, 15, 300, 453});
    row("gbData", l.gbData, {320, 5, 348, 473});
    row("sgData", l.sgData, {5, 15, 338, 453});
    row("gbDataGraphical", l.gbDataGraphical, {320, 5, 348, 473});
    row("pbMemory", l.pbMemory, {5, 15, 338, 429});
    row("enumber", l.enumber, {10, 444, 41, 19});
    row("evalue", l.evalue, {56, 444, 65, 19});
    row("ecomment", l.ecomment, {126, 444, 207, 19});
    row("gbVMInspector", l.gbVMInspector, {673, 5, 116, 292});
    row("gbVMAccu", l.gbVMAccu, {5, 15, 106, 54});
    row("ebAccu", l.ebAccu, {5, 15, 96, 24});
    row("gbVMWindow", l.gbVMWindow, {5, 69, 106, 54});
    row("ebWindow", l.ebWindow, {5, 15, 96, 24});
    row("gbVMIndex", l.gbVMIndex, {5, 123, 106, 54});
    row("gbVMIP", l.gbVMIP, {5, 177, 106, 54});
    row("gbVMSP", l.gbVMSP, {5, 231, 106, 54});
    row("ebSP", l.ebSP, {5, 15, 96, 24});
    row("gbFlowControl", l.gbFlowControl, {673, 302, 116, 292});
    row("btCheck", l.btCheck, {5, 15, 106, 25});
    row("btRun", l.btRun, {5, 42, 106, 25});
    row("gbSpeed", l.gbSpeed, {5, 69, 106, 89});
    row("rbStep", l.rbStep, {5, 16, 96, 17});
    row("rbSlow", l.rbSlow, {5, 32, 96, 17});
    row("rbFast", l.rbFast, {5, 48, 96, 17});
    row("rbDirect", l.rbDirect, {5, 64, 96, 17});
    row("btStep", l.btStep, {5, 160, 106, 25});
    row("gbFile", l.gbFile, {5, 483, 663, 112});
    row("btNew", l.btNew, {15, 15, 80, 82});
    row("btLoad", l.btLoad, {95, 15, 80, 82});
    row("btSave", l.btSave, {175, 15, 80, 82});
    row("btHTML", l.btHTML, {255, 15, 80, 82});
    row("btView", l.btView, {350, 15, 80, 82});
    row("btHelp", l.btHelp, {445, 15, 80, 82});
    row("btExit", l.btExit, {540, 15, 80, 82});
}

void MainLayoutTest::at800x600() {
    QFETCH(LayoutRect, actual);
    QFETCH(LayoutRect, expected);
    QCOMPARE(actual, expected);
}

// Odd sizes exercise the truncations: every register group has the same height and each
// starts where the one above ends, whatever the remainder of the division by five.
void MainLayoutTest::registerGroupsStackWithoutGaps() {
    for (int height = 100; height < 1300; height += 37) {
        const MainLayout l = quarzel::computeMainLayout(1003, height);
        const LayoutRect groups[] = {l.gbVMAccu, l.gbVMWindow, l.gbVMIndex, l.gbVMIP, l.gbVMSP};
        for (int i = 1; i < 5; ++i) {
            QCOMPARE(groups[i].top, groups[i - 1].bottom());
            QCOMPARE(groups[i].height, groups[0].height);
        }
        QVERIFY2(l.gbVMSP.bottom() <= l.gbVMInspector.height,
                 qPrintable(QStringLiteral("height %1").arg(height)));
    }
}

void MainLayoutTest::commandButtonsFollowTheDataPanel() {
    // The 1004 x 718 window of a 1024 x 738 work area, with a client area a little smaller.
    const MainLayout l = quarzel::computeMainLayout(996, 690);
    QCOMPARE(l.gbFile.top, l.gbData.bottom() + 5);
    QCOMPARE(l.gbFile.width, l.gbProgram.width + l.gbData.width + 5);
    QCOMPARE(l.gbData.left, l.gbProgram.right() + 5);
    QCOMPARE(l.gbVMInspector.left, l.gbData.right() + 5);
    QCOMPARE(l.gbFlowControl.top, l.gbVMInspector.bottom() + 5);
    QCOMPARE(l.gbDataGraphical, l.gbData);
    QCOMPARE(l.btLoad.left, l.btNew.right());
    QCOMPARE(l.btView.left, l.btHTML.right() + 15);
    QCOMPARE(l.btExit.left, l.btHelp.right() + 15);
}

void MainLayoutTest::tinyWindowsNeverGiveNegativeSizes_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("one pixel") << 1 << 1;
    QTest::newRow("narrow") << 30 << 600;
    QTest::newRow("flat") << 800 << 40;
    QTest::newRow("small") << 120 << 90;
}

void MainLayoutTest::tinyWindowsNeverGiveNegativeSizes() {
    QFETCH(int, width);
    QFETCH(int, height);
    const MainLayout l = quarzel::computeMainLayout(width, height);
    const LayoutRect all[] = {
        l.gbProgram,  l.meProgram, l.gbData,        l.sgData,        l.gbDataGraphical, l.pbMemory,
        l.enumber,    l.evalue,    l.ecomment,      l.gbVMInspector, l.gbVMAccu,        l.ebAccu,
        l.gbVMWindow, l.ebWindow,  l.gbVMIndex,     l.ebIndex,       l.gbVMIP,          l.ebIP,
        l.gbVMSP,     l.ebSP,      l.gbFlowControl, l.btCheck,       l.btRun,           l.gbSpeed,
        l.rbStep,     l.rbSlow,    l.rbFast,        l.rbDirect,      l.btStep,          l.gbFile,
        l.btNew,      l.btLoad,    l.btSave,        l.btHTML,        l.btView,          l.btHelp,
        l.btExit,     l.btAufgabe};
    for (const LayoutRect& r : all) {
        const std::unique_ptr<char[]> text(describe(r));  // QVERIFY2 does not free it
        QVERIFY2(r.width >= 0 && r.height >= 0, text.get());
    }
    // Clamped sizes are what later rules read: the comment field's width is computed from
    // the clamped group box, and the program editor from the clamped program box.
    QCOMPARE(l.meProgram.width, std::max(0, l.gbProgram.width - 10));
    QCOMPARE(l.gbFile.top, l.gbData.bottom() + 5);
}

void MainLayoutTest::commentColumn_data() {
    QTest::addColumn<int>("clientWidth");
    QTest::addColumn<int>("expected");
    QTest::newRow("800 x 600 grid, scroll bar 15") << 338 - 2 - 15 << 199;
    QTest::newRow("exactly the two columns") << 122 << 0;
    QTest::newRow("narrower than the two columns") << 60 << 0;
}

void MainLayoutTest::commentColumn() {
    QFETCH(int, clientWidth);
    QFETCH(int, expected);
    QCOMPARE(quarzel::commentColumnWidth(clientWidth, 40, 80), expected);
}

void MainLayoutTest::startWindow() {
    QCOMPARE(quarzel::startWindowRect(1024, 738), (LayoutRect{10, 10, 1004, 718}));
    QCOMPARE(quarzel::startWindowRect(1280, 770), (LayoutRect{10, 10, 1260, 750}));
    QCOMPARE(quarzel::startWindowRect(15, 5), (LayoutRect{10, 10, 0, 0}));
}

// "Zurück", the step count and "Aufgabe" sit below the step button, inside the run panel.
void MainLayoutTest::backButtonAndStepCountBelowTheStepButton() {
    const MainLayout l = quarzel::computeMainLayout(800, 600);
    QCOMPARE(l.btBack, (LayoutRect{5, 187, 106, 25}));
    QCOMPARE(l.lbSteps, (LayoutRect{5, 216, 106, 17}));
    QCOMPARE(l.btAufgabe, (LayoutRect{5, 237, 106, 25}));
    QVERIFY(l.btAufgabe.bottom() <= l.gbFlowControl.height);
    for (int height = 500; height < 1400; height += 53) {
        const MainLayout at = quarzel::computeMainLayout(height + 300, height);
        QCOMPARE(at.btBack, (LayoutRect{5, at.btStep.bottom() + 2, at.btStep.width, 25}));
        QCOMPARE(at.lbSteps.top, at.btBack.bottom() + 4);
        QCOMPARE(at.btAufgabe, (LayoutRect{5, at.lbSteps.bottom() + 4, at.btStep.width, 25}));
    }
    // From a client height of 540 the run panel is tall enough for "Aufgabe" too.
    for (int height = 540; height < 1400; height += 53) {
        const MainLayout at = quarzel::computeMainLayout(height + 300, height);
        QVERIFY(at.btAufgabe.bottom() <= at.gbFlowControl.height);
    }
}

QTEST_MAIN(MainLayoutTest)
#include "main_layout_test.moc"
