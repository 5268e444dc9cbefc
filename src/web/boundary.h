// Every call between the page's script and the core, declared once. The core's exported
// functions and the stubs through which the core calls the page are made from these two lists;
// the page's build checks them against the interfaces CoreCalls and PageCalls of
// web/src/boundary.ts, so that a call renamed or missing on either side fails the build.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>

namespace quarzel {

// The texts the page hands in, by what they carry. The page refuses a text longer than its kind
// allows (the limits come with the page's setup) before it reaches the core.
using ProgramText = const char*;  // the editor's whole text
using CellText = const char*;     // what a cell's editor holds
using RecordText = const char*;   // program and table as one record, as the page keeps it
using ShortText = const char*;    // a date, a name

}  // namespace quarzel

// The page calls the core. X(name, sync|async, result, (parameters), (arguments)):
// - async: the call may wait for the user (a box, a file choice); the page runs it as a command
//   (nothing else enters the core meanwhile) and awaits it;
// - parameters: int, double, bool and the text kinds above; result: void, int, double, bool, or
//   const char* (a text the core keeps until its next call).
// The core defines each as a static function of CoreCalls, e.g. `void CoreCalls::qz_init()`.
#define QZ_CORE_CALLS(X)                                                                     \
    X(qz_init, sync, void, (), ())                                                           \
    X(qz_page_setup, sync, const char*, (), ())                                              \
    X(qz_layout, sync, const char*, (int w, int h, bool touch), (w, h, touch))               \
    X(qz_reference_text, sync, const char*, (), ())                                          \
    X(qz_primer, sync, const char*, (), ())                                                  \
    X(qz_try_program, async, void, (int section), (section))                                 \
    X(qz_command, async, void, (int which), (which))                                         \
    X(qz_speed, async, void, (int speed), (speed))                                           \
    X(qz_timer, async, void, (int timer), (timer))                                           \
    X(qz_html, async, void, (ShortText date), (date))                                        \
    X(qz_task_load, async, void, (), ())                                                     \
    X(qz_task_test, async, void, (), ())                                                     \
    X(qz_task_select, sync, void, (int row), (row))                                          \
    X(qz_task_take_over, async, void, (int row), (row))                                      \
    X(qz_close, async, int, (), ())                                                          \
    X(qz_program_fits, sync, bool, (double bytes, double lineBreaks), (bytes, lineBreaks))   \
    X(qz_refuse_text, async, void, (), ())                                                   \
    X(qz_accept_typed, sync, bool, (ProgramText text), (text))                               \
    X(qz_program_changed, sync, void, (ProgramText text), (text))                            \
    X(qz_program_edit, sync, void,                                                           \
      (int fromLine, int fromColumn, int toLine, int toColumn, ProgramText text),            \
      (fromLine, fromColumn, toLine, toColumn, text))                                        \
    X(qz_cell_typed, sync, void, (int column, int row, CellText text), (column, row, text))  \
    X(qz_cell_edited, sync, void, (int column, int row, CellText text), (column, row, text)) \
    X(qz_toggle_breakpoint, sync, void, (int line), (line))                                  \
    X(qz_picture_size, sync, void, (int width, int height), (width, height))                 \
    X(qz_cell_at, sync, int, (int x, int y), (x, y))                                         \
    X(qz_cell_text, sync, const char*, (int column, int row), (column, row))                 \
    X(qz_unsaved, sync, bool, (), ())                                                        \
    X(qz_kept_work, sync, const char*, (), ())                                               \
    X(qz_restore, async, bool, (RecordText record), (record))                                \
    X(qz_internal_error_text, sync, const char*, (ShortText what), (what))                   \
    X(qz_step_sentence, sync, const char*, (), ())                                           \
    X(qz_trace_span, sync, const char*, (), ())                                              \
    X(qz_trace_rows, sync, const char*, (double first, int count), (first, count))           \
    X(qz_trace_export, async, void, (int format), (format))                                  \
    X(qz_history_move, async, void, (double step), (step))                                   \
    X(qz_back_to_breakpoint, async, void, (), ())

