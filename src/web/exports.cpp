// The functions the page's script calls. Those that may wait for a question of the user are
// called through Asyncify (ccall with async); the page sends nothing else meanwhile.
#include <emscripten.h>

#include <iterator>
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

// The page's one session, as the window owns its one workbench; the page calls in only
// through the functions below.
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

// Every control the layout places, by the name the page gives its element.
struct LayoutField {
    const char* name;
    LayoutRect MainLayout::*rect;
};
const LayoutField kLayoutFields[] = {
    {"gbProgram", &MainLayout::gbProgram},
    {"meProgram", &MainLayout::meProgram},
    {"gbData", &MainLayout::gbData},
    {"sgData", &MainLayout::sgData},
    {"gbDataGraphical", &MainLayout::gbDataGraphical},
    {"pbMemory", &MainLayout::pbMemory},
    {"enumber", &MainLayout::enumber},
    {"evalue", &MainLayout::evalue},
    {"ecomment", &MainLayout::ecomment},
    {"gbVMInspector", &MainLayout::gbVMInspector},
    {"gbVMAccu", &MainLayout::gbVMAccu},
    {"ebAccu", &MainLayout::ebAccu},
    {"gbVMWindow", &MainLayout::gbVMWindow},
    {"ebWindow", &MainLayout::ebWindow},
    {"gbVMIndex", &MainLayout::gbVMIndex},
    {"ebIndex", &MainLayout::ebIndex},
    {"gbVMIP", &MainLayout::gbVMIP},
    {"ebIP", &MainLayout::ebIP},
    {"gbVMSP", &MainLayout::gbVMSP},
    {"ebSP", &MainLayout::ebSP},
    {"gbFlowControl", &MainLayout::gbFlowControl},
    {"btCheck", &MainLayout::btCheck},
    {"btRun", &MainLayout::btRun},
    {"gbSpeed", &MainLayout::gbSpeed},
    {"rbStep", &MainLayout::rbStep},
    {"rbSlow", &MainLayout::rbSlow},
    {"rbFast", &MainLayout::rbFast},
    {"rbDirect", &MainLayout::rbDirect},
    {"btStep", &MainLayout::btStep},
    {"gbFile", &MainLayout::gbFile},
    {"btNew", &MainLayout::btNew},
    {"btLoad", &MainLayout::btLoad},
    {"btSave", &MainLayout::btSave},
    {"btHTML", &MainLayout::btHTML},
    {"btView", &MainLayout::btView},
    {"btHelp", &MainLayout::btHelp},
    {"btExit", &MainLayout::btExit},
    {"btBack", &MainLayout::btBack},
    {"lbSteps", &MainLayout::lbSteps},
    {"btAufgabe", &MainLayout::btAufgabe},
};

