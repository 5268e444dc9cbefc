// The view interfaces implemented against the page: each operation calls the page's script,
// every text converted between the core's Windows-1252 and the page's UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/views.h"
#include "model/machine_state.h"
#include "session/text_editor.h"

namespace quarzel {

class DataTable;
struct MachineState;

// The editor's lines are kept here, as the core reads them; the page shows them and reports
// the user's edits with setTextFromPage.
class WebEditor : public TextEditor {
  public:
    int firstVisibleLine() const override;
    void scrollLines(int count) override;
    void selectLine(int index) override;
    void setReadOnly(bool readOnly) override;
    void appendEmptyLine() override;
    // Goes to the page as the deletion of that line, so that the marks below keep their lines.
    void deleteLine(int index) override;
    // The page keeps the marks and moves each with its line's text as lines are inserted or
    // removed above it.
    bool hasBreakpoint(int line) const override;
    void setBreakpoint(int line, bool on) override;
    void showCurrentLine(int line) override;

    // The user's text (Windows-1252, CR LF), already shown by the page.
    void setTextFromPage(const std::string& text);
    // One change of the user's, already shown by the page (see TextEditor::replaceRange).
    void editFromPage(int fromLine, int fromColumn, int toLine, int toColumn,
                      const std::string& text);

  protected:
    void changed(std::string_view what) override;

  private:
    bool m_pageShowsIt = false;  // the change came from the page or went to it already
};

class WebGrid : public DataGridView {
  public:
    const DataTable* table = nullptr;
    void showRowAtTop(int row) override;
    void setInputEnabled(bool enabled) override;
    void rowChanged(int row) override;
};

class WebPicture : public MemoryPictureView {
  public:
    const DataTable* table = nullptr;
    const MachineState* machine = nullptr;
    int width = 0;
    int height = 0;
    void repaintNow() override;

  private:
    // Kept between pictures: a step repaints it at every memory access, and a buffer of its
    // own would also make each call in the loop go through the page's exception trampoline.
    std::vector<std::int32_t> m_numbers;
};

class WebRegisters : public RegisterView {
  public:
    void showRegister(Register which, std::int32_t value) override;

  private:
    // What each field shows: a step shows all five, and most of them as they were.
    std::array<std::optional<std::int32_t>, 5> m_shown;
};

class WebRunPanel : public RunPanelView {
  public:
    void setRunCaption(const std::string& caption) override;
    void setStepEnabled(bool enabled) override;
    void setTimerEnabled(RunTimer timer, bool enabled) override;
    void setBackEnabled(bool enabled) override;
    void showStepCount(std::uint64_t steps) override;
    void showSpeed(Speed speed) override;
    // The page draws the sentence and the protocol's rows once per frame, asking for them then.
    void sentenceChanged() override;
    void traceRowsAdded(std::uint64_t first, std::uint64_t last) override;
    void traceRowsRemoved(std::uint64_t first, std::uint64_t last) override;
    void showHistory(const HistoryRange& range) override;
};

class WebPrompts : public PromptView {
  public:
    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    void showNote(const std::string& utf8) override;
    std::optional<std::string> chooseFileToOpen(const FileFilter& filter) override;
    std::optional<std::string> chooseFileToSave(const FileFilter& filter,
                                                const std::string& defaultExtension) override;
    void finishSave(const std::string& path) override;
};

// The dialog "Dateneingabe"; the core shows a rejected text's error and asks again with it.
class WebNumberInput : public NumberInputView {
  public:
    std::optional<std::string> askText(const std::optional<std::string>& rejected) override;
    void hide() override {}
};

// Between the page's "\n" and the core's CR LF, UTF-8 and Windows-1252.
std::string coreText(const std::string& pageUtf8);
std::string pageText(const std::string& core);

}  // namespace quarzel
