// The whole numbers that the headless tools take on their command lines (--max-steps, --jobs).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quarzel::headless {

// The value of a text of decimal digits only (no sign, no blanks) from `low` to `high`, or none.
std::optional<std::uint64_t> parseCount(const std::string& text, std::uint64_t low,
                                        std::uint64_t high);

}  // namespace quarzel::headless
