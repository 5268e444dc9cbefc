// What the core needs of the screen, as narrow abstract classes. The Qt layer implements them
// with real widgets, the headless runner with plain console output, the tests with recording
// fakes. Every text that crosses these interfaces is Windows-1252; file paths are UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace quarzel {

// The program editor (meProgram). Its lines are counted from 0; a last line that is empty
// because the text ends with a line break does not count.
class ProgramEditorView {
  public:
    virtual ~ProgramEditorView() = default;
    // Every change of the text, also one made through these operations, calls `handler`, as a
    // real editor's change event does. The workbench sets it once.
    virtual void setChangeHandler(std::function<void()> handler) = 0;
    virtual int lineCount() const = 0;
    virtual std::string lineText(int index) const = 0;
    virtual void appendEmptyLine() = 0;  // moves the caret to the end and scrolls it into view
    virtual int firstVisibleLine() const = 0;
    virtual void scrollLines(int count) = 0;  // a negative count scrolls up
    // MarkLine: focus the editor and select the whole line as typed, without its line break.
    virtual void selectLine(int index) = 0;
    virtual void setReadOnly(bool readOnly) = 0;
    virtual void deleteLine(int index) = 0;  // the line together with its line break
    virtual void clear() = 0;
    virtual std::string text() const = 0;  // the whole text, line breaks as CR LF
    virtual void setText(const std::string& text) = 0;
    // Breakpoint marks ("Haltepunkte"). A mark stays with its line's text while lines are
    // inserted or removed above it, and never goes into a file; a new text has none.
    virtual bool hasBreakpoint(int line) const = 0;
    virtual void setBreakpoint(int line, bool on) = 0;
    // The line a run in progress executes next, marked beside the text where the learner
    // sees it even when the editor cannot scroll it to the top; -1 when no run is in progress.
    virtual void showCurrentLine(int /*line*/) {}
};

// The memory table (sgData) as a widget; its contents live in DataTable.
class DataGridView {
  public:
    virtual ~DataGridView() = default;
    virtual void showRowAtTop(int row) = 0;  // as far as the table can scroll
    virtual void setInputEnabled(bool enabled) = 0;
    virtual void rowChanged(int row) = 0;  // the system changed the row's texts
};

// The graphical memory picture (pbMemory).
class MemoryPictureView {
  public:
    virtual ~MemoryPictureView() = default;
    virtual void repaintNow() = 0;  // paints at once, before returning
};

enum class Register { Accu, Window, Index, IP, SP };

// The five register fields ebAccu, ebWindow, ebIndex, ebIP, ebSP. Each shows its value in
// plain decimal ("-" for negatives, no leading zeros, as int32ToText writes it).
class RegisterView {
  public:
    virtual ~RegisterView() = default;
    virtual void showRegister(Register which, std::int32_t value) = 0;
};

enum class RunTimer { Slow, Fast, Direct };

// The selected speed (RunMode), stored as a signed 32-bit number.
enum class Speed : std::int32_t { Step = 0, Slow = 1, Fast = 2, Direct = 3 };

// The steps "Verlauf" can move between, as step counts ("Schritte: N"): from the state before
// the oldest step the journal holds to the state after the newest step recorded, the steps
// taken back included. `current` is where the run stands.
struct HistoryRange {
    std::uint64_t oldest = 0;
    std::uint64_t newest = 0;
    std::uint64_t current = 0;
    bool movable = false;  // at the speed "Schritt", with a step held, no number dialog open

    bool operator==(const HistoryRange& o) const {
        return oldest == o.oldest && newest == o.newest && current == o.current &&
               movable == o.movable;
    }
    bool operator!=(const HistoryRange& o) const { return !(*this == o); }
};

