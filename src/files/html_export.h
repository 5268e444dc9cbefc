// The HTML page of the program and the non-zero cells, and the export command that saves it.
#pragma once

#include <string>

namespace quarzel {

class DataTable;
class ProgramEditorView;
class PromptView;

// "3.1": follows the product name in the window caption and on the page.
inline constexpr char kVersionText[] = "3.1";

class HtmlExport {
public:
    HtmlExport(ProgramEditorView& editor, const DataTable& table, PromptView& prompts);

    // `date` is today's date in the user's short date format, supplied by the caller.
    void btHTMLClick(const std::string& date);

private:
    ProgramEditorView& m_editor;
    const DataTable& m_table;
    PromptView& m_prompts;
};

}  // namespace quarzel
