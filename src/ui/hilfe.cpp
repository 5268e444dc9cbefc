#include "hilfe.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStringList>

#include <algorithm>

#include "screen/captions.h"
#include "screen/reference_text.h"
#include "window_placement.h"

namespace quarzel {
namespace {

constexpr int kLeft = 192;
constexpr int kTop = 107;
constexpr int kOuterWidth = 538;
constexpr int kOuterHeight = 630;

}  // namespace

QString referenceText() {
    QStringList lines;
    for (const std::string& line : referenceLines()) {
        lines << QString::fromStdString(line);
    }
    return lines.join(QLatin1Char('\n'));
}

TfrmHilfe::TfrmHilfe(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHilfe"));
    setWindowTitle(QString::fromUtf8(captions::frmHilfe));
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
