// The HTML page of the program and the memory cells, built as lines without touching a file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarzel {

class DataTable;

// "3.1": follows the product name in the window caption and on the page.
inline constexpr char kVersionText[] = "3.1";

// "&", "<", ">" and the double quote as character references, so that a comment such as
// "a < b" shows as typed instead of breaking the page.
std::string htmlEscape(std::string_view text);

// The page's lines, without line ends: the fixed head, the heading with kVersionText and
// `date`, every non-empty program line followed by " <br />", and a table row for every cell
// whose value is not exactly "0", with one gap row for each run of "0" cells.
std::vector<std::string> htmlPageLines(const std::vector<std::string>& programLines,
                                       const DataTable& table, const std::string& date);

// The lines as the file holds them: each, the last one too, followed by CR LF.
std::string htmlPageText(const std::vector<std::string>& lines);

}  // namespace quarzel
