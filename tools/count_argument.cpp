#include "tools/count_argument.h"

namespace quarzel::headless {

std::optional<std::uint64_t> parseCount(const std::string& text, std::uint64_t low,
                                        std::uint64_t high) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (digit > high || value > (high - digit) / 10) {  // beyond `high`, so never past 64 bits
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    if (value < low) {
        return std::nullopt;
    }
    return value;
}

}  // namespace quarzel::headless
