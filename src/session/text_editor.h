// A program editor held in memory, for everything that runs the core without a window of its
// own: the headless tools, the tests and the benchmarks, and the browser page, whose editor
// (WebEditor) keeps the lines here as the core reads them while the page only shows them. It
// models a view of `visibleLines` lines that
// scrolls the caret into view when a line is appended and stops scrolling when the last line
// reaches its bottom, as a real text control does; 0 visible lines is a view that cannot
// scroll at all (hidden, no height).
#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/views.h"

namespace quarzel {

class TextEditor : public ProgramEditorView {
  public:
    explicit TextEditor(int visibleLines = 1) : m_visible(visibleLines) {}

    // Called after every change of the text, as a real editor's change event.
    std::function<void()> onChange;
    void setChangeHandler(std::function<void()> handler) override { onChange = std::move(handler); }

    int visibleLines() const { return m_visible; }
    void setVisibleLines(int count) { m_visible = count; }
    bool readOnly() const { return m_readOnly; }
    std::optional<int> selectedLine() const { return m_selected; }

    int lineCount() const override;
    std::string lineText(int index) const override;  // raises the list index error outside
    void appendEmptyLine() override;
    int firstVisibleLine() const override { return m_first; }
    void scrollLines(int count) override;
    void selectLine(int index) override { m_selected = index; }
    void setReadOnly(bool readOnly) override { m_readOnly = readOnly; }
    void deleteLine(int index) override;
    void clear() override;
    std::string text() const override;
    void setText(const std::string& text) override;
    // Replaces the text from (fromLine, fromColumn) to (toLine, toColumn), columns in bytes,
    // with `text` (lines broken by CR LF), as typing or pasting does: only the lines it touches
    // are rewritten, so a keystroke costs the same in a long program. A mark stays at the start
    // of its line: a line whose start lies inside the replaced text loses it, the lines below
    // keep theirs as they move. A position outside the text raises the list index error.
    void replaceRange(int fromLine, int fromColumn, int toLine, int toColumn,
                      const std::string& text);
    bool hasBreakpoint(int line) const override { return m_marks.count(line) != 0; }
    void setBreakpoint(int line, bool on) override;
    void showCurrentLine(int line) override { m_current = line; }
    int currentLine() const { return m_current; }

  protected:
    // After every change of the text; `what` names it for a subclass that records changes.
    virtual void changed(std::string_view what);

  private:
    int m_visible;
    std::vector<std::string> m_parts{std::string()};  // the lines between CR LF breaks
    int m_first = 0;
    bool m_readOnly = false;
    std::optional<int> m_selected;
    std::set<int> m_marks;  // lines with a breakpoint
    int m_current = -1;
};

}  // namespace quarzel
