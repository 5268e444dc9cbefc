#include "tools/count_argument.h"

namespace quarzel::headless {

std::optional<std::uint64_t> parseCount(const std::string& text, std::size_t maxDigits,
                                        std::uint64_t low) {
    if (text.empty() || text.size() > maxDigits || text.size() > 18) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value < low) {
        return std::nullopt;
    }
    return value;
}

}  // namespace quarzel::headless
