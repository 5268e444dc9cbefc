// meProgram: the program editor as a QPlainTextEdit that the core sees through
// ProgramEditorView. Lines are text blocks (no wrapping), so block numbers, line numbers and
// the vertical scroll position all count the same lines.
#pragma once

#include <QPlainTextEdit>
#include <QStaticText>
#include <cstddef>
#include <functional>
#include <vector>

#include "common/views.h"

class QAction;

namespace quarzel {

class ProgramEditor : public QPlainTextEdit, public ProgramEditorView {
    Q_OBJECT

  public:
    explicit ProgramEditor(QWidget* parent = nullptr);

    void setChangeHandler(std::function<void()> handler) override;
    int lineCount() const override;
    std::string lineText(int index) const override;
    void appendEmptyLine() override;
    int firstVisibleLine() const override;
    void scrollLines(int count) override;
    void selectLine(int index) override;
    void setReadOnly(bool readOnly) override;
    void deleteLine(int index) override;
    void clear() override;
    std::string text() const override;
    void setText(const std::string& text) override;

    // Breakpoints ("Haltepunkte"): a mark on a line that stays with the line's text while
    // lines are inserted or removed above it. They live only in the editor: never in a file,
    // and a new text (New, Load) starts without any. What a mark means is the session's.
    bool hasBreakpoint(int line) const override;
    void setBreakpoint(int line, bool on) override;
    // An arrow in the gutter; the text itself is neither selected nor scrolled.
    void showCurrentLine(int line) override;
    int currentLine() const { return m_currentLine; }

    // The gutter of line numbers left of the text, inside the editor's own rectangle.
    QWidget* gutter() const { return m_gutter; }
    int gutterWidth() const;
    // The gutter's pixels: numbers from 1 as every message counts lines, the breakpoint
    // colour, the arrow at the current line.
    void paintGutter(QPaintEvent* event);
    // A click in the gutter toggles the breakpoint of the line beside it.
    void gutterClicked(int y);

    // Asked before a typed, pasted or dropped text goes in, with that text and the size the
    // whole text would then have as a file holds it (bytes with CR LF line breaks, line
    // breaks). False refuses it: the editor changes nothing.
    std::function<bool(const QString& inserted, std::size_t bytes, std::size_t lineBreaks)>
        acceptsInsert;

  signals:
    // F9 or the context menu's entry, on the line that holds the text cursor.
    void breakpointToggled(int line);

  protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Whether `inserted` may replace the selection (acceptsInsert).
    bool mayInsert(const QString& inserted) const;
    void keepSelectionVisible();
    void setTabStops();
    void keepMarkWithItsLine(int position, int added);
    QTextBlock lineBlock(int index) const;  // raises the list index error when out of range

    void updateGutterWidth();
    void placeGutter();
    void updateGutterLine(int line);
    const QStaticText& lineNumberText(int number) const;

    QAction* m_breakpointAction;
    QWidget* m_gutter;
    std::function<void()> m_changeHandler;
    mutable std::vector<QStaticText> m_lineNumberTexts;  // index: the number shown
    int m_currentLine = -1;
};

}  // namespace quarzel
