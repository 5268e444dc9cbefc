// The spreadsheet files the program writes (a class's grades, a run's protocol): UTF-8 with a
// byte-order mark, ";" between fields and CR LF after each row, so that a German spreadsheet
// program opens them as it should.
#pragma once

#include <string>
#include <string_view>

namespace quarzel {

inline constexpr char kCsvByteOrderMark[] = "\xEF\xBB\xBF";
inline constexpr char kCsvSeparator = ';';
inline constexpr char kCsvRowEnd[] = "\r\n";

// A text field (UTF-8). A field that a spreadsheet would take for a formula (it begins with
// "=", "+", "-", "@", a tab or a carriage return) begins with "'"; control characters are
// shown as visibleText shows them; a field with ";" or a quote is quoted, its quotes doubled.
// Numbers the program writes itself do not come here: they stay numbers.
std::string csvField(std::string_view text);

}  // namespace quarzel