// The run panel: the start button's caption, the step button and the three periodic timers.
class RunPanelView {
  public:
    virtual ~RunPanelView() = default;
    virtual void setRunCaption(const std::string& caption) = 0;
    virtual void setStepEnabled(bool enabled) = 0;
    // Enabling a timer that already runs keeps its running interval.
    virtual void setTimerEnabled(RunTimer timer, bool enabled) = 0;
    // The button that takes the last step back ("Zurück").
    virtual void setBackEnabled(bool /*enabled*/) {}
    // The instructions executed in the current run ("Schritte: N").
    virtual void showStepCount(std::uint64_t /*steps*/) {}
    // The speed radio buttons show `speed` without a click of their own (a breakpoint paused a
    // timed run).
    virtual void showSpeed(Speed /*speed*/) {}

    // "Was geschah": the line's text has changed (a step, "Zurück", a check that failed, a new
    // run). Ask Workbench::stepSentence() when the line is drawn next, once per frame at most;
    // nothing is made until then.
    virtual void sentenceChanged() {}
    // The protocol ("Ablaufprotokoll") now holds the rows of the steps `first`..`last` too, at
    // its end; their texts come from Workbench::traceRow(step).
    virtual void traceRowsAdded(std::uint64_t /*first*/, std::uint64_t /*last*/) {}
    // The rows of the steps `first`..`last` are gone: the oldest beyond the journal's reach, or
    // the newest after "Zurück", or all of them (a new run, an edit).
    virtual void traceRowsRemoved(std::uint64_t /*first*/, std::uint64_t /*last*/) {}
    // "Verlauf": the slider's range and position, and whether it can be moved.
    virtual void showHistory(const HistoryRange& /*range*/) {}
};

enum class MessageIcon { Error, Information };

// One entry of a file dialog's filter, e.g. {"QRZL Programm (*.prg)", "*.prg"}.
struct FileFilter {
    std::string description;
    std::string pattern;
};

// Modal boxes and file dialogs, owned by the main window.
class PromptView {
  public:
    virtual ~PromptView() = default;
    // A box with a single OK button.
    virtual void showMessage(const std::string& text, const std::string& caption,
                             MessageIcon icon) = 0;
    // A Yes/No box with the question icon; true only for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;
    // The chosen file's full path, or nothing when cancelled. The file must exist.
    virtual std::optional<std::string> chooseFileToOpen(const FileFilter& filter) = 0;
    // Appends defaultExtension to a name typed without one; asks before replacing a file.
    virtual std::optional<std::string> chooseFileToSave(const FileFilter& filter,
                                                        const std::string& defaultExtension) = 0;
    // Hands a file just written at `path` (as chooseFileToSave gave it) on to where the user
    // chose it; throws the system error when that fails, before the command counts the file as
    // saved. The window wrote it there already; the page passes it to the browser.
    virtual void finishSave(const std::string& /*path*/) {}
    // A short note beside the work that needs no answer and goes by itself (a typed character
    // refused, work restored); nothing where no one reads it. The one text in UTF-8 here: it
    // may name a character that Windows-1252 cannot hold.
    virtual void showNote(const std::string& /*utf8*/) {}
};

// The number input dialog (TfrmData), the machine's keyboard. The core runs its loop: it asks
// for a text, converts it, shows the conversion error and asks again with the rejected text.
class NumberInputView {
  public:
    virtual ~NumberInputView() = default;
    // Shows the dialog modally (or keeps it shown) until OK hands over its text; nothing when
    // it was closed through its frame. `rejected`: the text of the entry the core just refused,
    // shown again for correcting; nothing: a new request, which starts from "0".
    virtual std::optional<std::string> askText(const std::optional<std::string>& rejected) = 0;
    virtual void hide() = 0;
    // How many texts of a scripted input list have been taken; a real dialog has no list.
    // A headless run's loop detection counts it as part of the machine's state.
    virtual std::uint64_t inputsTaken() const { return 0; }
};

}  // namespace quarzel

namespace quarzel {

// Every view the core talks to, handed to the workbench in one piece.
struct Views {
    ProgramEditorView& editor;
    DataGridView& grid;
    MemoryPictureView& picture;
    RegisterView& registers;
    RunPanelView& runPanel;
    PromptView& prompts;
    NumberInputView& numberInput;
};

}  // namespace quarzel
