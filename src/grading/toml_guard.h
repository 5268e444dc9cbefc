// Makes a task file's text safe for the TOML parser. toml++ 3.3 asks "is this whitespace?" of
// characters outside strings and of the first character after a backslash in a multi-line
// string, and that test has undefined behaviour for many non-ASCII characters, umlauts among
// them. TOML allows such characters only inside strings and comments anyway.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quarzel::grading {

struct TextPosition {
    std::size_t line;    // from 1
    std::size_t column;  // from 1, in characters
};

// The position of the first non-ASCII character outside strings and comments, or right after
// a backslash in a multi-line string (both are no TOML). Otherwise none, and `safe` is the text
// with each non-ASCII character that follows a line-ending backslash written as its \U escape,
// which means the same.
std::optional<TextPosition> guardTomlText(std::string_view text, std::string& safe);

}  // namespace quarzel::grading
