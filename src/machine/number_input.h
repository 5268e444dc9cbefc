// The machine's keyboard: the number the input dialog accepted last, and the dialog's loop.
#pragma once

#include <cstdint>
#include <string>

namespace quarzel {

class NumberInputView;
class PromptView;

struct NumberInput {
    std::int32_t InputValue = 0;  // 0 until the first accepted number

    // The dialog's OK: converts the field's text with the number text conversion and stores
    // it. A text that does not convert raises the conversion error and leaves InputValue.
    void btOKClick(const std::string& text);
};

// One request of INP, the same in every front end: the dialog is asked for a text until one
// converts (stored in `input`, true) or it is closed through its frame (false, InputValue as
// it was). A text that does not convert is shown like any system error, and the dialog is
// asked again with that text, for correcting it.
bool askForNumber(NumberInputView& dialog, PromptView& prompts, NumberInput& input);

}  // namespace quarzel
