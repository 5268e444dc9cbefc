#include "session/html_export.h"

#include <vector>

#include "common/views.h"
#include "files/text_file.h"

namespace quarzel {

HtmlExport::HtmlExport(ProgramEditorView& editor, const DataTable& table, PromptView& prompts)
    : m_editor(editor), m_table(table), m_prompts(prompts) {}

void HtmlExport::btHTMLClick(const std::string& date) {
    const auto path = m_prompts.chooseFileToSave({"HTML Dateien (*.html)", "*.html"}, "html");
    if (!path) {
        return;
    }
    std::vector<std::string> program;
    const int lines = m_editor.lineCount();
    program.reserve(static_cast<std::size_t>(lines));
    for (int line = 0; line < lines; ++line) {
        program.push_back(m_editor.lineText(line));
    }
    writeFileAtomically(*path, htmlPageText(htmlPageLines(program, m_table, date)));
    m_prompts.finishSave(*path);
}

}  // namespace quarzel
