// The whole numbers that the headless tools take on their command lines (--max-steps, --jobs).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quarzel::headless {

// The value of a text of 1 to `maxDigits` decimal digits (no sign, no blanks; at most 18, which
// never overflow 64 bits) that is at least `low`, or none.
std::optional<std::uint64_t> parseCount(const std::string& text, std::size_t maxDigits,
                                        std::uint64_t low);

}  // namespace quarzel::headless
