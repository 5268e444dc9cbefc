// The page's functions as the core calls them: each forwards to Module.page, which the page's
// script installs before the module starts.
#include "web/page_calls.h"

#include <emscripten.h>

#include <cstdlib>

// clang-format off
EM_JS(void, qz_js_set_editor_text, (const char* text, int clearMarks), {
    Module.page.setEditorText(UTF8ToString(text), clearMarks !== 0);
});
EM_JS(void, qz_js_set_editor_first_line, (int line), { Module.page.setEditorFirstLine(line); });
EM_JS(int, qz_js_editor_first_line, (), { return Module.page.editorFirstLine(); });
EM_JS(void, qz_js_select_editor_line, (int line), { Module.page.selectEditorLine(line); });
EM_JS(void, qz_js_editor_caret_to_end, (), { Module.page.editorCaretToEnd(); });
EM_JS(int, qz_js_editor_has_breakpoint, (int line), {
    return Module.page.editorHasBreakpoint(line) ? 1 : 0;
});
EM_JS(void, qz_js_set_editor_breakpoint, (int line, int on), {
    Module.page.setEditorBreakpoint(line, on !== 0);
});
EM_JS(void, qz_js_show_editor_current_line, (int line), { Module.page.showCurrentLine(line); });
EM_JS(void, qz_js_set_editor_read_only, (int on), { Module.page.setEditorReadOnly(on !== 0); });
EM_JS(void, qz_js_show_row_at_top, (int row), { Module.page.showRowAtTop(row); });
EM_JS(void, qz_js_set_table_editable, (int on), { Module.page.setTableEditable(on !== 0); });
EM_JS(void, qz_js_show_row, (int row, const char* value, const char* comment), {
    Module.page.showRow(row, UTF8ToString(value), UTF8ToString(comment));
});
EM_JS(void, qz_js_paint_picture, (const int* numbers, int count, int frameWidth), {
    Module.page.paintPicture(HEAP32.subarray(numbers >> 2, (numbers >> 2) + count), frameWidth);
});
EM_JS(void, qz_js_show_register, (int which, int value), {
    Module.page.showRegister(which, value);
});
EM_JS(void, qz_js_set_run_caption, (const char* text), {
    Module.page.setRunCaption(UTF8ToString(text));
});
EM_JS(void, qz_js_set_step_enabled, (int on), { Module.page.setStepEnabled(on !== 0); });
EM_JS(void, qz_js_set_back_enabled, (int on), { Module.page.setBackEnabled(on !== 0); });
EM_JS(void, qz_js_set_timer_enabled, (int timer, int on, int interval), {
    Module.page.setTimerEnabled(timer, on !== 0, interval);
});
EM_JS(void, qz_js_show_step_count, (double steps), { Module.page.showStepCount(steps); });
EM_JS(void, qz_js_show_speed, (int speed), { Module.page.showSpeed(speed); });


EM_JS(void, qz_js_show_note, (const char* text), { Module.page.showNote(UTF8ToString(text)); });

EM_ASYNC_JS(void, qz_js_show_message, (const char* text, const char* caption, int error), {
    await Module.page.showMessage(UTF8ToString(text), UTF8ToString(caption), error !== 0);
});
EM_ASYNC_JS(int, qz_js_ask_yes_no, (const char* text, const char* caption), {
    return (await Module.page.askYesNo(UTF8ToString(text), UTF8ToString(caption))) ? 1 : 0;
});
EM_ASYNC_JS(char*, qz_js_choose_file_to_open,
            (const char* description, const char* pattern, double maxBytes), {
    const path = await Module.page.chooseFileToOpen(UTF8ToString(description),
                                                    UTF8ToString(pattern), maxBytes);
    if (path === null) return 0;
    const size = lengthBytesUTF8(path) + 1;
    const memory = _malloc(size);
    stringToUTF8(path, memory, size);
    return memory;
});
EM_ASYNC_JS(char*, qz_js_choose_file_to_save,
            (const char* description, const char* pattern, const char* extension), {
    const path = await Module.page.chooseFileToSave(UTF8ToString(description),
                                                    UTF8ToString(pattern),
                                                    UTF8ToString(extension));
    if (path === null) return 0;
    const size = lengthBytesUTF8(path) + 1;
    const memory = _malloc(size);
    stringToUTF8(path, memory, size);
    return memory;
});
EM_ASYNC_JS(char*, qz_js_ask_number, (int again), {
    const text = await Module.page.askNumber(again !== 0);
    if (text === null) return 0;
    const size = lengthBytesUTF8(text) + 1;
    const memory = _malloc(size);
    stringToUTF8(text, memory, size);
    return memory;
});
// clang-format on

