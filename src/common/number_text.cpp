#include "common/number_text.h"

#include "common/system_error.h"

namespace quarzel {
namespace {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool isHexPrefixAt(std::string_view text, std::size_t pos, std::size_t& digitsStart) {
    if (pos >= text.size()) {
        return false;
    }
    const char c = text[pos];
    if (c == '$' || c == 'x' || c == 'X') {
        digitsStart = pos + 1;
        return true;
    }
    if (c == '0' && pos + 1 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        digitsStart = pos + 2;
        return true;
    }
    return false;
}

}  // namespace

bool tryTextToInt32(std::string_view text, std::int32_t& value) noexcept {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::size_t digitsStart = pos;
    if (isHexPrefixAt(text, pos, digitsStart)) {
        if (digitsStart >= text.size()) {
            return false;
        }
        std::uint64_t pattern = 0;
        for (std::size_t i = digitsStart; i < text.size(); ++i) {
            const int digit = hexDigitValue(text[i]);
            if (digit < 0) {
                return false;
            }
            pattern = pattern * 16 + static_cast<std::uint64_t>(digit);
            if (pattern > 0xFFFFFFFFu) {
                return false;
            }
        }
        auto bits = static_cast<std::uint32_t>(pattern);
        if (negative) {
            bits = 0u - bits;  // the sign applies to the 32-bit pattern, wrapping like the machine
        }
        value = static_cast<std::int32_t>(bits);
        return true;
    }
    if (pos >= text.size()) {
        return false;
    }
    // Accumulate the magnitude; -2147483648 is the one value whose magnitude exceeds the
    // positive limit.
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    std::uint64_t magnitude = 0;
    for (std::size_t i = pos; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') {
            return false;
        }
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        if (magnitude > limit) {
            return false;
        }
    }
    value = negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(magnitude))
                     : static_cast<std::int32_t>(magnitude);
    return true;
}

std::int32_t textToInt32(const std::string& text) {
    std::int32_t value = 0;
    if (!tryTextToInt32(text, value)) {
        throw conversionError(text);
    }
    return value;
}

std::string int32ToText(std::int32_t value) { return std::to_string(value); }

}  // namespace quarzel
