// A whole session on fuzzed input: program text, cell values and typed numbers are checked
// and, when both checks pass, run for up to 10 000 steps as the step button would. The run
// must never leave the stack pointer outside 0..512, touch a row outside the table, or end in
// an error other than the machine's own (overflow, an unreadable cell).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <sstream>
#include <string>

#include "checker/check_data.h"
#include "checker/check_program.h"
#include "common/central_handler.h"
#include "common/win1252.h"
#include "fuzz_check.h"
#include "headless_views.h"
#include "session/workbench.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider fuzz(data, size);
    headless::TextEditor editor;
    CheckingGrid grid;
    headless::SilentPicture picture;
    headless::SilentRegisters registers;
    headless::SilentRunPanel runPanel;
    CheckingPrompts prompts;
    std::deque<std::string> inputs;
    for (int i = fuzz.ConsumeIntegralInRange(0, 4); i > 0; --i) {
        inputs.push_back(fuzz.ConsumeRandomLengthString(12));
    }
    headless::ScriptedNumberInput numberInput(prompts, inputs);
    Workbench bench({editor, grid, picture, registers, runPanel, prompts, numberInput});
    editor.onChange = [&bench] { bench.flags.meProgramChange(); };
    numberInput.bind(bench.input);

    for (int i = fuzz.ConsumeIntegralInRange(0, 16); i > 0; --i) {
        const int row = fuzz.ConsumeIntegralInRange(0, DataTable::kRowCount - 1);
        bench.table.setValue(row, fuzz.ConsumeRandomLengthString(12));
    }
    editor.setText(fuzz.ConsumeRemainingBytesAsString());

    RunControl& run = bench.runControl;
    guarded(prompts, [&] { run.btCheckClick(); });
    if (!bench.flags.ProgramChecked || !bench.flags.DataChecked) {
        return 0;
    }
    guarded(prompts, [&] { run.btRunClick(); });
    FUZZ_CHECK(bench.machine.VM_Running);
    for (int step = 0; step < 10000 && bench.machine.VM_Running; ++step) {
        guarded(prompts, [&] { run.btStepClick(); });
        const MachineState& m = bench.machine;
        FUZZ_CHECK(m.VM_SP >= 0 && m.VM_SP <= kEmptyStack);
        FUZZ_CHECK(m.LastAccessCell >= 0 && m.LastAccessCell <= kCellCount);
    }
    return 0;
}
