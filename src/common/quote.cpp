#include "common/quote.h"

namespace quarzel {

std::string shortQuote(std::string_view text) {
    if (text.size() <= kMaxQuotedLength) {
        return std::string(text);
    }
    std::string quoted(text.substr(0, kMaxQuotedLength));
    quoted += '\x85';  // the ellipsis of Windows-1252
    return quoted;
}

}  // namespace quarzel
