#include "common/checked_int.h"

#include <limits>

#include "common/system_error.h"

namespace quarzel {
namespace {

WrappedResult wrapped(std::int64_t exact) noexcept {
    const auto bits = static_cast<std::uint32_t>(static_cast<std::uint64_t>(exact));
    const auto value = static_cast<std::int32_t>(bits);
    return {value, static_cast<std::int64_t>(value) != exact};
}

std::int32_t orThrow(WrappedResult r) {
    if (r.overflow) {
        throw integerOverflow();
    }
    return r.value;
}

}  // namespace

WrappedResult wrappingAdd(std::int32_t a, std::int32_t b) noexcept {
    return wrapped(static_cast<std::int64_t>(a) + b);
}

WrappedResult wrappingSub(std::int32_t a, std::int32_t b) noexcept {
    return wrapped(static_cast<std::int64_t>(a) - b);
}

WrappedResult wrappingNeg(std::int32_t a) noexcept { return wrapped(-static_cast<std::int64_t>(a)); }

std::int32_t checkedAdd(std::int32_t a, std::int32_t b) { return orThrow(wrappingAdd(a, b)); }

std::int32_t checkedSub(std::int32_t a, std::int32_t b) { return orThrow(wrappingSub(a, b)); }

std::int32_t checkedMul(std::int32_t a, std::int32_t b) {
    return orThrow(wrapped(static_cast<std::int64_t>(a) * b));
}

std::int32_t checkedNeg(std::int32_t a) { return orThrow(wrappingNeg(a)); }

std::int32_t checkedDiv(std::int32_t a, std::int32_t b) {
    if (a == std::numeric_limits<std::int32_t>::min() && b == -1) {
        throw integerOverflow();
    }
    return a / b;
}

}  // namespace quarzel
