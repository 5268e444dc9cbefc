#include "program_editor.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "common/system_error.h"
#include "qt_text.h"

namespace quarzel {

ProgramEditor::ProgramEditor(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setTabChangesFocus(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    keepSelectionVisible();
    setTabStops();
}

// A tab advances to the next multiple of eight characters, as in a text file's usual view.
void ProgramEditor::setTabStops() {
    setTabStopDistance(QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' ')) * 8);
}

// The line the checker marks stays highlighted while the focus is in a message box or on a
// button: the inactive highlight is the active one.
void ProgramEditor::keepSelectionVisible() {
    QPalette p = palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    }
    setPalette(p);
}

void ProgramEditor::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::StyleChange) {
        keepSelectionVisible();
    } else if (event->type() == QEvent::FontChange) {
        setTabStops();
    }
}

int ProgramEditor::lineCount() const {
    const QTextDocument* doc = document();
    const int blocks = doc->blockCount();
    return doc->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QTextBlock ProgramEditor::lineBlock(int index) const {
    if (index < 0 || index >= document()->blockCount()) {
        throw listIndexError(index);
    }
    return document()->findBlockByNumber(index);
}

std::string ProgramEditor::lineText(int index) const {
    if (index >= lineCount()) {
        throw listIndexError(index);
    }
    return fromQString(lineBlock(index).text());
}

void ProgramEditor::appendEmptyLine() {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
    // The caret is on the last line: scroll it to the bottom as the scroll range counts lines.
    // ensureCursorVisible alone stops one line short whenever a last line fits in the pixels
    // the range does not count, and then an append would not scroll at all.
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}

int ProgramEditor::firstVisibleLine() const {
    return firstVisibleBlock().blockNumber();
}

void ProgramEditor::scrollLines(int count) {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + count);
}

void ProgramEditor::selectLine(int index) {
    const QTextBlock block = lineBlock(index);
    setFocus(Qt::OtherFocusReason);
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void ProgramEditor::setReadOnly(bool readOnly) {
    QPlainTextEdit::setReadOnly(readOnly);
    if (readOnly) {
        // During a run the learner may still move through the text and copy from it.
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
}

void ProgramEditor::deleteLine(int index) {
    if (index >= lineCount()) {
        throw listIndexError(index);
    }
    const QTextBlock block = lineBlock(index);
    QTextCursor cursor(block);
    if (block.next().isValid()) {
        cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
    } else {
        // The last line of a text without final break: the break before it stays.
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    }
    cursor.removeSelectedText();
}

void ProgramEditor::clear() {
    QPlainTextEdit::clear();
}

// Joined block by block: the document's own plain text would turn non-breaking spaces into
// blanks and change what the learner typed.
std::string ProgramEditor::text() const {
    QString joined;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin()) {
            joined += QStringLiteral("\r\n");
        }
        joined += block.text();
    }
    return fromQString(joined);
}

void ProgramEditor::setText(const std::string& text) {
    QString unicode = toQString(text);
    // The document would take a CR as a line break of its own.
    unicode.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unicode.replace(QChar(u'\r'), QChar(u'\n'));
    setPlainText(unicode);
}

}  // namespace quarzel
