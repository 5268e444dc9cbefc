// The number text conversion that memory reads, address operands and the input dialog share,
// and the decimal form of a value.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "common/number_text.h"
#include "common/system_error.h"
#include "common/win1252.h"

namespace quarzel {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct Converts {
    const char* text;
    std::int32_t expected;
};

class NumberTextConverts : public ::testing::TestWithParam<Converts> {};

TEST_P(NumberTextConverts, ToTheExpectedValue) {
    const Converts& c = GetParam();
    std::int32_t value = 12345;
    ASSERT_TRUE(tryTextToInt32(c.text, value)) << '"' << c.text << '"';
    EXPECT_EQ(value, c.expected) << '"' << c.text << '"';
    EXPECT_EQ(textToInt32(c.text), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Decimal, NumberTextConverts,
    ::testing::Values(Converts{"0", 0}, Converts{"-0", 0}, Converts{"+0", 0}, Converts{"42", 42},
                      Converts{"+7", 7}, Converts{"-12", -12}, Converts{"007", 7},
                      Converts{"-007", -7}, Converts{"   5", 5}, Converts{" -12", -12},
                      Converts{"2147483647", kMax}, Converts{"-2147483648", kMin},
                      Converts{"+2147483647", kMax}, Converts{"00000000002147483647", kMax}));

INSTANTIATE_TEST_SUITE_P(Hexadecimal, NumberTextConverts,
                         ::testing::Values(Converts{"$1F", 31}, Converts{"$1f", 31},
                                           Converts{"x1F", 31}, Converts{"X1f", 31},
                                           Converts{"0x1F", 31}, Converts{"0X1f", 31},
                                           Converts{"$aBcD", 0xABCD}, Converts{"$0", 0},
                                           Converts{"0x0", 0}, Converts{"  $10", 16},
                                           Converts{"+$10", 16}, Converts{"-$1", -1},
                                           Converts{"-0x10", -16}, Converts{"$7FFFFFFF", kMax},
                                           Converts{"$80000000", kMin}, Converts{"$FFFFFFFF", -1},
                                           Converts{"$ffffffff", -1}, Converts{"0XFFFFFFFE", -2},
                                           Converts{"-$FFFFFFFF", 1}, Converts{"-$80000000", kMin},
                                           Converts{"$000000000FF", 255}));

class NumberTextRejects : public ::testing::TestWithParam<const char*> {};

TEST_P(NumberTextRejects, WithTheConversionErrorNamingTheWholeText) {
    const std::string text = GetParam();
    std::int32_t value = 12345;
    EXPECT_FALSE(tryTextToInt32(text, value)) << '"' << text << '"';
    EXPECT_EQ(value, 12345) << "a failed conversion must leave the value alone";
    try {
        textToInt32(text);
        ADD_FAILURE() << '"' << text << "\" converted";
    } catch (const SystemError& error) {
        EXPECT_EQ(toUtf8(error.text()), "'" + text + "' ist kein gültiger Integerwert");
    }
}

INSTANTIATE_TEST_SUITE_P(BadTexts, NumberTextRejects,
                         ::testing::Values(
                             // nothing to convert
                             "", " ", "   ", "+", "-", "$", "x", "X", "0x", "0X", "-$", "+0x",
                             // limits
                             "2147483648", "-2147483649", "+2147483648", "99999999999",
                             "$100000000", "0x1FFFFFFFF", "-$100000000",
                             // characters in the wrong place
                             "- 5", "+-5", "--5", "5-", "5 ", "5x", " 5 ", "1.5", "1,5", "abc",
                             "12a", "$1G", "$ 1", "$-1", "$$1", "0x0x1", "00x5", "\t5", "5\t",
                             "x-1", "1e3", "0b101"));

TEST(NumberTextTest, TheErrorTextCarriesTheTextAsTypedIncludingBlanksAndUmlauts) {
    const std::string typed = fromUtf8("  zwölf ");
    try {
        textToInt32(typed);
        FAIL() << "converted";
    } catch (const SystemError& error) {
        EXPECT_EQ(toUtf8(error.text()), "'  zwölf ' ist kein gültiger Integerwert");
    }
}

TEST(NumberTextTest, DecimalTextIsPlainWithoutLeadingZeros) {
    const struct {
        std::int32_t value;
        const char* text;
    } cases[] = {
        {0, "0"}, {7, "7"}, {-7, "-7"}, {100, "100"}, {kMax, "2147483647"}, {kMin, "-2147483648"}};
    for (const auto& c : cases) {
        EXPECT_EQ(int32ToText(c.value), c.text);
        EXPECT_EQ(textToInt32(int32ToText(c.value)), c.value) << "round trip of " << c.text;
    }
}

}  // namespace
}  // namespace quarzel
