#include "program_editor.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStaticText>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <memory>

#include "common/system_error.h"
#include "qt_text.h"
#include "screen/captions.h"
#include "screen/colours.h"

namespace quarzel {
namespace {

// A block's user state marks a breakpoint: the document keeps it with the block, undo and
// redo leave it alone, and a new text has none.
constexpr int kBreakpointState = 1;

// Light red behind the whole line: clearly not the blue of a selection, and the black text
// stays readable on it. The arrow at the line a run executes next: dark green, unlike the
// breakpoint's red. The page paints both in the same colours.
const QColor kBreakpointBackground(kBreakpointColour.red, kBreakpointColour.green,
                                   kBreakpointColour.blue);
const QColor kCurrentLineArrow(kCurrentLineArrowColour.red, kCurrentLineArrowColour.green,
                               kCurrentLineArrowColour.blue);

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

// The strip the editor keeps free at its left edge (its viewport margin); it draws nothing of
// its own, the editor paints it.
class Gutter : public QWidget {
  public:
    explicit Gutter(ProgramEditor* editor) : QWidget(editor), m_editor(editor) {
        setObjectName(QStringLiteral("meProgramGutter"));
        setAccessibleName(QStringLiteral("Zeilennummern"));
        setCursor(Qt::PointingHandCursor);
    }
    QSize sizeHint() const override { return {m_editor->gutterWidth(), 0}; }

  protected:
    void paintEvent(QPaintEvent* event) override { m_editor->paintGutter(event); }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            m_editor->gutterClicked(event->position().toPoint().y());
        }
    }

  private:
    ProgramEditor* m_editor;
};

constexpr int kArrowWidth = 12;  // room for the current line's arrow left of the numbers
constexpr int kGutterPadding = 6;

}  // namespace

ProgramEditor::ProgramEditor(QWidget* parent)
    : QPlainTextEdit(parent),
      m_breakpointAction(new QAction(utf8Text(captions::actBreakpoint), this)),
      m_gutter(new Gutter(this)) {
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
    const QString tip = utf8Text(captions::actBreakpointTip);
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

    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { updateGutterWidth(); });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0) {
            m_gutter->scroll(0, dy);
        } else {
            m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
        }
    });
    updateGutterWidth();
}

int ProgramEditor::gutterWidth() const {
    int digits = 2;  // the gutter does not widen while the first lines are typed
    for (int lines = std::max(1, document()->blockCount()); lines >= 100; lines /= 10) {
        ++digits;
    }
    return kArrowWidth + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits +
           kGutterPadding;
}

void ProgramEditor::updateGutterWidth() {
    setViewportMargins(gutterWidth(), 0, 0, 0);
    placeGutter();
}

void ProgramEditor::placeGutter() {
    const QRect r = contentsRect();
    m_gutter->setGeometry(r.left(), r.top(), gutterWidth(), viewport()->height());
}

void ProgramEditor::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    placeGutter();
}

void ProgramEditor::showCurrentLine(int line) {
    if (line == m_currentLine) {
        return;
    }
    // Only the arrow's old and new lines are painted again: a full gutter at every step of a
    // run would cost more than the rest of the editor's work for that step.
    updateGutterLine(m_currentLine);
    m_currentLine = line;
    updateGutterLine(m_currentLine);
}

void ProgramEditor::updateGutterLine(int line) {
    const QTextBlock block = document()->findBlockByNumber(line);
    if (line < 0 || !block.isValid()) {
        return;
    }
    const QRectF r = blockBoundingGeometry(block).translated(contentOffset());
    if (r.bottom() >= 0 && r.top() <= m_gutter->height()) {
        m_gutter->update(0, static_cast<int>(r.top()), m_gutter->width(),
                         static_cast<int>(r.height()) + 1);
    }
}

void ProgramEditor::gutterClicked(int y) {
    const QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF r = blockBoundingGeometry(block).translated(offset);
        if (y < r.bottom()) {
            if (y >= r.top()) {
                emit breakpointToggled(block.blockNumber());
            }
            return;
        }
    }
}

