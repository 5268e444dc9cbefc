// Signed 32-bit arithmetic on machine values: exact results pass, everything else raises
// "Integerüberlauf"; the wrapping forms report the two's-complement value and the overflow.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>

#include "common/checked_int.h"
#include "common/system_error.h"
#include "common/win1252.h"

namespace quarzel {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

enum class Op { Add, Sub, Mul, Div, Neg };

const char* nameOf(Op op) {
    switch (op) {
        case Op::Add:
            return "add";
        case Op::Sub:
            return "sub";
        case Op::Mul:
            return "mul";
        case Op::Div:
            return "div";
        case Op::Neg:
            return "neg";
    }
    return "?";
}

std::int32_t checked(Op op, std::int32_t a, std::int32_t b) {
    switch (op) {
        case Op::Add:
            return checkedAdd(a, b);
        case Op::Sub:
            return checkedSub(a, b);
        case Op::Mul:
            return checkedMul(a, b);
        case Op::Div:
            return checkedDiv(a, b);
        case Op::Neg:
            return checkedNeg(a);
    }
    return 0;
}

struct Exact {
    Op op;
    std::int32_t a;
    std::int32_t b;  // unused by Neg
    std::int32_t expected;
};

TEST(CheckedIntTest, ExactResultsPassUnchanged) {
    const Exact cases[] = {
        {Op::Add, 2, 3, 5},
        {Op::Add, kMax - 1, 1, kMax},
        {Op::Add, kMin + 1, -1, kMin},
        {Op::Add, kMax, kMin, -1},
        {Op::Sub, 2, 5, -3},
        {Op::Sub, -1, kMax, kMin},
        {Op::Sub, kMax, kMax, 0},
        {Op::Sub, 0, kMax, kMin + 1},
        {Op::Mul, -6, 7, -42},
        {Op::Mul, 65536, 32767, 2147418112},
        {Op::Mul, -65536, 32768, kMin},
        {Op::Mul, kMin, 1, kMin},
        {Op::Mul, kMax, -1, kMin + 1},
        {Op::Mul, kMin, 0, 0},
        {Op::Div, 7, 2, 3},
        {Op::Div, -7, 2, -3},
        {Op::Div, 7, -2, -3},
        {Op::Div, -7, -2, 3},
        {Op::Div, 1, 2, 0},
        {Op::Div, kMin, 1, kMin},
        {Op::Div, kMin, 2, -1073741824},
        {Op::Div, kMax, -1, -kMax},
        {Op::Neg, 5, 0, -5},
        {Op::Neg, kMax, 0, kMin + 1},
        {Op::Neg, kMin + 1, 0, kMax},
        {Op::Neg, 0, 0, 0},
    };
    for (const Exact& c : cases) {
        EXPECT_EQ(checked(c.op, c.a, c.b), c.expected) << nameOf(c.op) << " " << c.a << " " << c.b;
    }
}

TEST(CheckedIntTest, ResultsOutsideTheRangeRaiseIntegerOverflow) {
    const struct {
        Op op;
        std::int32_t a;
        std::int32_t b;
    } cases[] = {
        {Op::Add, kMax, 1},       {Op::Add, kMin, -1}, {Op::Add, kMax, kMax}, {Op::Add, kMin, kMin},
        {Op::Sub, kMin, 1},       {Op::Sub, kMax, -1}, {Op::Sub, 0, kMin},    {Op::Sub, -2, kMax},
        {Op::Mul, 65536, 32768},  {Op::Mul, kMin, -1}, {Op::Mul, kMax, 2},    {Op::Mul, kMin, kMin},
        {Op::Mul, -65536, 32769}, {Op::Div, kMin, -1}, {Op::Neg, kMin, 0},
    };
    for (const auto& c : cases) {
        try {
            checked(c.op, c.a, c.b);
            ADD_FAILURE() << nameOf(c.op) << " " << c.a << " " << c.b << " did not overflow";
        } catch (const SystemError& error) {
            EXPECT_EQ(toUtf8(error.text()), "Integerüberlauf");
        }
    }
}

TEST(CheckedIntTest, WrappingFormsCarryTheTwosComplementValueAndTheFlag) {
    using Wrapping = std::function<WrappedResult()>;
    const struct {
        const char* what;
        Wrapping run;
        std::int32_t value;
        bool overflow;
    } cases[] = {
        {"max + 1", [] { return wrappingAdd(kMax, 1); }, kMin, true},
        {"min + -1", [] { return wrappingAdd(kMin, -1); }, kMax, true},
        {"max + max", [] { return wrappingAdd(kMax, kMax); }, -2, true},
        {"-5 + 3", [] { return wrappingAdd(-5, 3); }, -2, false},
        {"min - 1", [] { return wrappingSub(kMin, 1); }, kMax, true},
        {"0 - min", [] { return wrappingSub(0, kMin); }, kMin, true},
        {"-1 - max", [] { return wrappingSub(-1, kMax); }, kMin, false},
        {"-min", [] { return wrappingNeg(kMin); }, kMin, true},
        {"-max", [] { return wrappingNeg(kMax); }, kMin + 1, false},
        {"-0", [] { return wrappingNeg(0); }, 0, false},
    };
    for (const auto& c : cases) {
        const WrappedResult r = c.run();
        EXPECT_EQ(r.value, c.value) << c.what;
        EXPECT_EQ(r.overflow, c.overflow) << c.what;
    }
}

}  // namespace
}  // namespace quarzel
