#include "machine/number_input.h"

#include <optional>

#include "common/central_handler.h"
#include "common/number_text.h"
#include "common/system_error.h"
#include "common/views.h"

namespace quarzel {

void NumberInput::btOKClick(const std::string& text) {
    InputValue = textToInt32(text);
}

bool askForNumber(NumberInputView& dialog, PromptView& prompts, NumberInput& input) {
    std::optional<std::string> rejected;
    for (;;) {
        const std::optional<std::string> text = dialog.askText(rejected);
        if (!text) {
            return false;
        }
        try {
            input.btOKClick(*text);
            return true;
        } catch (const SystemError& error) {
            showSystemError(prompts, error);
            rejected = text;
        }
    }
}

}  // namespace quarzel
