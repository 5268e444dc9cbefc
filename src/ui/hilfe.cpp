#include "hilfe.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStringList>

#include <algorithm>

#include "window_placement.h"

namespace quarzel {
namespace {

constexpr int kLeft = 192;
constexpr int kTop = 107;
constexpr int kOuterWidth = 538;
constexpr int kOuterHeight = 630;

// The text as the learners know it, spelling included; "ZZZ" is internal and has no line.
const char* const kReferenceLines[] = {
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
    "INC                : Erhöhe Akku um eins",
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
    "RET                : Ende des Unterprogramms, Rücksprung",
    "SAL                : Schiebe Akkuinhalt 1 BIT nach links",
    "SAR                : Schiebe Akkuinhalt 1 BIT nach rechts",
    "STO n oder STO [n] : Lade Speicher mit Akkuinhalt",
    "STP                : Beende Programm",
    "SUB n oder SUB [n] : Subtrahiere Speicherinhalt vom Akku",
    "TAX                : Inhalt Akku ins Indexregister schieben",
    "TXA                : Inhalt Indexregister in Akku schieben",
};

}  // namespace

QString referenceText() {
    QStringList lines;
    for (const char* line : kReferenceLines) {
        lines << QString::fromUtf8(line);
    }
    return lines.join(QLatin1Char('\n'));
}

TfrmHilfe::TfrmHilfe(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHilfe"));
    setWindowTitle(QStringLiteral("Befehlsreferenz"));
    // Only the main window's closing ends the program, even while this window is open.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_memHilfe = new QPlainTextEdit(this);
    m_memHilfe->setObjectName(QStringLiteral("memHilfe"));
    m_memHilfe->setAccessibleName(windowTitle());
    m_memHilfe->setReadOnly(true);
    m_memHilfe->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Both bars always: a learner sees at once that the list goes on below and to the right.
    m_memHilfe->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memHilfe->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The colons only line up in a fixed-pitch font; the hint finds one where Courier New is
    // missing.
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(13);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    m_memHilfe->setFont(font);
    m_memHilfe->setPlainText(referenceText());

    move(kLeft, kTop);  // a top-level window's position is that of its outer frame
    resize(kOuterWidth, kOuterHeight);
}

void TfrmHilfe::toggle() {
    if (isVisible()) {
        hide();
    } else {
        show();
    }
}

void TfrmHilfe::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_memHilfe->setGeometry(0, 0, std::max(0, width() - 1), std::max(0, height() - 1));
}

void TfrmHilfe::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The frame is known only once the window exists on screen; the outer size is set once,
    // afterwards the size is the user's.
    if (!m_outerSizeSet) {
        m_outerSizeSet = true;
        resize(clientSizeFor(*this, QSize(kOuterWidth, kOuterHeight)));
    }
}

}  // namespace quarzel
