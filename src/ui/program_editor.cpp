#include "program_editor.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

#include "common/system_error.h"
#include "qt_text.h"

namespace quarzel {
namespace {

// A block's user state marks a breakpoint: the document keeps it with the block, undo and
// redo leave it alone, and a new text has none.
constexpr int kBreakpointState = 1;

// Light red behind the whole line: clearly not the blue of a selection, and the black text
// stays readable on it.
const QColor kBreakpointBackground(255, 196, 196);

// The editor's own menu entries in German also where Qt's translation is missing; the key
// after the tab stays as Qt wrote it.
void germanMenuTexts(QMenu& menu) {
    const std::pair<const char*, const char*> texts[] = {
        {"edit-undo", "&Rückgängig"},    {"edit-redo", "Wieder&herstellen"},
        {"edit-cut", "&Ausschneiden"},   {"edit-copy", "&Kopieren"},
        {"link-copy", "&Link kopieren"}, {"edit-paste", "Einf&ügen"},
        {"edit-delete", "Löschen"},      {"select-all", "Alles auswählen"},
    };
    for (QAction* action : menu.actions()) {
        for (const auto& [name, text] : texts) {
            if (action->objectName() == QLatin1String(name)) {
                const qsizetype tab = action->text().indexOf(QLatin1Char('\t'));
                action->setText(QString::fromUtf8(text) +
                                (tab < 0 ? QString() : action->text().mid(tab)));
            }
        }
    }
}

bool isMarked(const QTextBlock& block) {
    return block.isValid() && block.userState() == kBreakpointState;
}

}  // namespace

ProgramEditor::ProgramEditor(QWidget* parent)
    : QPlainTextEdit(parent),
      m_breakpointAction(new QAction(QStringLiteral("Haltepunkt ein/aus"), this)) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setTabChangesFocus(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    keepSelectionVisible();
    setTabStops();

    // Shown in the context menu with its key; F9 itself is handled in keyPressEvent, so that
    // it works whether or not the menu was ever opened.
    m_breakpointAction->setObjectName(QStringLiteral("actBreakpoint"));
    m_breakpointAction->setShortcut(QKeySequence(Qt::Key_F9));
    m_breakpointAction->setShortcutContext(Qt::WidgetShortcut);
    const QString tip = QStringLiteral(
        "Haltepunkt ein/aus (F9): Ein Lauf mit „Langsam“, „Schnell“ oder „Direkt“ schaltet vor "
        "dieser Zeile auf „Schritt“ um.");
    m_breakpointAction->setToolTip(tip);
    m_breakpointAction->setStatusTip(tip);
    connect(m_breakpointAction, &QAction::triggered, this,
            [this] { emit breakpointToggled(textCursor().blockNumber()); });
    setAccessibleDescription(tip);

    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_changeHandler) {
            m_changeHandler();
        }
    });
    connect(
        document(), &QTextDocument::contentsChange, this,
        [this](int position, int /*removed*/, int added) { keepMarkWithItsLine(position, added); });
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

void ProgramEditor::setChangeHandler(std::function<void()> handler) {
    m_changeHandler = std::move(handler);
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

bool ProgramEditor::hasBreakpoint(int line) const {
    return isMarked(document()->findBlockByNumber(line));
}

void ProgramEditor::setBreakpoint(int line, bool on) {
    QTextBlock block = document()->findBlockByNumber(line);
    if (block.isValid()) {
        block.setUserState(on ? kBreakpointState : -1);
        viewport()->update();
    }
}

// A line break typed or pasted at the very start of a marked line splits the block so that
// the mark would stay on the new line above and the marked text would move down without it.
// The mark follows the text.
void ProgramEditor::keepMarkWithItsLine(int position, int added) {
    if (added <= 0) {
        return;
    }
    QTextBlock first = document()->findBlock(position);
    if (!isMarked(first) || first.position() != position) {
        return;
    }
    QTextBlock last = document()->findBlock(position + added);
    if (last.isValid() && last != first) {
        first.setUserState(-1);
        last.setUserState(kBreakpointState);
    }
}

void ProgramEditor::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F9 && event->modifiers() == Qt::NoModifier) {
        emit breakpointToggled(textCursor().blockNumber());
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ProgramEditor::contextMenuEvent(QContextMenuEvent* event) {
    // A right click outside the selection means that line: the text cursor goes there first,
    // as the entry toggles the line that holds it.
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QTextCursor clicked = cursorForPosition(event->pos());
        const QTextCursor current = textCursor();
        if (clicked.position() < current.selectionStart() ||
            clicked.position() > current.selectionEnd()) {
            setTextCursor(clicked);
        }
    }
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    germanMenuTexts(*menu);
    menu->setToolTipsVisible(true);
    menu->addSeparator();
    menu->addAction(m_breakpointAction);
    menu->exec(event->globalPos());
}

// The marked lines' background goes under the text before the editor paints; the editor
// itself fills no background of its own over it.
void ProgramEditor::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(viewport());
        const QPointF offset = contentOffset();
        const QRect area = event->rect();
        for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
            const QRectF r = blockBoundingGeometry(block).translated(offset);
            if (r.top() > area.bottom()) {
                break;
            }
            if (isMarked(block)) {
                painter.fillRect(QRectF(0, r.top(), viewport()->width(), r.height()),
                                 kBreakpointBackground);
            }
        }
    }
    QPlainTextEdit::paintEvent(event);
}

void ProgramEditor::setText(const std::string& text) {
    QString unicode = toQString(text);
    // The document would take a CR as a line break of its own.
    unicode.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unicode.replace(QChar(u'\r'), QChar(u'\n'));
    setPlainText(unicode);
}

}  // namespace quarzel
