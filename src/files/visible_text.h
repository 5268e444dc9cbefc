// Texts that a learner's files bring (names, messages, program lines) as the console and the
// reports show them: every control character visible, so that no name can move the cursor or
// end a line.
#pragma once

#include <string>
#include <string_view>

namespace quarzel {

// `text` (UTF-8) with line feed, carriage return and tab as "\n", "\r", "\t", every other
// control character below U+0020 and DEL as "\x1b" and the like, a control character of
// U+0080 to U+009F as "\u009b", and each byte that is not part of a well-formed UTF-8
// character as "\xNN". Everything else, a backslash too, stays as it is.
std::string visibleText(std::string_view text);

}  // namespace quarzel
