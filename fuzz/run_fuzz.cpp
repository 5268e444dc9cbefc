// A whole session on fuzzed input: program text, cell values and typed numbers are checked
// and, when both checks pass, run for up to 10 000 steps as the step button would. The run
// must never leave the stack pointer outside 0..512, touch a row outside the table, or end in
// an error other than the machine's own (overflow, an unreadable cell); the headless run loop
// must end the same input in exactly the same state; and stepping back must reach the start.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "checker/check_data.h"
#include "checker/check_program.h"
#include "common/central_handler.h"
#include "common/win1252.h"
#include "fuzz_check.h"
#include "grading/headless_views.h"
#include "session/workbench.h"
#include "session/workbench_internals.h"

namespace {

using namespace quarzel;

class CheckingGrid : public DataGridView {
  public:
    void showRowAtTop(int row) override { FUZZ_CHECK(row >= 0 && row < DataTable::kRowCount); }
    void setInputEnabled(bool /*enabled*/) override {}
    void rowChanged(int row) override { FUZZ_CHECK(row >= 0 && row < DataTable::kRowCount); }
};

// Lets through the boxes a run may show; anything the central handler shows must be one of
// the machine's own errors, never a list index or range error of the core.
class CheckingPrompts : public headless::LinePrompts {
  public:
    CheckingPrompts() : LinePrompts(m_sink) {}
    void showMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override {
        if (caption == kApplicationTitle) {
            const std::string message = toUtf8(text);
            FUZZ_CHECK(message == "Integerüberlauf." ||
                       message.find("ist kein gültiger Integerwert") != std::string::npos);
        }
        LinePrompts::showMessage(text, caption, icon);
    }

  private:
    std::ostringstream m_sink;
};

// One session: the runner's views with checking ones where the core reports rows and boxes.
struct Session {
    Session(const std::deque<std::string>& inputs) : numberInput(inputs) {}
    headless::TextEditor editor;
    CheckingGrid grid;
    headless::SilentPicture picture;
    headless::SilentRegisters registers;
    headless::SilentRunPanel runPanel;
    CheckingPrompts prompts;
    headless::ScriptedNumberInput numberInput;
    Workbench workbench{{editor, grid, picture, registers, runPanel, prompts, numberInput}};
    WorkbenchInternals bench{workbench};
};

constexpr int kMaxSteps = 10000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider fuzz(data, size);
    std::deque<std::string> inputs;
    for (int i = fuzz.ConsumeIntegralInRange(0, 4); i > 0; --i) {
        inputs.push_back(fuzz.ConsumeRandomLengthString(12));
    }
    std::vector<std::pair<int, std::string>> cells;
    for (int i = fuzz.ConsumeIntegralInRange(0, 16); i > 0; --i) {
        const int row = fuzz.ConsumeIntegralInRange(0, DataTable::kRowCount - 1);
        cells.emplace_back(row, fuzz.ConsumeRandomLengthString(12));
    }
    const std::string program = fuzz.ConsumeRemainingBytesAsString();

    // The same session twice: stepped as the step button steps, and run by the headless loop.
    Session stepped(inputs);
    Session headless(inputs);
    for (Session* session : {&stepped, &headless}) {
        for (const auto& [row, text] : cells) {
            session->bench.table.setValue(row, text);
        }
        session->editor.setText(program);
        RunControl& run = session->bench.runControl;
        guarded(session->prompts, [&] { run.btCheckClick(); });
        if (!session->bench.flags.ProgramChecked || !session->bench.flags.DataChecked) {
            return 0;
        }
        guarded(session->prompts, [&] { run.btRunClick(); });
        FUZZ_CHECK(session->bench.machine.VM_Running);
    }

    for (int step = 0; step < kMaxSteps && stepped.bench.machine.VM_Running; ++step) {
        guarded(stepped.prompts, [&] { stepped.bench.runControl.btStepClick(); });
        const MachineState& m = stepped.bench.machine;
        FUZZ_CHECK(m.VM_SP >= 0 && m.VM_SP <= kEmptyStack);
        FUZZ_CHECK(m.LastAccessCell >= 0 && m.LastAccessCell <= kCellCount);
    }
    guarded(headless.prompts, [&] { headless.bench.runControl.runHeadless({kMaxSteps, false}); });

    // Both end in the same state, cell for cell.
    const MachineState& a = stepped.bench.machine;
    const MachineState& b = headless.bench.machine;
    FUZZ_CHECK(static_cast<const Registers&>(a) == static_cast<const Registers&>(b));
    FUZZ_CHECK(a.StepCount == b.StepCount);
    FUZZ_CHECK(a.LastAccessCell == b.LastAccessCell && a.LastAccessWrite == b.LastAccessWrite);
    FUZZ_CHECK(stepped.bench.input.InputValue == headless.bench.input.InputValue);
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        FUZZ_CHECK(stepped.bench.table.value(row) == headless.bench.table.value(row));
    }

    // And every step of the stepped run comes back: the start state again, cell for cell.
    while (stepped.bench.runControl.canStepBack()) {
        stepped.bench.runControl.VM_StepBack();
    }
    FUZZ_CHECK(a.VM_IP == 0 && a.VM_Accu == 0 && a.VM_SP == kEmptyStack);
    FUZZ_CHECK(a.StepCount == 0);
    return 0;
}
