#include "web/web_views.h"

#include <vector>

#include "common/central_handler.h"
#include "common/system_error.h"
#include "common/win1252.h"
#include "files/data_file.h"
#include "files/file_errors.h"
#include "files/program_file.h"
#include "grading/task_file.h"
#include "machine/number_input.h"
#include "model/data_table.h"
#include "screen/memory_geometry.h"
#include "screen/run_timers.h"
#include "web/boundary.h"

namespace quarzel {

std::string coreText(const std::string& pageUtf8) {
    const std::string text = fromUtf8(pageUtf8);
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') {
            result += '\r';
        }
        if (c != '\r') {
            result += c;
        }
    }
    return result;
}

std::string pageText(const std::string& core) {
    std::string text;
    text.reserve(core.size());
    for (std::size_t i = 0; i < core.size(); ++i) {
        if (core[i] == '\r' && i + 1 < core.size() && core[i + 1] == '\n') {
            continue;
        }
        text += core[i];
    }
    return toUtf8(text);
}

int WebEditor::firstVisibleLine() const {
    return page::editorFirstLine();
}

void WebEditor::scrollLines(int count) {
    // The page stops where the last line reaches the bottom, as a text control does.
    const long long target = static_cast<long long>(page::editorFirstLine()) + count;
    page::setEditorFirstLine(static_cast<int>(std::max(0LL, std::min<long long>(target, 1 << 30))));
}

void WebEditor::selectLine(int index) {
    TextEditor::selectLine(index);
    page::selectEditorLine(index);
}

void WebEditor::setReadOnly(bool readOnly) {
    TextEditor::setReadOnly(readOnly);
    page::setEditorReadOnly(readOnly);
}

void WebEditor::appendEmptyLine() {
    TextEditor::appendEmptyLine();
    page::editorCaretToEnd();
}

void WebEditor::deleteLine(int index) {
    if (index < 0 || index >= lineCount()) {
        throw listIndexError(index);
    }
    page::deleteEditorLine(index);
    m_pageShowsIt = true;
    try {
        TextEditor::deleteLine(index);
    } catch (...) {
        m_pageShowsIt = false;
        throw;
    }
    m_pageShowsIt = false;
}

bool WebEditor::hasBreakpoint(int line) const {
    return page::editorHasBreakpoint(line);
}

void WebEditor::setBreakpoint(int line, bool on) {
    page::setEditorBreakpoint(line, on);
}

void WebEditor::showCurrentLine(int line) {
    page::showCurrentLine(line);
}

void WebEditor::setTextFromPage(const std::string& text) {
    m_pageShowsIt = true;
    try {
        setText(text);
    } catch (...) {
        m_pageShowsIt = false;
        throw;
    }
    m_pageShowsIt = false;
}

void WebEditor::editFromPage(int fromLine, int fromColumn, int toLine, int toColumn,
                             const std::string& text) {
    m_pageShowsIt = true;
    try {
        replaceRange(fromLine, fromColumn, toLine, toColumn, text);
    } catch (...) {
        m_pageShowsIt = false;
        throw;
    }
    m_pageShowsIt = false;
}

void WebEditor::changed(std::string_view what) {
    if (!m_pageShowsIt) {
        // A new text has no marks; lines deleted or appended keep the others with their lines.
        page::setEditorText(pageText(text()), what == "setText" || what == "clear");
    }
    TextEditor::changed(what);
}

void WebGrid::showRowAtTop(int row) {
    page::showRowAtTop(row);
}

void WebGrid::setInputEnabled(bool enabled) {
    page::setTableEditable(enabled);
}

void WebGrid::rowChanged(int row) {
    if (table != nullptr && row >= 0 && row < DataTable::kRowCount) {
        page::showRow(row, toUtf8(table->value(row)), toUtf8(table->comment(row)));
    }
}

