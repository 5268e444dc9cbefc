// The export command: the HTML page of the program and the non-zero cells, saved to a file.
#pragma once

#include <string>

#include "files/html_page.h"  // kVersionText

namespace quarzel {

class DataTable;
class ProgramEditorView;
class PromptView;

class HtmlExport {
  public:
    HtmlExport(ProgramEditorView& editor, const DataTable& table, PromptView& prompts);

    // `date` is today's date in the user's short date format, supplied by the caller. Only
    // reads: no flag, cell or line changes.
    void btHTMLClick(const std::string& date);

  private:
    ProgramEditorView& m_editor;
    const DataTable& m_table;
    PromptView& m_prompts;
};

}  // namespace quarzel
