// Windows-1252, the single-byte character set of every text in the core and in the files:
// conversion to and from UTF-8 at the edges, and the upper-casing the program checker uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarzel {

// Every byte maps to one character; the five bytes Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the C1 control characters of the same value, so nothing is lost.
std::string toUtf8(std::string_view win1252);

// The inverse of toUtf8. A character that Windows-1252 cannot hold, and each byte of a broken
// UTF-8 sequence, becomes "?".
std::string fromUtf8(std::string_view utf8);

// The first character of `utf8` that Windows-1252 cannot hold, as UTF-8 (the bytes of a broken
// sequence as they are), or nothing when fromUtf8 would keep every character.
std::optional<std::string> firstCharacterOutsideWin1252(std::string_view utf8);

// Upper-cases a-z, the accented small letters 0xE0..0xFE (but not the division sign 0xF7),
// and s, oe, z with caron and y with diaeresis. Sharp s and micro sign have no single-byte
// capital and stay, so the length of a text never changes.
char upperCaseWin1252(char c);
std::string upperCaseWin1252(std::string_view text);

}  // namespace quarzel