// The core calls the page. X(name, sync|async, result, (parameters)):
// - async: the page answers later (a box, a file choice); the core waits through Asyncify, which
//   only a command may do;
// - parameters: int, std::int32_t, double, bool, const char* (UTF-8), and a const std::int32_t*
//   followed by its int count (an Int32Array for the page); result: void, int, bool, or char*
//   (a text the page allocates and the caller gets as std::optional<std::string>; none is null).
#define QZ_PAGE_CALLS(X)                                                                    \
    X(setEditorText, sync, void, (const char* text, bool clearMarks))                       \
    X(deleteEditorLine, sync, void, (int line))                                             \
    X(setEditorFirstLine, sync, void, (int line))                                           \
    X(editorFirstLine, sync, int, ())                                                       \
    X(selectEditorLine, sync, void, (int line))                                             \
    X(editorCaretToEnd, sync, void, ())                                                     \
    X(editorHasBreakpoint, sync, bool, (int line))                                          \
    X(setEditorBreakpoint, sync, void, (int line, bool on))                                 \
    X(showCurrentLine, sync, void, (int line))                                              \
    X(setEditorReadOnly, sync, void, (bool on))                                             \
    X(showRowAtTop, sync, void, (int row))                                                  \
    X(setTableEditable, sync, void, (bool on))                                              \
    X(showRow, sync, void, (int row, const char* value, const char* comment))               \
    X(paintPicture, sync, void, (const std::int32_t* numbers, int count, int squares))      \
    X(showRegister, sync, void, (int which, std::int32_t value))                            \
    X(setRunCaption, sync, void, (const char* caption))                                     \
    X(setStepEnabled, sync, void, (bool on))                                                \
    X(setBackEnabled, sync, void, (bool on))                                                \
    X(setTimerEnabled, sync, void, (int timer, bool on, int interval))                      \
    X(showStepCount, sync, void, (double steps))                                            \
    X(showSpeed, sync, void, (int speed))                                                   \
    X(showMessage, async, void, (const char* text, const char* caption, bool error))        \
    X(showNote, sync, void, (const char* text))                                             \
    X(askYesNo, async, bool, (const char* text, const char* caption))                       \
    X(chooseFileToOpen, async, char*,                                                       \
      (const char* description, const char* pattern, double maxBytes))                      \
    X(chooseFileToSave, async, char*,                                                       \
      (const char* description, const char* pattern, const char* extension))                \
    X(finishSave, async, char*, (const char* path))                                         \
    X(askNumber, async, char*, (bool again))                                                \
    X(taskShow, sync, void, (const char* title, int cases))                                 \
    X(taskCase, sync, void, (int row, const char* name, double points, const char* inputs)) \
    X(taskSelect, sync, void, (int row))                                                    \
    X(taskButtons, sync, void, (bool test, bool takeOver))                                  \
    X(taskResult, sync, void, (int row, bool passed, const char* text))                     \
    X(taskPoints, sync, void, (const char* text))                                           \
    X(taskTakenOver, sync, void, (const char* text))                                        \
    X(taskProgress, async, bool, (int done, int total))                                     \
    X(chooseDataFiles, async, char*, (const char* names, double maxBytes))                  \
    X(chooseExample, async, int, (const char* examples))                                    \
    X(coreFailed, sync, void, (const char* text))                                           \
    X(sentenceChanged, sync, void, ())                                                      \
    X(traceRowsAdded, sync, void, (double first, double last))                              \
    X(traceRowsRemoved, sync, void, (double first, double last))                            \
    X(showHistory, sync, void, (double oldest, double newest, double current, bool movable))

namespace quarzel {

// The core's side of the page's calls. A definition that differs from its line above does not
// compile; a line without a definition does not link.
struct CoreCalls {
#define QZ_DECLARE_CORE_CALL(name, kind, result, parameters, arguments) \
    static result name parameters;
    QZ_CORE_CALLS(QZ_DECLARE_CORE_CALL)
#undef QZ_DECLARE_CORE_CALL
};

}  // namespace quarzel

// The stubs of the page's calls (made in boundary.cpp), imported under the names their
// JavaScript has there: a stub that may wait is one Asyncify knows as such, by its name.
#define QZ_PAGE_IMPORT_sync(name) \
    __attribute__((import_module("env"), import_name("qz_page_" #name)))
#define QZ_PAGE_IMPORT_async(name) \
    __attribute__((import_module("env"), import_name("__asyncjs__qz_page_" #name)))
extern "C" {
#define QZ_DECLARE_PAGE_STUB(name, kind, result, parameters) \
    result qz_page_##name parameters QZ_PAGE_IMPORT_##kind(name);
QZ_PAGE_CALLS(QZ_DECLARE_PAGE_STUB)
#undef QZ_DECLARE_PAGE_STUB
}

namespace quarzel::page {
namespace detail {

inline const char* cArgument(const std::string& text) {
    return text.c_str();
}
template <typename T>
T cArgument(T value) {
    return value;
}

template <typename T>
struct Result {
    using Type = T;
    static T take(T value) { return value; }
};
template <>
struct Result<void> {
    using Type = void;
};
// A text the page allocated: copied and freed.
template <>
struct Result<char*> {
    using Type = std::optional<std::string>;
    static Type take(char* text);
};

// Throws, as an internal error, what went wrong in the page during the call just made.
void checkPageCall(const char* name);

template <typename R, typename Call>
typename Result<R>::Type call(const char* name, Call&& stub) {
    if constexpr (std::is_void_v<R>) {
        stub();
        checkPageCall(name);
    } else {
        typename Result<R>::Type result = Result<R>::take(stub());
        checkPageCall(name);
        return result;
    }
}

}  // namespace detail

// The page's calls for the core's views: texts as std::string or const char*, a returned text
// as std::optional<std::string>. A call that failed in the page throws std::runtime_error.
#define QZ_PAGE_FUNCTION(name, kind, result, parameters)                             \
    template <typename... Arguments>                                                 \
    typename detail::Result<result>::Type name(const Arguments&... arguments) {      \
        return detail::call<result>(                                                 \
            #name, [&] { return qz_page_##name(detail::cArgument(arguments)...); }); \
    }
QZ_PAGE_CALLS(QZ_PAGE_FUNCTION)
#undef QZ_PAGE_FUNCTION

}  // namespace quarzel::page