namespace quarzel::page {
namespace {

std::optional<std::string> takeText(char* text) {
    if (text == nullptr) {
        return std::nullopt;
    }
    std::string result(text);
    std::free(text);
    return result;
}

}  // namespace

void setEditorText(const std::string& utf8, bool clearMarks) {
    qz_js_set_editor_text(utf8.c_str(), clearMarks ? 1 : 0);
}
void setEditorFirstLine(int line) {
    qz_js_set_editor_first_line(line);
}
int editorFirstLine() {
    return qz_js_editor_first_line();
}
void selectEditorLine(int line) {
    qz_js_select_editor_line(line);
}
void editorCaretToEnd() {
    qz_js_editor_caret_to_end();
}
bool editorHasBreakpoint(int line) {
    return qz_js_editor_has_breakpoint(line) != 0;
}
void setEditorBreakpoint(int line, bool on) {
    qz_js_set_editor_breakpoint(line, on ? 1 : 0);
}
void showEditorCurrentLine(int line) {
    qz_js_show_editor_current_line(line);
}
void setEditorReadOnly(bool readOnly) {
    qz_js_set_editor_read_only(readOnly ? 1 : 0);
}
void showRowAtTop(int row) {
    qz_js_show_row_at_top(row);
}
void setTableEditable(bool editable) {
    qz_js_set_table_editable(editable ? 1 : 0);
}
void showRow(int row, const std::string& valueUtf8, const std::string& commentUtf8) {
    qz_js_show_row(row, valueUtf8.c_str(), commentUtf8.c_str());
}
void paintPicture(const std::int32_t* numbers, int count, int frameWidth) {
    qz_js_paint_picture(reinterpret_cast<const int*>(numbers), count, frameWidth);
}
void showRegister(int which, std::int32_t value) {
    qz_js_show_register(which, value);
}
void setRunCaption(const std::string& utf8) {
    qz_js_set_run_caption(utf8.c_str());
}
void setStepEnabled(bool enabled) {
    qz_js_set_step_enabled(enabled ? 1 : 0);
}
void setBackEnabled(bool enabled) {
    qz_js_set_back_enabled(enabled ? 1 : 0);
}
void setTimerEnabled(int timer, bool enabled, int intervalMs) {
    qz_js_set_timer_enabled(timer, enabled ? 1 : 0, intervalMs);
}
void showStepCount(double steps) {
    qz_js_show_step_count(steps);
}
void showSpeed(int speed) {
    qz_js_show_speed(speed);
}
void showMessage(const std::string& text, const std::string& caption, bool error) {
    qz_js_show_message(text.c_str(), caption.c_str(), error ? 1 : 0);
}
void showNote(const std::string& utf8) {
    qz_js_show_note(utf8.c_str());
}
bool askYesNo(const std::string& text, const std::string& caption) {
    return qz_js_ask_yes_no(text.c_str(), caption.c_str()) != 0;
}
std::optional<std::string> chooseFileToOpen(const std::string& description,
                                            const std::string& pattern, double maxBytes) {
    return takeText(qz_js_choose_file_to_open(description.c_str(), pattern.c_str(), maxBytes));
}
std::optional<std::string> chooseFileToSave(const std::string& description,
                                            const std::string& pattern,
                                            const std::string& extension) {
    return takeText(
        qz_js_choose_file_to_save(description.c_str(), pattern.c_str(), extension.c_str()));
}
std::optional<std::string> askNumber(bool again) {
    return takeText(qz_js_ask_number(again ? 1 : 0));
}

}  // namespace quarzel::page
