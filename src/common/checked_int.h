// Signed 32-bit arithmetic on machine values with overflow detection: an overflow raises
// "Integerüberlauf" instead of wrapping silently.
#pragma once

#include <cstdint>

namespace quarzel {

// The two's-complement result and whether the exact result did not fit. The machine needs
// both for ADD, SUB, INC, DEC and NEG: the accumulator keeps the wrapped value when the
// overflow is reported.
struct WrappedResult {
    std::int32_t value;
    bool overflow;
};

WrappedResult wrappingAdd(std::int32_t a, std::int32_t b) noexcept;
WrappedResult wrappingSub(std::int32_t a, std::int32_t b) noexcept;
WrappedResult wrappingNeg(std::int32_t a) noexcept;

// These raise the overflow error (SystemError) when the exact result does not fit.
std::int32_t checkedAdd(std::int32_t a, std::int32_t b);
std::int32_t checkedSub(std::int32_t a, std::int32_t b);
std::int32_t checkedMul(std::int32_t a, std::int32_t b);
std::int32_t checkedNeg(std::int32_t a);
// Quotient truncated toward zero; -2147483648 / -1 overflows. Precondition: b != 0.
std::int32_t checkedDiv(std::int32_t a, std::int32_t b);

}  // namespace quarzel
