// The core's side of the page's calls (the list QZ_CORE_CALLS in boundary.h): the session's
// commands, the user's edits and what the page reads of the session.
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "common/win1252.h"
#include "files/data_file.h"
#include "files/file_errors.h"
#include "files/program_file.h"
#include "model/data_table.h"
#include "screen/commands.h"
#include "screen/memory_geometry.h"
#include "screen/primer_text.h"
#include "screen/reference_text.h"
#include "web/boundary.h"
#include "web/teaching_texts.h"
#include "web/web_app.h"

namespace quarzel {
namespace {

// The page's one session, as the window owns its one workbench; the page calls in only
// through the functions below.
std::unique_ptr<WebApp> g_app;
std::string g_text;  // the last text handed to the page; valid until the next call

const char* handOut(std::string text) {
    g_text = std::move(text);
    return g_text.c_str();
}

}  // namespace

WebApp& webApp() {
    return *g_app;
}

void CoreCalls::qz_init() {
    g_app = std::make_unique<WebApp>();
    g_app->showAll();
}

const char* CoreCalls::qz_reference_text() {
    std::string text;
    for (const std::string& line : referenceLines()) {
        text += line + "\n";
    }
    return handOut(text);
}

const char* CoreCalls::qz_primer() {
    static const std::string json = primerJson();
    return json.c_str();
}

// "Ausprobieren" beside the primer's section `section`; a section without a program has no
// button, and a number out of range does nothing.
void CoreCalls::qz_try_program(int section) {
    const std::vector<PrimerSection>& sections = primerSections();
    if (section >= 0 && static_cast<std::size_t>(section) < sections.size() &&
        !sections[static_cast<std::size_t>(section)].program.empty()) {
        g_app->workbench().tryProgram(sections[static_cast<std::size_t>(section)].program);
    }
}

void CoreCalls::qz_command(int which) {
    if (which >= 0 && which < static_cast<int>(std::size(kCommands))) {
        g_app->command(static_cast<Command>(which));
    }
}

void CoreCalls::qz_speed(int speed) {
    g_app->speedClick(static_cast<Speed>(speed));
}

void CoreCalls::qz_timer(int timer) {
    g_app->timerTick(static_cast<RunTimer>(timer));
}

void CoreCalls::qz_html(ShortText date) {
    g_app->htmlExport(fromUtf8(date));
}

void CoreCalls::qz_task_load() {
    g_app->taskLoad();
}

void CoreCalls::qz_task_test() {
    g_app->taskTest();
}

void CoreCalls::qz_task_select(int row) {
    g_app->task().select(row);
}

// "Fall übernehmen" and a double click on a case: the row selected, then taken over.
void CoreCalls::qz_task_take_over(int row) {
    g_app->task().select(row);
    g_app->task().takeOver();
}

int CoreCalls::qz_close() {
    return g_app->closeRequested();
}

// Whether the editor takes a text of this size (Windows-1252 bytes with CR LF, line breaks),
// which the page counts without handing the text over.
bool CoreCalls::qz_program_fits(double bytes, double lineBreaks) {
    return bytes >= 0 && lineBreaks >= 0 &&
           programSizeFits(static_cast<std::size_t>(bytes), static_cast<std::size_t>(lineBreaks));
}

// Shows why a text was refused, as a load of a too large program file shows it.
void CoreCalls::qz_refuse_text() {
    g_app->workbench().acceptProgramSize(kMaxProgramFileBytes + 1, 0);
}

// Whether every character of a typed or pasted text can be saved in the files; when not, the
// core's note names the first one that cannot and the text must not go in.
bool CoreCalls::qz_accept_typed(ProgramText text) {
    return g_app->workbench().acceptTypedText(text);
}

void CoreCalls::qz_program_changed(ProgramText text) {
    g_app->programChanged(coreText(text));
}

// One change the user made in the editor, positions as the page counts them before it: the
// page's columns are the core's, every character it holds being one byte of Windows-1252.
void CoreCalls::qz_program_edit(int fromLine, int fromColumn, int toLine, int toColumn,
                                ProgramText text) {
    g_app->programEdited(fromLine, fromColumn, toLine, toColumn, coreText(text));
}

void CoreCalls::qz_cell_typed(int column, int row, CellText text) {
    g_app->cellTyped(column, row, fromUtf8(text));
}

void CoreCalls::qz_cell_edited(int column, int row, CellText text) {
    g_app->cellEdited(column, row, fromUtf8(text));
}

void CoreCalls::qz_toggle_breakpoint(int line) {
    g_app->toggleBreakpoint(line);
}

void CoreCalls::qz_picture_size(int width, int height) {
    g_app->picture().width = width;
    g_app->picture().height = height;
    g_app->picture().repaintNow();
}

int CoreCalls::qz_cell_at(int x, int y) {
    return cellAt(x, y, memoryColumns(g_app->picture().width));
}

const char* CoreCalls::qz_cell_text(int column, int row) {
    if (row < 0 || row >= DataTable::kRowCount || column < 1 || column > 2) {
        return handOut("");
    }
    return handOut(toUtf8(g_app->workbench().table().text(column, row)));
}

bool CoreCalls::qz_unsaved() {
    return g_app->workbench().hasUnsavedWork();
}

// The program and the table as one record, for the page to keep.
const char* CoreCalls::qz_kept_work() {
    return handOut(toUtf8(g_app->workbench().keptWork()));
}

// Puts back a record the page kept; false when it was damaged and nothing changed (the page
// then keeps the record aside).
bool CoreCalls::qz_restore(RecordText record) {
    return g_app->workbench().restoreKeptWork(fromUtf8(record)).result == KeptWorkRestore::Restored;
}

}  // namespace quarzel
