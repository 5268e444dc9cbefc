#include "machine/number_input.h"

#include "common/number_text.h"

namespace quarzel {

void NumberInput::btOKClick(const std::string& text) { InputValue = textToInt32(text); }

}  // namespace quarzel
