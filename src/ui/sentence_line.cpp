#include "sentence_line.h"

#include <QFontMetrics>
#include <algorithm>

namespace quarzel {

SentenceLine::SentenceLine(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A name in angle brackets or with "&" is the program's text, never markup or a key.
    setTextInteractionFlags(Qt::NoTextInteraction);
}

void SentenceLine::setSentence(const QString& sentence) {
    if (sentence == m_sentence) {
        return;
    }
    m_sentence = sentence;
    setAccessibleName(sentence);
    setToolTip(sentence);
    showFitted();
}

void SentenceLine::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    showFitted();
}

void SentenceLine::showFitted() {
    setText(fontMetrics().elidedText(m_sentence, Qt::ElideRight, std::max(0, width() - 2)));
}

}  // namespace quarzel
