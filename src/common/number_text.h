// The number text conversion used wherever a text becomes a machine value (memory reads,
// address operands, the input dialog), and the decimal form of a value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quarzel {

// Leading blanks, an optional "+" or "-", then decimal digits within the signed 32-bit range,
// or one of the prefixes "$", "x", "X", "0x", "0X" and hexadecimal digits up to FFFFFFFF taken
// as a 32-bit pattern; the sign applies to both forms and nothing may follow the digits.
// Returns false (and leaves value alone) when the text does not convert.
bool tryTextToInt32(std::string_view text, std::int32_t& value) noexcept;

// As above; a text that does not convert raises "'%s' ist kein gültiger Integerwert".
std::int32_t textToInt32(const std::string& text);

// Plain decimal: "-" for negatives, no leading zeros.
std::string int32ToText(std::int32_t value);

}  // namespace quarzel
