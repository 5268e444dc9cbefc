// The views of a case run without a window: the in-memory program editor, silent table,
// picture, register and run-panel views, message boxes printed as one line each, and a number
// dialog that types the case's inputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "common/views.h"
#include "session/text_editor.h"

namespace quarzel {

namespace headless {

// The shared in-memory editor; its default view is one line high and follows the caret, so
// the checker's room-making for the run display appends a single empty line.
using TextEditor = quarzel::TextEditor;

class SilentGrid : public DataGridView {
  public:
    void showRowAtTop(int /*row*/) override {}
    void setInputEnabled(bool /*enabled*/) override {}
    void rowChanged(int /*row*/) override {}
};

class SilentPicture : public MemoryPictureView {
  public:
    void repaintNow() override {}
};

class SilentRegisters : public RegisterView {
  public:
    void showRegister(Register /*which*/, std::int32_t /*value*/) override {}
};

class SilentRunPanel : public RunPanelView {
  public:
    void setRunCaption(const std::string& /*caption*/) override {}
    void setStepEnabled(bool /*enabled*/) override {}
    void setTimerEnabled(RunTimer /*timer*/, bool /*enabled*/) override {}
};

// Every box the desktop program would show becomes one line "CAPTION: TEXT" in UTF-8; the
// "Hinweis" notes before a check are left out. Questions are answered No and file dialogs
// cancelled: the runner never needs them.
class LinePrompts : public PromptView {
  public:
    explicit LinePrompts(std::ostream& out) : m_out(out) {}

    // The text of the last box printed (UTF-8), so that a case can tell what ended it.
    const std::string& lastText() const { return m_lastText; }

    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    std::optional<std::string> chooseFileToOpen(const FileFilter& filter) override;
    std::optional<std::string> chooseFileToSave(const FileFilter& filter,
                                                const std::string& defaultExtension) override;

  private:
    std::ostream& m_out;
    std::string m_lastText;
};

// Each time the dialog is asked it types the next text (Windows-1252) and presses OK; the core
// reports a text that does not convert and asks again. With no text left the dialog is closed
// through its frame.
class ScriptedNumberInput : public NumberInputView {
  public:
    explicit ScriptedNumberInput(std::deque<std::string> texts) : m_texts(std::move(texts)) {}

    std::optional<std::string> askText(const std::optional<std::string>& rejected) override;
    void hide() override {}
    std::uint64_t inputsTaken() const override { return m_taken; }

  private:
    std::deque<std::string> m_texts;
    std::uint64_t m_taken = 0;
};

}  // namespace headless
}  // namespace quarzel
