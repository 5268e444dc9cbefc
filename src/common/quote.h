// A piece of user text as a message quotes it: short enough for a message box and a log line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quarzel {

// Messages quote at most this many characters of a user's text.
inline constexpr std::size_t kMaxQuotedLength = 60;

// `text` (Windows-1252) itself when it has at most kMaxQuotedLength characters, else its first
// kMaxQuotedLength characters followed by the ellipsis "…" (byte 0x85).
std::string shortQuote(std::string_view text);

// The same for a UTF-8 text, as the headless tools quote their arguments: at most
// kMaxQuotedLength characters, a character never cut in the middle, then "…" in UTF-8.
std::string shortQuoteUtf8(std::string_view text);

}  // namespace quarzel
