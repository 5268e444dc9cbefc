// The arrow in the editor's gutter at the line a run executes next.
#include <emscripten.h>

#include "web/web_views.h"

EM_JS(void, qz_js_show_current_line, (int line), { Module.page.showCurrentLine(line); });

namespace quarzel {

void WebEditor::showCurrentLine(int line) {
    TextEditor::showCurrentLine(line);
    qz_js_show_current_line(line);
}

}  // namespace quarzel