void WebPicture::repaintNow() {
    if (table == nullptr || machine == nullptr) {
        return;
    }
    const int cols = memoryColumns(width);
    // Five numbers per square, then five for the frame.
    m_numbers.resize(5 * (kCellCount + 1));
    std::int32_t* out = m_numbers.data();
    const auto put = [&out](const CellRect& r, bool flag) {
        *out++ = r.left;
        *out++ = r.top;
        *out++ = r.right;
        *out++ = r.bottom;
        *out++ = flag ? 1 : 0;
    };
    if (cols > 0) {
        // Rows that start below the area are not visible and are skipped.
        for (int cell = 1; cell <= kCellCount; ++cell) {
            const CellRect square = *cellSquare(cell, cols);
            if (square.top >= height) {
                break;
            }
            put(square, isFilledCell(table->value(cell - 1)));
        }
    }
    const int squares = static_cast<int>(out - m_numbers.data());
    if (const auto frame = cellSquare(machine->LastAccessCell, cols)) {
        put(*frame, machine->LastAccessWrite);
    }
    page::paintPicture(m_numbers.data(), static_cast<int>(out - m_numbers.data()), squares);
}

void WebRegisters::showRegister(Register which, std::int32_t value) {
    auto& shown = m_shown.at(static_cast<std::size_t>(which));
    if (shown != value) {
        shown = value;
        page::showRegister(static_cast<int>(which), value);
    }
}

void WebRunPanel::setRunCaption(const std::string& caption) {
    page::setRunCaption(toUtf8(caption));
}

void WebRunPanel::setStepEnabled(bool enabled) {
    page::setStepEnabled(enabled);
}

void WebRunPanel::setTimerEnabled(RunTimer timer, bool enabled) {
    const int index = static_cast<int>(timer);
    page::setTimerEnabled(index, enabled, kTimerIntervalMs[index]);
}

void WebRunPanel::setBackEnabled(bool enabled) {
    page::setBackEnabled(enabled);
}

void WebRunPanel::showStepCount(std::uint64_t steps) {
    page::showStepCount(static_cast<double>(steps));
}

void WebRunPanel::showSpeed(Speed speed) {
    page::showSpeed(static_cast<int>(speed));
}

void WebRunPanel::sentenceChanged() {
    page::sentenceChanged();
}

void WebRunPanel::traceRowsAdded(std::uint64_t first, std::uint64_t last) {
    page::traceRowsAdded(static_cast<double>(first), static_cast<double>(last));
}

void WebRunPanel::traceRowsRemoved(std::uint64_t first, std::uint64_t last) {
    page::traceRowsRemoved(static_cast<double>(first), static_cast<double>(last));
}

void WebRunPanel::showHistory(const HistoryRange& range) {
    page::showHistory(static_cast<double>(range.oldest), static_cast<double>(range.newest),
                      static_cast<double>(range.current), range.movable);
}

void WebPrompts::showMessage(const std::string& text, const std::string& caption,
                             MessageIcon icon) {
    page::showMessage(toUtf8(text), toUtf8(caption), icon == MessageIcon::Error);
}

void WebPrompts::showNote(const std::string& utf8) {
    page::showNote(utf8);
}

bool WebPrompts::askYesNo(const std::string& text, const std::string& caption) {
    return page::askYesNo(toUtf8(text), toUtf8(caption));
}

std::optional<std::string> WebPrompts::chooseFileToOpen(const FileFilter& filter) {
    // One byte beyond a file kind's limit is enough for the core to refuse a larger file with
    // its own message, so the page never reads more of a huge file than that.
    // A task file has a limit of its own.
    const std::size_t limit = filter.pattern == grading::kTaskFileFilter.pattern
                                  ? grading::kMaxTaskFileBytes
                              : filter.pattern == "*.dta" ? kMaxDataFileBytes
                                                          : kMaxProgramFileBytes;
    return page::chooseFileToOpen(toUtf8(filter.description), filter.pattern,
                                  static_cast<double>(limit) + 1);
}

std::optional<std::string> WebPrompts::chooseFileToSave(const FileFilter& filter,
                                                        const std::string& defaultExtension) {
    return page::chooseFileToSave(toUtf8(filter.description), filter.pattern, defaultExtension);
}

void WebPrompts::finishSave(const std::string& path) {
    // The page answers with the browser's reason when its writer refused the file.
    if (const auto reason = page::finishSave(path)) {
        throw fileSaveError(path, *reason);
    }
}

std::optional<std::string> WebNumberInput::askText(const std::optional<std::string>& rejected) {
    const auto text = page::askNumber(rejected.has_value());
    if (!text) {
        return std::nullopt;
    }
    return fromUtf8(*text);
}

}  // namespace quarzel
