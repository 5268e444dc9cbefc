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

std::string shortQuoteUtf8(std::string_view text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (!continuation && characters++ == kMaxQuotedLength) {
            return std::string(text.substr(0, i)) + "\xE2\x80\xA6";  // "…"
        }
    }
    return std::string(text);
}

}  // namespace quarzel