// The gutter is painted at every step of a run, as the editor scrolls: laid-out numbers are
// kept, so that painting one is a copy of its glyphs rather than a new text layout.
const QStaticText& ProgramEditor::lineNumberText(int number) const {
    const auto index = static_cast<std::size_t>(number);
    if (m_lineNumberTexts.size() <= index) {
        m_lineNumberTexts.resize(index + 1);
    }
    QStaticText& text = m_lineNumberTexts[index];
    if (text.text().isEmpty()) {
        text.setText(QString::number(number));
        text.setTextFormat(Qt::PlainText);
        text.prepare(QTransform(), font());
    }
    return text;
}

void ProgramEditor::paintGutter(QPaintEvent* event) {
    QPainter painter(m_gutter);
    const QRect area = event->rect();
    painter.fillRect(area, palette().color(QPalette::Window));
    painter.setFont(font());
    const QPointF offset = contentOffset();
    const int numberRight = m_gutter->width() - kGutterPadding / 2;
    const int lines = lineCount();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF r = blockBoundingGeometry(block).translated(offset);
        if (r.top() > area.bottom()) {
            break;
        }
        const int number = block.blockNumber();
        if (isMarked(block)) {
            painter.fillRect(QRectF(0, r.top(), m_gutter->width(), r.height()),
                             kBreakpointBackground);
        }
        // The empty last line after a final line break is no line of the program.
        if (number < std::max(lines, 1)) {
            painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
            const QStaticText& text = lineNumberText(number + 1);
            const QSizeF size = text.size();
            painter.drawStaticText(
                QPointF(numberRight - size.width(), r.top() + (r.height() - size.height()) / 2),
                text);
        }
        if (number == m_currentLine) {
            const qreal mid = r.top() + r.height() / 2;
            const qreal half = std::min<qreal>(r.height() / 2 - 2, 5);
            const QPointF arrow[] = {{2, mid - half}, {2 + 2 * half, mid}, {2, mid + half}};
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(kCurrentLineArrow);
            painter.drawPolygon(arrow, 3);
            painter.setRenderHint(QPainter::Antialiasing, false);
        }
    }
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
        m_lineNumberTexts.clear();
        updateGutterWidth();
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
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString typed = lineBreak ? QStringLiteral("\n") : event->text();
    const bool inserts = !isReadOnly() && !typed.isEmpty() &&
                         (lineBreak || typed.at(0).isPrint() || typed.at(0) == QLatin1Char('\t'));
    if (inserts && !mayInsert(typed)) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ProgramEditor::inputMethodEvent(QInputMethodEvent* event) {
    if (!isReadOnly() && !event->commitString().isEmpty() && !mayInsert(event->commitString())) {
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void ProgramEditor::insertFromMimeData(const QMimeData* source) {
    if (!isReadOnly() && source->hasText() && !mayInsert(source->text())) {
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

bool ProgramEditor::mayInsert(const QString& inserted) const {
    if (!acceptsInsert) {
        return true;
    }
    // Sizes as the file holds the text: one byte a character, two a line break. The document
    // counts each line break as one character and one more at its end.
    const auto measure = [](const QString& text, std::size_t& bytes, std::size_t& breaks) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                text.at(i + 1) == QLatin1Char('\n')) {
                continue;
            }
            const bool lineBreak = c == QLatin1Char('\n') || c == QLatin1Char('\r') ||
                                   c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
            bytes += lineBreak ? 2 : 1;
            breaks += lineBreak ? 1 : 0;
        }
    };
    const std::size_t breaksNow = static_cast<std::size_t>(document()->blockCount() - 1);
    std::size_t bytes = static_cast<std::size_t>(document()->characterCount() - 1) + breaksNow;
    std::size_t breaks = breaksNow;
    std::size_t removedBytes = 0;
    std::size_t removedBreaks = 0;
    measure(textCursor().selectedText(), removedBytes, removedBreaks);
    bytes -= std::min(bytes, removedBytes);
    breaks -= std::min(breaks, removedBreaks);
    measure(inserted, bytes, breaks);
    return acceptsInsert(inserted, bytes, breaks);
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