struct CaptionField {
    const char* name;
    const char* text;
};
const CaptionField kCaptionFields[] = {
    {"gbProgram", captions::gbProgram},
    {"gbData", captions::gbData},
    {"gbVMInspector", captions::gbVMInspector},
    {"gbVMAccu", captions::gbVMAccu},
    {"gbVMWindow", captions::gbVMWindow},
    {"gbVMIndex", captions::gbVMIndex},
    {"gbVMIP", captions::gbVMIP},
    {"gbVMSP", captions::gbVMSP},
    {"gbFlowControl", captions::gbFlowControl},
    {"btCheck", captions::btCheck},
    {"btRun", captions::btRun},
    {"btStep", captions::btStep},
    {"gbSpeed", captions::gbSpeed},
    {"rbStep", captions::rbStep},
    {"rbSlow", captions::rbSlow},
    {"rbFast", captions::rbFast},
    {"rbDirect", captions::rbDirect},
    {"btBack", captions::btBack},
    {"btBackTip", captions::btBackTip},
    {"lbStepsPrefix", captions::lbStepsPrefix},
    {"lbStepsTip", captions::lbStepsTip},
    {"btAufgabe", captions::btAufgabe},
    {"btAufgabeTip", captions::btAufgabeTip},
    {"actBreakpoint", captions::actBreakpoint},
    {"actBreakpointTip", captions::actBreakpointTip},
    {"frmAufgabe", captions::frmAufgabe},
    {"lbTaskNone", captions::lbTaskNone},
    {"lbTaskTitleName", captions::lbTaskTitleName},
    {"twCasesName", captions::twCasesName},
    {"colCase", captions::colCase},
    {"colPoints", captions::colPoints},
    {"colInputs", captions::colInputs},
    {"colResult", captions::colResult},
    {"lbPointsName", captions::lbPointsName},
    {"lbInputsName", captions::lbInputsName},
    {"btTaskLoad", captions::btTaskLoad},
    {"btTaskLoadTip", captions::btTaskLoadTip},
    {"btTaskTest", captions::btTaskTest},
    {"btTaskTestTip", captions::btTaskTestTip},
    {"btTaskTakeOver", captions::btTaskTakeOver},
    {"btTaskTakeOverTip", captions::btTaskTakeOverTip},
    {"enumberTip", captions::enumberTip},
    {"evalueTip", captions::evalueTip},
    {"ecommentTip", captions::ecommentTip},
    {"pbMemory", captions::pbMemory},
    {"gbFile", captions::gbFile},
    {"btNew", captions::btNew},
    {"btLoad", captions::btLoad},
    {"btSave", captions::btSave},
    {"btHTML", captions::btHTML},
    {"btView", captions::btView},
    {"btHelp", captions::btHelp},
    {"btExit", captions::btExit},
    {"frmHilfe", captions::frmHilfe},
    {"frmData", captions::frmData},
};

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
    for (const LayoutField& field : kLayoutFields) {
        names += std::string(names.empty() ? "" : ",") + field.name;
    }
    return handOut(names);
}

EMSCRIPTEN_KEEPALIVE const int* qz_layout(int width, int height) {
    static int numbers[4 * std::size(kLayoutFields)];
    const MainLayout l = computeMainLayout(width, height);
    int* out = numbers;
    for (const LayoutField& field : kLayoutFields) {
        const LayoutRect& r = l.*field.rect;
        *out++ = r.left;
        *out++ = r.top;
        *out++ = r.width;
        *out++ = r.height;
    }
    return numbers;
}

EMSCRIPTEN_KEEPALIVE const char* qz_captions() {
    std::string json = "{";
    for (const CaptionField& field : kCaptionFields) {
        json += std::string(json.size() > 1 ? "," : "") + jsonString(field.name) + ":" +
                jsonString(field.text);
    }
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
    g_app->workbench().acceptProgramSize(kMaxProgramFileBytes + 1, 0);
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
    return handOut(toUtf8(g_app->workbench().table().text(column, row)));
}

EMSCRIPTEN_KEEPALIVE int qz_unsaved() {
    return g_app->workbench().hasUnsavedWork() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE double qz_edits() {
    return static_cast<double>(g_app->workbench().flags().Edits);
}

EMSCRIPTEN_KEEPALIVE const char* qz_program_text() {
    return handOut(pageText(g_app->editor().text()));
}

EMSCRIPTEN_KEEPALIVE const char* qz_data_text() {
    return handOut(toUtf8(dataFileText(g_app->workbench().table())));
}

// The program and the table as one record, for the page to keep.
EMSCRIPTEN_KEEPALIVE const char* qz_kept_work() {
    return handOut(toUtf8(g_app->workbench().keptWork()));
}

// Puts back a record the page kept: 1 when it was applied, 0 when it was damaged and nothing
// changed (the page then keeps the record aside).
EMSCRIPTEN_KEEPALIVE int qz_restore(const char* record) {
    return g_app->workbench().restoreKeptWork(fromUtf8(record)).result == KeptWorkRestore::Restored
               ? 1
               : 0;
}

}  // extern "C"
