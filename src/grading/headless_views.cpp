#include "grading/headless_views.h"

#include <algorithm>

#include "common/central_handler.h"
#include "common/system_error.h"
#include "common/win1252.h"
#include "machine/number_input.h"

namespace quarzel::headless {

void LinePrompts::showMessage(const std::string& text, const std::string& caption,
                              MessageIcon /*icon*/) {
    if (caption == "Hinweis") {
        return;
    }
    m_lastText = toUtf8(text);
    m_out << toUtf8(caption) << ": " << m_lastText << '\n';
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

std::optional<std::string> ScriptedNumberInput::askText(
    const std::optional<std::string>& /*rejected*/) {
    if (m_texts.empty()) {
        return std::nullopt;
    }
    std::string text = std::move(m_texts.front());
    m_texts.pop_front();
    ++m_taken;
    return text;
}

}  // namespace quarzel::headless
