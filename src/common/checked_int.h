// Signed 32-bit arithmetic on machine values with overflow detection: an overflow raises
// "Integerüberlauf" instead of wrapping silently. Inline, because every step of a run uses it.
#pragma once

#include <cstdint>
#include <limits>

namespace quarzel {

// The two's-complement result and whether the exact result did not fit. The machine needs
// both for ADD, SUB, INC, DEC and NEG: the accumulator keeps the wrapped value when the
// overflow is reported.
struct WrappedResult {
    std::int32_t value;
    bool overflow;
};

namespace detail {
inline WrappedResult wrapped(std::int64_t exact) noexcept {
    const auto value =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(exact)));
    return {value, static_cast<std::int64_t>(value) != exact};
}
}  // namespace detail

// Raises the overflow error (SystemError). Out of line: the throw is never the hot path.
[[noreturn]] void throwIntegerOverflow();

inline WrappedResult wrappingAdd(std::int32_t a, std::int32_t b) noexcept {
    return detail::wrapped(static_cast<std::int64_t>(a) + b);
}
inline WrappedResult wrappingSub(std::int32_t a, std::int32_t b) noexcept {
    return detail::wrapped(static_cast<std::int64_t>(a) - b);
}
inline WrappedResult wrappingNeg(std::int32_t a) noexcept {
    return detail::wrapped(-static_cast<std::int64_t>(a));
}

// These raise the overflow error when the exact result does not fit.
inline std::int32_t checkedAdd(std::int32_t a, std::int32_t b) {
    const WrappedResult r = wrappingAdd(a, b);
    if (r.overflow) {
        throwIntegerOverflow();
    }
    return r.value;
}
inline std::int32_t checkedSub(std::int32_t a, std::int32_t b) {
    const WrappedResult r = wrappingSub(a, b);
    if (r.overflow) {
        throwIntegerOverflow();
    }
    return r.value;
}
inline std::int32_t checkedMul(std::int32_t a, std::int32_t b) {
    const WrappedResult r = detail::wrapped(static_cast<std::int64_t>(a) * b);
    if (r.overflow) {
        throwIntegerOverflow();
    }
    return r.value;
}
inline std::int32_t checkedNeg(std::int32_t a) {
    const WrappedResult r = wrappingNeg(a);
    if (r.overflow) {
        throwIntegerOverflow();
    }
    return r.value;
}
// Quotient truncated toward zero; -2147483648 / -1 overflows. Precondition: b != 0.
inline std::int32_t checkedDiv(std::int32_t a, std::int32_t b) {
    if (a == std::numeric_limits<std::int32_t>::min() && b == -1) {
        throwIntegerOverflow();
    }
    return a / b;
}

}  // namespace quarzel
