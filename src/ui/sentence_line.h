// "Was geschah": the one line under the command buttons that says what the last step did. Its
// accessible name is the whole sentence, so that a screen reader reads it; a sentence longer
// than the line is cut with "…" on the screen and whole in the tooltip.
#pragma once

#include <QLabel>

namespace quarzel {

// A label by its role for screen readers, but its text is drawn here: a new sentence at every
// frame of a run asks for no layout of the window (as QLabel::setText would) and is cut to the
// line's width once, when it is drawn.
class SentenceLine : public QLabel {
    Q_OBJECT

  public:
    explicit SentenceLine(QWidget* parent = nullptr);

    void setSentence(const QString& sentence);
    QString sentence() const { return m_sentence; }
    // The sentence as the line shows it, cut to its width.
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QString m_sentence;
    mutable QString m_shown;
    mutable bool m_fitted = true;
};

}  // namespace quarzel
