// Windows-1252 <-> UTF-8 at the edges of the core, and the length-preserving upper-casing.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "common/win1252.h"

namespace quarzel {
namespace {

// An encoder of our own, so the expectations do not come from the code under test.
std::string utf8Of(char32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

std::string byteText(unsigned byte) {
    return std::string(1, static_cast<char>(byte));
}

bool isUndefinedByte(unsigned b) {
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

TEST(Win1252Test, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (unsigned b = 0; b < 256; ++b) {
        const std::string one = byteText(b);
        ASSERT_EQ(fromUtf8(toUtf8(one)), one) << "byte " << b;
        all += one;
    }
    EXPECT_EQ(fromUtf8(toUtf8(all)), all);
}

TEST(Win1252Test, BytesOutside80To9FKeepTheirCodePoint) {
    for (unsigned b = 0; b < 256; ++b) {
        if ((b >= 0x80 && b <= 0x9F) && !isUndefinedByte(b)) {
            // The 27 defined bytes of this range are typographic characters beyond Latin-1.
            const std::string utf8 = toUtf8(byteText(b));
            EXPECT_EQ(utf8.size(), static_cast<unsigned char>(utf8[0]) >= 0xE0 ? 3u : 2u);
            EXPECT_NE(utf8.substr(0, 1), "\xC2") << "byte " << b << " must not be a C1 control";
        } else {
            // ASCII, Latin-1 and the five undefined bytes, which become C1 controls.
            EXPECT_EQ(toUtf8(byteText(b)), utf8Of(b)) << "byte " << b;
        }
    }
}

TEST(Win1252Test, KnownCharactersConvertBothWays) {
    const struct {
        unsigned byte;
        char32_t codePoint;
    } cases[] = {{0x80, 0x20AC}, {0x84, 0x201E}, {0x8A, 0x0160}, {0x93, 0x201C},
                 {0x99, 0x2122}, {0x9F, 0x0178}, {0xA7, 0x00A7}, {0xB5, 0x00B5},
                 {0xC4, 0x00C4}, {0xDF, 0x00DF}, {0xE4, 0x00E4}, {0xFC, 0x00FC}};
    for (const auto& c : cases) {
        EXPECT_EQ(toUtf8(byteText(c.byte)), utf8Of(c.codePoint)) << "byte " << c.byte;
        EXPECT_EQ(fromUtf8(utf8Of(c.codePoint)), byteText(c.byte)) << "byte " << c.byte;
    }
    EXPECT_EQ(fromUtf8("Zähler: 5 € • “x”"), "Z\xE4hler: 5 \x80 \x95 \x93x\x94");
}

TEST(Win1252Test, WhatWindows1252CannotHoldBecomesAQuestionMark) {
    const struct {
        const char* utf8;
        const char* expected;
    } cases[] = {
        // well-formed characters without a byte
        {"\xC2\x80", "?"},  // U+0080: byte 0x80 is the euro sign, not this control
        {"\xC2\x9F", "?"},  // U+009F: byte 0x9F is Y diaeresis
        {"\xC4\x80", "?"},  // U+0100
        {"a\xE4\xB8\xAD"
         "b",
         "a?b"},                    // a CJK character
        {"\xF0\x9F\x98\x80", "?"},  // an emoji, four bytes, one character
        // broken UTF-8: each byte of the broken sequence
        {"\x80", "?"},
        {"\xBF"
         "A",
         "?A"},
        {"\xC3", "?"},
        {"\xC3"
         "A",
         "?A"},
        {"\xE2\x82", "??"},
        {"\xC0\xAF", "??"},            // overlong "/"
        {"\xE0\x80\xAF", "???"},       // overlong "/"
        {"\xED\xA0\x80", "???"},       // a surrogate
        {"\xF4\x90\x80\x80", "????"},  // beyond U+10FFFF
        {"\xF8\x88\x80\x80\x80", "?????"},
        {"\xFE\xFF", "??"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fromUtf8(c.utf8), c.expected) << "input " << ::testing::PrintToString(c.utf8);
    }
}

TEST(Win1252Test, UpperCasingFollowsTheRulesForEveryByte) {
    std::array<unsigned, 256> expected{};
    for (unsigned b = 0; b < 256; ++b) {
        expected[b] = b;
    }
    for (unsigned b = 'a'; b <= 'z'; ++b) {
        expected[b] = b - 'a' + 'A';
    }
    for (unsigned b = 0xE0; b <= 0xFE; ++b) {
        if (b != 0xF7) {  // the division sign is no letter
            expected[b] = b - 0x20;
        }
    }
    expected[0x9A] = 0x8A;  // s caron
    expected[0x9C] = 0x8C;  // oe
    expected[0x9E] = 0x8E;  // z caron
    expected[0xFF] = 0x9F;  // y diaeresis
    // Sharp s (0xDF) and micro sign (0xB5) have no single-byte capital and stay.

    std::string all;
    std::string allExpected;
    for (unsigned b = 0; b < 256; ++b) {
        EXPECT_EQ(static_cast<unsigned char>(upperCaseWin1252(static_cast<char>(b))), expected[b])
            << "byte " << b;
        all += static_cast<char>(b);
        allExpected += static_cast<char>(expected[b]);
    }
    EXPECT_EQ(upperCaseWin1252(all), allExpected);
    EXPECT_EQ(toUtf8(upperCaseWin1252(fromUtf8("größe µm zähler"))), "GRÖßE µM ZÄHLER");
}

}  // namespace
}  // namespace quarzel
