// The central handler: every event handler runs inside guarded(), which shows a SystemError
// in the box captioned "Quarzel 3" and lets the program go on with the next event.
#pragma once

#include <utility>

#include "common/system_error.h"
#include "common/views.h"

namespace quarzel {

void showSystemError(PromptView& prompts, const SystemError& error);

// False when the handler ended in a SystemError, which has then been shown.
template <typename Handler>
bool guarded(PromptView& prompts, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const SystemError& error) {
        showSystemError(prompts, error);
        return false;
    }
}

}  // namespace quarzel
