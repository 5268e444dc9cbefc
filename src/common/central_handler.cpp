#include "common/central_handler.h"

namespace quarzel {

void showSystemError(PromptView& prompts, const SystemError& error) {
    prompts.showMessage(centralHandlerText(error.text()), kApplicationTitle, MessageIcon::Error);
}

}  // namespace quarzel
