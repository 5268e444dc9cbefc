// The program checker on arbitrary bytes. Whatever the text, the checker ends, reports at most
// one error, and a program it accepts is one the executor can trust: one record per line up
// to the last real instruction, every jump on an MRK line, every address in 0..512, an STP.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "checker/check_program.h"
#include "common/system_error.h"
#include "files/text_file.h"
#include "fuzz_check.h"
#include "grading/headless_views.h"
#include "model/instruction_set.h"

namespace {

class CountingPrompts : public quarzel::headless::LinePrompts {
  public:
    CountingPrompts() : LinePrompts(m_sink) {}
    int boxes = 0;
    void showMessage(const std::string& text, const std::string& caption,
                     quarzel::MessageIcon icon) override {
        FUZZ_CHECK(caption == "Programmfehler");
        FUZZ_CHECK(text.rfind("Fehler", 0) == 0);
        ++boxes;
        (void)icon;
    }

  private:
    std::ostringstream m_sink;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarzel;
    static const OpcodeList opcodes;
    headless::TextEditor editor;
    editor.setText(normalizeLineBreaks(std::string(reinterpret_cast<const char*>(data), size)));
    const int lines = editor.lineCount();
    CountingPrompts prompts;
    Instructions list;
    bool passed = false;
    try {
        passed = CheckProgram(editor, prompts, opcodes, list);
    } catch (const SystemError& error) {
        FUZZ_CHECK(error.text().find("kein g") != std::string::npos);  // only the conversion error
        FUZZ_CHECK(prompts.boxes == 0);
        return 0;
    }
    FUZZ_CHECK(passed == (prompts.boxes == 0));
    FUZZ_CHECK(prompts.boxes <= 1);
    FUZZ_CHECK(static_cast<int>(list.size()) <= lines);
    if (!passed) {
        return 0;
    }
    FUZZ_CHECK(!list.empty());
    FUZZ_CHECK(list.back().Opcode != static_cast<std::int32_t>(Mnemonic::ZZZ));
    bool stp = false;
    for (const VM_Instruction& record : list) {
        FUZZ_CHECK(record.Opcode >= kFirstOpcode && record.Opcode <= kLastOpcode);
        stp = stp || record.Opcode == static_cast<std::int32_t>(Mnemonic::STP);
        if (inMarkOperandSet(record.Opcode)) {
            FUZZ_CHECK(record.Operand >= 0 && record.Operand < static_cast<int>(list.size()));
            FUZZ_CHECK(list[record.Operand].Opcode == static_cast<std::int32_t>(Mnemonic::MRK));
            FUZZ_CHECK(record.IsDirect);
        } else if (inAddressOperandSet(record.Opcode)) {
            FUZZ_CHECK(record.Operand >= 0 && record.Operand <= kCellCount);
        } else {
            FUZZ_CHECK(record.Operand == 0 && record.IsDirect);
        }
    }
    FUZZ_CHECK(stp);
    return 0;
}
