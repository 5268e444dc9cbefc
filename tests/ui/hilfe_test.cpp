// The command reference window: its fixed text, showing and hiding, closing, and the text
// control that follows the window's size.
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QtTest>

#include "hilfe.h"

using namespace quarzel;

namespace {

// Written out independently of the window's own table, so a slip in either shows up.
const QStringList kExpectedLines = {
    "Befehlsliste:",
    "",
    "n = direkte, [n] = indirekte Adressierung",
    "Adressierung auch mit Indexregister (X)",
    "",
    "ADD n oder ADD [n] : Addiere Speicherinhalt zum Akku",
    "CAL n              : Sprung zum Unterprogramm an Zeile n",
    "CAL <Name>         : Srung zum Marker <Name>",
    "CLA                : Loesche Akku",
    "DEC                : Verringere Akku um eins",
    "DIV n oder DIV [n] : Dividiere Akku durch Speicherinhalt",
    "                   : ganzzahliger Anteil",
    QString::fromUtf8("INC                : Erh\xC3\xB6he Akku um eins"),
    "INP                : Eine Ziffer von Tastatur in Akku",
    "JEQ n oder <Name>  : Springe zur Zeile / Marke, falls Akku = 0",
    "JGT n oder <Name>  : Springe zur Zeile / Marke, falls Akku > 0",
    "JLT n oder <Name>  : Springe zur Zeile / Marke, falls Akku < 0",
    "JMP n oder <Name>  : Springe unbedingt zur Zeile / Marke",
    "JNE n oder <Name>  : Springe zur Zeile / Marke, falls Akku <> 0",
    "LAD n oder LAD [n] : Lade Speicherinhalt in Akku",
    "MRK Name           : Setze Marke mit Name",
    "MUL n oder MUL [n] : Multipliziere Akku mit Speicherinhalt",
    "NEG                : Akku * (-1)",
    "OUT                : Akku im Fenster anzeigen",
    "POP                : Stack in AKKU",
    "PUS                : Akku auf Stack",
    QString::fromUtf8("RET                : Ende des Unterprogramms, R\xC3\xBC"
                      "cksprung"),
    "SAL                : Schiebe Akkuinhalt 1 BIT nach links",
    "SAR                : Schiebe Akkuinhalt 1 BIT nach rechts",
    "STO n oder STO [n] : Lade Speicher mit Akkuinhalt",
    "STP                : Beende Programm",
    "SUB n oder SUB [n] : Subtrahiere Speicherinhalt vom Akku",
    "TAX                : Inhalt Akku ins Indexregister schieben",
    "TXA                : Inhalt Indexregister in Akku schieben",
};

}  // namespace

class HilfeTest : public QObject {
    Q_OBJECT

  private slots:
    void showsTheReferenceTextExactly() {
        TfrmHilfe window;
        QCOMPARE(kExpectedLines.size(), 34);
        QCOMPARE(window.memHilfe()->toPlainText(), kExpectedLines.join('\n'));
        QCOMPARE(window.memHilfe()->document()->blockCount(), 34);
    }

    void createdHiddenThenShownAtItsPlaceAndSize() {
        TfrmHilfe window;
        QVERIFY(!window.isVisible());
        window.toggle();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.frameGeometry().topLeft(), QPoint(192, 107));
        QCOMPARE(window.frameGeometry().size(), QSize(538, 630));
    }

    void toggleShowsHidesAndShowsAgain() {
        TfrmHilfe window;
        const bool expected[] = {true, false, true};
        for (const bool visible : expected) {
            window.toggle();
            QCOMPARE(window.isVisible(), visible);
        }
        // Non-modal: the main window stays usable.
        QCOMPARE(window.windowModality(), Qt::NonModal);
    }

    void closingHidesAndOnePressShowsAgain() {
        TfrmHilfe window;
        window.toggle();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.close());
        QVERIFY(!window.isVisible());
        window.toggle();
        QVERIFY(window.isVisible());
        // The text survives closing.
        QCOMPARE(window.memHilfe()->toPlainText(), kExpectedLines.join('\n'));
    }

    void textControlFollowsTheSize_data() {
        QTest::addColumn<QSize>("client");
        QTest::newRow("smaller") << QSize(400, 300);
        QTest::newRow("larger") << QSize(700, 800);
        QTest::newRow("tiny") << QSize(60, 40);
    }
    void textControlFollowsTheSize() {
        QFETCH(QSize, client);
        TfrmHilfe window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(client);
        QTRY_COMPARE(window.size(), client);
        // The pages fill the client area less a pixel at the right and the bottom; the command
        // list fills its page.
        QCOMPARE(window.pages()->geometry(), QRect(0, 0, client.width() - 1, client.height() - 1));
        QCOMPARE(window.memHilfe()->size(), window.memHilfe()->parentWidget()->size());
    }

    void textCannotBeChanged() {
        TfrmHilfe window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QPlainTextEdit* text = window.memHilfe();
        QVERIFY(text->isReadOnly());
        text->setFocus();
        QTest::keyClicks(text, "XYZ");
        QTest::keyClick(text, Qt::Key_Delete);
        QTest::keyClick(text, Qt::Key_Backspace);
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(text->toPlainText(), kExpectedLines.join('\n'));
    }

    void longLinesScrollInsteadOfWrapping() {
        TfrmHilfe window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(150, 120);
        QTRY_VERIFY(window.memHilfe()->horizontalScrollBar()->maximum() > 0);
        QVERIFY(window.memHilfe()->verticalScrollBar()->maximum() > 0);
    }
};

QTEST_MAIN(HilfeTest)
#include "hilfe_test.moc"
