// PLACEHOLDER - replaced by the files work.
#include "files/html_export.h"

#include <stdexcept>

namespace quarzel {

HtmlExport::HtmlExport(ProgramEditorView& editor, const DataTable& table, PromptView& prompts)
    : m_editor(editor), m_table(table), m_prompts(prompts) {}

void HtmlExport::btHTMLClick(const std::string&) { throw std::logic_error("not built yet"); }

}  // namespace quarzel
