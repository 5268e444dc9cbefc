// The command reference window frmHilfe: a fixed German text of the instruction set in a
// read-only, monospaced text control, and beside it on a second page the primer
// ("Einführung"). It is shown and hidden by the main window's Help button and never blocks the
// main window.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace quarzel {

// The reference text, one line per entry, colons of the instruction lines in column 20.
QString referenceText();

class TfrmHilfe : public QWidget {
    Q_OBJECT

  public:
    explicit TfrmHilfe(QWidget* parent = nullptr);

    QPlainTextEdit* memHilfe() const { return m_memHilfe; }
    // The two pages: the command list (memHilfe) and the primer.
    QTabWidget* pages() const { return m_pages; }
    QWidget* primerPage() const { return m_primer; }
    // "Ausprobieren" of the primer's section `section` (of primerSections()); null for a
    // section without a program.
    QPushButton* tryButton(int section) const;

    // What "Ausprobieren" does with its section's program (Windows-1252, CR LF): the main
    // window puts it into the editor. Nothing while unset.
    std::function<void(const std::string& program)> tryProgram;

    // btHelpClick: hides the window when it is visible, else shows it (non-modal).
    void toggle();

  protected:
    void resizeEvent(QResizeEvent* event) override;  // FormResize
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* makePrimerPage();

    QTabWidget* m_pages;
    QPlainTextEdit* m_memHilfe;
    QWidget* m_primer;
    bool m_outerSizeSet = false;
};

}  // namespace quarzel
