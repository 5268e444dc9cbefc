// The program checker, the system's assembler: the editor's lines in, InstructionList or the
// first error out.
#pragma once

#include "checker/check_error.h"
#include "model/machine_state.h"

namespace quarzel {

class OpcodeList;
class ProgramEditorView;
class PromptView;

// Checks the whole program text and rebuilds `instructions`. On failure it has shown one
// "Programmfehler" box and selected the faulty line (if the error names one). A failed
// conversion of an address operand raises the conversion error (SystemError) instead. On
// success the editor text may have grown by empty lines, so that the run display can make the
// last program line the first visible one. `error`, when given, is set to the kind of the
// error (None when the check passes), the conversion error included.
bool CheckProgram(ProgramEditorView& editor, PromptView& prompts, const OpcodeList& opcodes,
                  Instructions& instructions, CheckError* error = nullptr);

}  // namespace quarzel
