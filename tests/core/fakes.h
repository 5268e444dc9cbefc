// Recording fakes of the view interfaces. Every fake writes what it was asked to do into one
// shared EventLog (texts converted to UTF-8), so a test can assert the order of side effects
// across views: "grid.top 4", "picture.repaint", "message Laufzeitfehler|Division durch Null".
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/central_handler.h"
#include "common/number_text.h"
#include "common/views.h"
#include "common/win1252.h"
#include "machine/number_input.h"
#include "session/text_editor.h"
#include "session/workbench.h"
#include "session/workbench_internals.h"

namespace quarzel::testing {

using EventLog = std::vector<std::string>;

// One checked program line, as the checker writes it.
inline VM_Instruction op(Mnemonic mnemonic, std::int32_t operand = 0, bool direct = true) {
    return {static_cast<std::int32_t>(mnemonic), operand, direct};
}

// The shared in-memory editor, with every call recorded in the log. A view of `visibleLines`
// lines (20 by default) models scrolling; 0 is an editor that cannot scroll at all.
class FakeEditor : public TextEditor {
  public:
    explicit FakeEditor(EventLog& log, int visibleLines = 20)
        : TextEditor(visibleLines), m_log(log) {}

    int changeCount() const { return m_changes; }
    // For tests: lines typed in UTF-8, joined by CR LF.
    void type(const std::vector<std::string>& utf8Lines) {
        std::string text;
        for (std::size_t i = 0; i < utf8Lines.size(); ++i) {
            text += (i ? "\r\n" : "") + fromUtf8(utf8Lines[i]);
        }
        setText(text);
    }

    void scrollLines(int count) override {
        TextEditor::scrollLines(count);
        m_log.push_back("editor.scroll " + std::to_string(count));
    }
    void selectLine(int index) override {
        TextEditor::selectLine(index);
        m_log.push_back("editor.select " + std::to_string(index));
    }
    void setReadOnly(bool readOnly) override {
        TextEditor::setReadOnly(readOnly);
        m_log.push_back(std::string("editor.readOnly ") + (readOnly ? "on" : "off"));
    }

  protected:
    void changed(std::string_view what) override {
        ++m_changes;
        m_log.push_back("editor." + std::string(what));
        TextEditor::changed(what);
    }

  private:
    EventLog& m_log;
    int m_changes = 0;
};

class FakeGrid : public DataGridView {
  public:
    explicit FakeGrid(EventLog& log) : m_log(log) {}
    bool inputEnabled = true;
    std::optional<int> topRow;
    std::vector<int> changedRows;

    void showRowAtTop(int row) override {
        topRow = row;
        m_log.push_back("grid.top " + std::to_string(row));
    }
    void setInputEnabled(bool enabled) override {
        inputEnabled = enabled;
        m_log.push_back(std::string("grid.input ") + (enabled ? "on" : "off"));
    }
    void rowChanged(int row) override { changedRows.push_back(row); }

  private:
    EventLog& m_log;
};

class FakePicture : public MemoryPictureView {
  public:
    explicit FakePicture(EventLog& log) : m_log(log) {}
    int repaints = 0;
    void repaintNow() override {
        ++repaints;
        m_log.push_back("picture.repaint");
    }

  private:
    EventLog& m_log;
};

class FakeRegisters : public RegisterView {
  public:
    explicit FakeRegisters(EventLog& log) : m_log(log) {}
    std::map<Register, std::string> texts{{Register::Accu, "0"},
                                          {Register::Window, "0"},
                                          {Register::Index, "0"},
                                          {Register::IP, "0"},
                                          {Register::SP, "512"}};
    void showRegister(Register which, std::int32_t value) override {
        const std::string text = int32ToText(value);
        texts[which] = text;
        static const char* const names[] = {"Accu", "Window", "Index", "IP", "SP"};
        m_log.push_back(std::string("register.") + names[static_cast<int>(which)] + " " + text);
    }

  private:
    EventLog& m_log;
};

class FakeRunPanel : public RunPanelView {
  public:
    explicit FakeRunPanel(EventLog& log) : m_log(log) {}
    std::string caption = "Start";
    bool stepEnabled = true;
    std::array<bool, 3> timers{false, false, false};  // Slow, Fast, Direct
    int timerRestarts = 0;                            // enabling a timer that was off
    bool backEnabled = false;
    std::uint64_t steps = 0;

    void setRunCaption(const std::string& text) override {
        caption = text;
        m_log.push_back("run.caption " + toUtf8(text));
    }
    void setStepEnabled(bool enabled) override {
        stepEnabled = enabled;
        m_log.push_back(std::string("run.step ") + (enabled ? "on" : "off"));
    }
    void setTimerEnabled(RunTimer timer, bool enabled) override {
        bool& on = timers[static_cast<int>(timer)];
        timerRestarts += (enabled && !on) ? 1 : 0;
        on = enabled;
    }
    void setBackEnabled(bool enabled) override { backEnabled = enabled; }
    void showStepCount(std::uint64_t count) override { steps = count; }

