#include "session/text_editor.h"

#include <algorithm>
#include <iterator>

#include "common/system_error.h"

namespace quarzel {

int TextEditor::lineCount() const {
    // A last line that is empty because the text ends with a line break does not count.
    const int parts = static_cast<int>(m_parts.size());
    return m_parts.back().empty() ? parts - 1 : parts;
}

std::string TextEditor::lineText(int index) const {
    if (index < 0 || index >= lineCount()) {
        throw listIndexError(index);
    }
    return m_parts[static_cast<std::size_t>(index)];
}

void TextEditor::appendEmptyLine() {
    m_parts.emplace_back();
    const int caretLine = static_cast<int>(m_parts.size()) - 1;
    if (m_visible > 0 && caretLine >= m_first + m_visible) {
        m_first = caretLine - m_visible + 1;
    }
    changed("append");
}

void TextEditor::scrollLines(int count) {
    if (m_visible <= 0) {
        return;
    }
    const long long maxFirst =
        std::max(0LL, static_cast<long long>(m_parts.size()) - static_cast<long long>(m_visible));
    m_first = static_cast<int>(std::clamp(static_cast<long long>(m_first) + count, 0LL, maxFirst));
}

void TextEditor::deleteLine(int index) {
    if (index < 0 || index >= lineCount()) {
        throw listIndexError(index);
    }
    // As in a text control: deleting the last line of a text without a final break keeps the
    // break of the line before it.
    if (static_cast<std::size_t>(index) == m_parts.size() - 1) {
        m_parts.back().clear();
    } else {
        m_parts.erase(m_parts.begin() + index);
        // The marks below move up with their lines; the deleted line's mark goes with it.
        std::set<int> marks;
        for (const int line : m_marks) {
            if (line != index) {
                marks.insert(line > index ? line - 1 : line);
            }
        }
        m_marks = std::move(marks);
    }
    changed("delete " + std::to_string(index));
}

void TextEditor::setBreakpoint(int line, bool on) {
    if (on) {
        m_marks.insert(line);
    } else {
        m_marks.erase(line);
    }
}

void TextEditor::clear() {
    m_parts.assign(1, std::string());
    m_marks.clear();
    m_first = 0;
    changed("clear");
}

std::string TextEditor::text() const {
    std::string joined;
    for (std::size_t i = 0; i < m_parts.size(); ++i) {
        if (i > 0) {
            joined += "\r\n";
        }
        joined += m_parts[i];
    }
    return joined;
}

namespace {

// The lines of a text broken by CR LF; a lone CR or LF stays inside its line.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t pos; (pos = text.find("\r\n", start)) != std::string::npos; start = pos + 2) {
        lines.push_back(text.substr(start, pos - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

void TextEditor::setText(const std::string& text) {
    m_parts = splitLines(text);
    m_marks.clear();
    m_first = 0;
    changed("setText");
}

void TextEditor::replaceRange(int fromLine, int fromColumn, int toLine, int toColumn,
                              const std::string& text) {
    const int parts = static_cast<int>(m_parts.size());
    if (fromLine < 0 || fromLine >= parts) {
        throw listIndexError(fromLine);
    }
    if (toLine < fromLine || toLine >= parts) {
        throw listIndexError(toLine);
    }
    const auto from = static_cast<std::size_t>(fromLine);
    const auto to = static_cast<std::size_t>(toLine);
    if (fromColumn < 0 || static_cast<std::size_t>(fromColumn) > m_parts[from].size()) {
        throw listIndexError(fromColumn);
    }
    if (toColumn < 0 || static_cast<std::size_t>(toColumn) > m_parts[to].size() ||
        (from == to && toColumn < fromColumn)) {
        throw listIndexError(toColumn);
    }
    std::vector<std::string> lines = splitLines(text);
    lines.front().insert(0, m_parts[from], 0, static_cast<std::size_t>(fromColumn));
    lines.back().append(m_parts[to], static_cast<std::size_t>(toColumn));

    // The replaced lines are overwritten in place; only a change in their number moves the
    // lines below.
    const std::size_t removed = to - from + 1;
    const std::size_t common = std::min(removed, lines.size());
    std::move(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(common),
              m_parts.begin() + static_cast<std::ptrdiff_t>(from));
    const auto after = m_parts.begin() + static_cast<std::ptrdiff_t>(from + common);
    if (removed > lines.size()) {
        m_parts.erase(after, after + static_cast<std::ptrdiff_t>(removed - common));
    } else {
        m_parts.insert(after,
                       std::make_move_iterator(lines.begin() + static_cast<std::ptrdiff_t>(common)),
                       std::make_move_iterator(lines.end()));
    }

    const int shift = static_cast<int>(lines.size()) - static_cast<int>(removed);
    if (!m_marks.empty() && (shift != 0 || toLine > fromLine)) {
        std::set<int> marks;
        for (const int line : m_marks) {
            if (line <= fromLine) {
                marks.insert(line);
            } else if (line > toLine) {
                marks.insert(line + shift);
            }
        }
        m_marks = std::move(marks);
    }
    const int maxFirst = std::max(0, static_cast<int>(m_parts.size()) - std::max(m_visible, 1));
    m_first = std::min(m_first, maxFirst);
    changed("edit");
}

void TextEditor::changed(std::string_view /*what*/) {
    if (onChange) {
        onChange();
    }
}

}  // namespace quarzel
