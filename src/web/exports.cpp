// The functions the page's script calls. Those that may wait for a question of the user are
// called through Asyncify (ccall with async); the page sends nothing else meanwhile.
#include <emscripten.h>

#include <memory>
#include <string>

#include "common/win1252.h"
#include "files/data_file.h"
#include "files/file_errors.h"
#include "files/program_file.h"
#include "model/data_table.h"
#include "screen/captions.h"
#include "screen/main_layout.h"
#include "screen/memory_geometry.h"
#include "screen/reference_text.h"
#include "web/task.h"
#include "web/web_app.h"

namespace quarzel {
namespace {

std::unique_ptr<WebApp> g_app;
WebTask g_task;
std::string g_text;  // the last text handed to the page; valid until the next call

const char* handOut(std::string text) {
    g_text = std::move(text);
    return g_text.c_str();
}

// JSON string literal of a UTF-8 text.
std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

// The rectangles of the layout in this order, four numbers each.
#define QZ_LAYOUT_FIELDS(X)                                                                       \
    X(gbProgram)                                                                                  \
    X(meProgram)                                                                                  \
    X(gbData)                                                                                     \
    X(sgData) X(gbDataGraphical) X(pbMemory) X(enumber) X(evalue) X(ecomment) X(gbVMInspector)    \
        X(gbVMAccu) X(ebAccu) X(gbVMWindow) X(ebWindow) X(gbVMIndex) X(ebIndex) X(gbVMIP) X(ebIP) \
            X(gbVMSP) X(ebSP) X(gbFlowControl) X(btCheck) X(btRun) X(gbSpeed) X(rbStep) X(rbSlow) \
                X(rbFast) X(rbDirect) X(btStep) X(gbFile) X(btNew) X(btLoad) X(btSave) X(btHTML)  \
                    X(btView) X(btHelp) X(btExit) X(btBack) X(lbSteps)

#define QZ_CAPTION_FIELDS(X)                                                                      \
    X(gbProgram)                                                                                  \
    X(gbData)                                                                                     \
    X(gbVMInspector)                                                                              \
    X(gbVMAccu) X(gbVMWindow) X(gbVMIndex) X(gbVMIP) X(gbVMSP) X(gbFlowControl) X(btCheck)        \
        X(btRun) X(btStep) X(gbSpeed) X(rbStep) X(rbSlow) X(rbFast) X(rbDirect) X(btBack)         \
            X(btBackTip) X(lbStepsPrefix) X(lbStepsTip) X(enumberTip) X(evalueTip) X(ecommentTip) \
                X(pbMemory) X(gbFile) X(btNew) X(btLoad) X(btSave) X(btHTML) X(btView) X(btHelp)  \
                    X(btExit) X(frmHilfe) X(frmData)

}  // namespace
}  // namespace quarzel

using namespace quarzel;

