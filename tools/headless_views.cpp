#include "headless_views.h"

#include <algorithm>

#include "common/central_handler.h"
#include "common/system_error.h"
#include "common/win1252.h"
#include "machine/number_input.h"

namespace quarzel::headless {

int TextEditor::lineCount() const {
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
    m_firstVisible = static_cast<int>(m_parts.size()) - 1;  // the caret's line comes into view
    changed();
}

void TextEditor::scrollLines(int count) {
    const long long target = static_cast<long long>(m_firstVisible) + count;
    const long long last = static_cast<long long>(m_parts.size()) - 1;
    m_firstVisible = static_cast<int>(std::clamp(target, 0LL, last));
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
    }
    changed();
}

void TextEditor::clear() {
    m_parts.assign(1, std::string());
    m_firstVisible = 0;
    changed();
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

void TextEditor::setText(const std::string& text) {
    m_parts.clear();
    std::size_t start = 0;
    for (std::size_t pos; (pos = text.find("\r\n", start)) != std::string::npos; start = pos + 2) {
        m_parts.push_back(text.substr(start, pos - start));
    }
    m_parts.push_back(text.substr(start));
    m_firstVisible = 0;
    changed();
}

void TextEditor::changed() {
    if (onChange) {
        onChange();
    }
}

void LinePrompts::showMessage(const std::string& text, const std::string& caption,
                              MessageIcon /*icon*/) {
    if (caption == "Hinweis") {
        return;
    }
    m_out << toUtf8(caption) << ": " << toUtf8(text) << '\n';
}

bool LinePrompts::askYesNo(const std::string& /*text*/, const std::string& /*caption*/) {
    return false;
}

std::optional<std::string> LinePrompts::chooseFileToOpen(const FileFilter& /*filter*/) {
    return std::nullopt;
}

std::optional<std::string> LinePrompts::chooseFileToSave(const FileFilter& /*filter*/,
                                                         const std::string& /*defaultExtension*/) {
    return std::nullopt;
}

bool ScriptedNumberInput::showModal() {
    while (!m_texts.empty()) {
        const std::string text = std::move(m_texts.front());
        m_texts.pop_front();
        ++m_taken;
        try {
            m_input->btOKClick(text);
            return true;
        } catch (const SystemError& error) {
            showSystemError(m_prompts, error);  // the dialog stays open for the next text
        }
    }
    return false;
}

}  // namespace quarzel::headless