    int sentenceChanges = 0;
    // The protocol's rows as a table model would hold them after the calls: steps
    // traceFirst..traceLast. Every call must fit what it holds.
    std::uint64_t traceFirst = 1;
    std::uint64_t traceLast = 0;
    HistoryRange history;
    void sentenceChanged() override { ++sentenceChanges; }
    void traceRowsAdded(std::uint64_t first, std::uint64_t last) override {
        EXPECT_LE(first, last);
        if (traceFirst > traceLast) {
            traceFirst = first;
        } else {
            EXPECT_EQ(first, traceLast + 1) << "rows are added at the end";
        }
        traceLast = last;
    }
    void traceRowsRemoved(std::uint64_t first, std::uint64_t last) override {
        EXPECT_TRUE(first <= last && first >= traceFirst && last <= traceLast)
            << "rows " << first << ".." << last << " of " << traceFirst << ".." << traceLast;
        if (first == traceFirst) {
            traceFirst = last + 1;
        } else {
            EXPECT_EQ(last, traceLast) << "rows go at either end";
            traceLast = first - 1;
        }
        if (traceFirst > traceLast) {
            traceFirst = 1;
            traceLast = 0;
        }
    }
    void showHistory(const HistoryRange& range) override { history = range; }

  private:
    EventLog& m_log;
};

// Answers questions and file dialogs from scripts; an unscripted question fails the test.
class FakePrompts : public PromptView {
  public:
    explicit FakePrompts(EventLog& log) : m_log(log) {}

    struct Message {
        std::string text;  // UTF-8
        std::string caption;
        MessageIcon icon;
    };
    struct Dialog {
        bool save;
        std::string description;
        std::string pattern;
        std::string defaultExtension;
    };
    std::vector<Message> messages;
    std::vector<std::string> questions;  // "caption|text", UTF-8
    std::vector<Dialog> dialogs;
    std::deque<bool> answers;                      // for askYesNo
    std::deque<std::optional<std::string>> files;  // for both file dialogs; nullopt = cancel

    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override {
        messages.push_back({toUtf8(text), toUtf8(caption), icon});
        m_log.push_back("message " + toUtf8(caption) + "|" + toUtf8(text));
    }
    std::vector<std::string> notes;  // UTF-8
    void showNote(const std::string& utf8) override {
        notes.push_back(utf8);
        m_log.push_back("note " + utf8);
    }
    bool askYesNo(const std::string& text, const std::string& caption) override {
        questions.push_back(toUtf8(caption) + "|" + toUtf8(text));
        m_log.push_back("ask " + questions.back());
        if (answers.empty()) {
            ADD_FAILURE() << "unscripted question: " << questions.back();
            return false;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    std::optional<std::string> chooseFileToOpen(const FileFilter& filter) override {
        dialogs.push_back({false, toUtf8(filter.description), filter.pattern, ""});
        return nextFile();
    }
    std::optional<std::string> chooseFileToSave(const FileFilter& filter,
                                                const std::string& defaultExtension) override {
        dialogs.push_back({true, toUtf8(filter.description), filter.pattern, defaultExtension});
        return nextFile();
    }

    // A written file handed on where the user chose it; the handler may look at the state at
    // that moment or throw as a failed hand-over does.
    std::function<void(const std::string& path)> onFinishSave;
    void finishSave(const std::string& path) override {
        m_log.push_back("finish " + path);
        if (onFinishSave) {
            onFinishSave(path);
        }
    }

  private:
    std::optional<std::string> nextFile() {
        m_log.push_back(std::string("dialog ") + (dialogs.back().save ? "save " : "open ") +
                        dialogs.back().pattern);
        if (files.empty()) {
            ADD_FAILURE() << "unscripted file dialog " << dialogs.back().pattern;
            return std::nullopt;
        }
        auto file = files.front();
        files.pop_front();
        return file;
    }

    EventLog& m_log;
};

// The number dialog. Each time it is asked, it plays the next script entry: a text (UTF-8) is
// typed and OK pressed; nullopt closes the dialog through its frame. An empty script closes
// it. `shown` counts the requests (a rejected text asks again within the same request), and
// `rejected` records the texts handed back for correcting.
class FakeNumberInput : public NumberInputView {
  public:
    explicit FakeNumberInput(EventLog& log) : m_log(log) {}
    std::deque<std::optional<std::string>> script;
    std::vector<std::string> rejected;
    int shown = 0;

    std::optional<std::string> askText(const std::optional<std::string>& again) override {
        if (again) {
            rejected.push_back(toUtf8(*again));
        } else {
            ++shown;
            m_log.push_back("input.show");
        }
        if (script.empty()) {
            return std::nullopt;
        }
        const auto entry = script.front();
        script.pop_front();
        if (!entry) {
            return std::nullopt;
        }
        return fromUtf8(*entry);
    }
    void hide() override { m_log.push_back("input.hide"); }

  private:
    EventLog& m_log;
};

// Every fake of a main window, ready to be handed to a Workbench.
struct FakeScreen {
    EventLog log;
    FakeEditor editor{log};
    FakeGrid grid{log};
    FakePicture picture{log};
    FakeRegisters registers{log};
    FakeRunPanel runPanel{log};
    FakePrompts prompts{log};
    FakeNumberInput numberInput{log};

    Views views() { return {editor, grid, picture, registers, runPanel, prompts, numberInput}; }
};

// A workbench on fakes, wired as the main window wires the real one.
struct TestBench {
    FakeScreen screen;
    Workbench workbench{screen.views()};
    // Its parts, to set up a state and look at it.
    WorkbenchInternals bench{workbench};

    // Runs a handler the way the main window does: a SystemError goes to the central handler.
    template <typename Handler>
    void handle(Handler&& handler) {
        guarded(screen.prompts, std::forward<Handler>(handler));
    }
};

}  // namespace quarzel::testing