extern "C" {

EMSCRIPTEN_KEEPALIVE void qz_init() {
    g_app = std::make_unique<WebApp>();
    g_app->showAll();
}

EMSCRIPTEN_KEEPALIVE const char* qz_layout_names() {
    std::string names;
#define QZ_NAME(field) names += std::string(names.empty() ? "" : ",") + #field;
    QZ_LAYOUT_FIELDS(QZ_NAME)
    QZ_NAME(btAufgabe)
#undef QZ_NAME
    return handOut(names);
}

EMSCRIPTEN_KEEPALIVE const int* qz_layout(int width, int height) {
    static int numbers[4 * 64];
    const MainLayout l = computeMainLayout(width, height);
    int* out = numbers;
#define QZ_RECT(field)      \
    *out++ = l.field.left;  \
    *out++ = l.field.top;   \
    *out++ = l.field.width; \
    *out++ = l.field.height;
    QZ_LAYOUT_FIELDS(QZ_RECT)
    QZ_RECT(btAufgabe)
#undef QZ_RECT
    return numbers;
}

EMSCRIPTEN_KEEPALIVE const char* qz_captions() {
    std::string json = "{";
#define QZ_CAPTION(field) \
    json +=               \
        std::string(json.size() > 1 ? "," : "") + "\"" #field "\":" + jsonString(captions::field);
    QZ_CAPTION(btAufgabe)
    QZ_CAPTION(btAufgabeTip)
    QZ_CAPTION_FIELDS(QZ_CAPTION)
#undef QZ_CAPTION
    return handOut(json + "}");
}

EMSCRIPTEN_KEEPALIVE const char* qz_reference_text() {
    std::string text;
    for (const std::string& line : referenceLines()) {
        text += line + "\n";
    }
    return handOut(text);
}

EMSCRIPTEN_KEEPALIVE void qz_command(int which) {
    g_app->command(static_cast<WebCommand>(which));
}

EMSCRIPTEN_KEEPALIVE void qz_speed(int speed) {
    g_app->speedClick(static_cast<Speed>(speed));
}

EMSCRIPTEN_KEEPALIVE void qz_timer(int timer) {
    g_app->timerTick(static_cast<RunTimer>(timer));
}

EMSCRIPTEN_KEEPALIVE void qz_html(const char* date) {
    g_app->htmlExport(fromUtf8(date));
}

EMSCRIPTEN_KEEPALIVE void qz_task_load() {
    g_task.load(*g_app);
}

EMSCRIPTEN_KEEPALIVE void qz_task_test() {
    g_task.test(*g_app);
}

EMSCRIPTEN_KEEPALIVE void qz_task_take_over(int row) {
    g_task.takeOver(*g_app, row);
}

EMSCRIPTEN_KEEPALIVE int qz_close() {
    return g_app->closeRequested() ? 1 : 0;
}

// Whether the editor takes a text the user typed or pasted.
EMSCRIPTEN_KEEPALIVE int qz_program_fits(const char* utf8) {
    return programTextFits(coreText(utf8)) ? 1 : 0;
}

// Shows why a text was refused, as a load of a too large program file shows it.
EMSCRIPTEN_KEEPALIVE void qz_refuse_program() {
    g_app->handle([] { throw memoCapacityError(); });
}

EMSCRIPTEN_KEEPALIVE void qz_program_changed(const char* utf8) {
    g_app->programChanged(coreText(utf8));
}

EMSCRIPTEN_KEEPALIVE void qz_cell_typed(int column, int row, const char* utf8) {
    g_app->cellTyped(column, row, fromUtf8(utf8));
}

EMSCRIPTEN_KEEPALIVE void qz_cell_edited(int column, int row, const char* utf8) {
    g_app->cellEdited(column, row, fromUtf8(utf8));
}

EMSCRIPTEN_KEEPALIVE void qz_toggle_breakpoint(int line) {
    g_app->toggleBreakpoint(line);
}

EMSCRIPTEN_KEEPALIVE void qz_picture_size(int width, int height) {
    g_app->picture().width = width;
    g_app->picture().height = height;
    g_app->picture().repaintNow();
}

EMSCRIPTEN_KEEPALIVE int qz_cell_at(int x, int y) {
    return cellAt(x, y, memoryColumns(g_app->picture().width));
}

EMSCRIPTEN_KEEPALIVE const char* qz_cell_text(int column, int row) {
    if (row < 0 || row >= DataTable::kRowCount || column < 1 || column > 2) {
        return handOut("");
    }
    return handOut(toUtf8(g_app->workbench().table.text(column, row)));
}

EMSCRIPTEN_KEEPALIVE int qz_unsaved() {
    const StateFlags& flags = g_app->workbench().flags;
    return flags.ProgramModified || flags.DataModified ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE double qz_edits() {
    return static_cast<double>(g_app->workbench().flags.Edits);
}

EMSCRIPTEN_KEEPALIVE const char* qz_program_text() {
    return handOut(pageText(g_app->editor().text()));
}

EMSCRIPTEN_KEEPALIVE const char* qz_data_text() {
    return handOut(toUtf8(dataFileText(g_app->workbench().table)));
}

// Puts back the program and the table kept by the page: both count as unsaved work.
EMSCRIPTEN_KEEPALIVE void qz_restore(const char* program, const char* data) {
    g_app->handle([program, data] {
        Workbench& wb = g_app->workbench();
        g_app->editor().setText(coreText(program));
        const std::string table = fromUtf8(data);
        if (!table.empty()) {
            applyDataFileText(table, wb.table);
            wb.flags.DataModified = true;
        }
        wb.views.picture.repaintNow();
    });
}

}  // extern "C"
