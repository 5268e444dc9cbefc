// "Was geschah": the one line under the command buttons that says what the last step did. Its
// accessible name is the whole sentence, so that a screen reader reads it; a sentence longer
// than the line is cut with "…" on the screen and whole in the tooltip.
#pragma once

#include <QLabel>

namespace quarzel {

class SentenceLine : public QLabel {
    Q_OBJECT

  public:
    explicit SentenceLine(QWidget* parent = nullptr);

    void setSentence(const QString& sentence);
    QString sentence() const { return m_sentence; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showFitted();

    QString m_sentence;
};

}  // namespace quarzel
