#include "sentence_line.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

namespace quarzel {

namespace {

constexpr Qt::Alignment kAlignment = Qt::AlignLeft | Qt::AlignVCenter;

}  // namespace

SentenceLine::SentenceLine(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(kAlignment);
    // A name in angle brackets or with "&" is the program's text, never markup or a key.
    setTextInteractionFlags(Qt::NoTextInteraction);
}

void SentenceLine::setSentence(const QString& sentence) {
    if (sentence == m_sentence) {
        return;
    }
    m_sentence = sentence;
    m_fitted = false;
    setAccessibleName(sentence);
    setToolTip(sentence);
    update(contentsRect());
}

QString SentenceLine::shownText() const {
    if (!m_fitted) {
        m_shown = fontMetrics().elidedText(m_sentence, Qt::ElideRight, std::max(0, width() - 2));
        m_fitted = true;
    }
    return m_shown;
}

void SentenceLine::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    m_fitted = false;
}

void SentenceLine::paintEvent(QPaintEvent* /*event*/) {
    // Drawn as a plain label draws its text: the style's item text in the window's text colour.
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawItemText(&painter, contentsRect(),
                          static_cast<int>(kAlignment) | Qt::TextForceLeftToRight, option.palette,
                          isEnabled(), shownText(), foregroundRole());
}

}  // namespace quarzel
