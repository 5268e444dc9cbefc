// The command reference window frmHilfe: a fixed German text of the instruction set in a
// read-only, monospaced text control. It is shown and hidden by the main window's Help button
// and never blocks the main window.
#pragma once

#include <QString>
#include <QWidget>

class QPlainTextEdit;

namespace quarzel {

// The reference text, one line per entry, colons of the instruction lines in column 20.
QString referenceText();

class TfrmHilfe : public QWidget {
    Q_OBJECT

  public:
    explicit TfrmHilfe(QWidget* parent = nullptr);

    QPlainTextEdit* memHilfe() const { return m_memHilfe; }

    // btHelpClick: hides the window when it is visible, else shows it (non-modal).
    void toggle();

  protected:
    void resizeEvent(QResizeEvent* event) override;  // FormResize
    void showEvent(QShowEvent* event) override;

  private:
    QPlainTextEdit* m_memHilfe;
    bool m_outerSizeSet = false;
};

}  // namespace quarzel
