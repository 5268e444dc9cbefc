#include "files/csv_text.h"

#include "files/visible_text.h"

namespace quarzel {

std::string csvField(std::string_view text) {
    // A spreadsheet takes a field that begins with "=", "+", "-", "@", a tab or a carriage
    // return for a formula (a name "=HYPERLINK(...).prg" would become a live link); the usual
    // quote in front makes it text.
    const bool formula =
        !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos;
    const std::string shown = visibleText(formula ? "'" + std::string(text) : std::string(text));
    if (shown.find_first_of(";\"") == std::string::npos) {
        return shown;
    }
    std::string field = "\"";
    for (const char c : shown) {
        field += c == '"' ? "\"\"" : std::string(1, c);
    }
    return field + "\"";
}

}  // namespace quarzel
