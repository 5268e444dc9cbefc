// The short quote of user text in messages: where it is cut, and that a UTF-8 character is
// never cut in the middle.
#include "common/quote.h"

#include <gtest/gtest.h>

#include <string>

namespace quarzel {
namespace {

struct QuoteCase {
    std::string text;
    std::string quoted;
};

TEST(ShortQuoteTest, CutsAfterTheLimitOfCharacters) {
    const std::string sixty(kMaxQuotedLength, 'a');
    const QuoteCase win1252[] = {
        {"", ""},
        {sixty, sixty},
        {sixty + "\xE4", sixty + "\x85"},
        {"\xE4" + sixty, "\xE4" + sixty.substr(1) + "\x85"},
    };
    for (const QuoteCase& c : win1252) {
        EXPECT_EQ(shortQuote(c.text), c.quoted) << c.text;
    }
    const std::string umlaut = "\xC3\xA4";  // "ä"
    const std::string euro = "\xE2\x82\xAC";
    const std::string ellipsis = "\xE2\x80\xA6";
    const QuoteCase utf8[] = {
        {sixty, sixty},
        {sixty + "b", sixty + ellipsis},
        {sixty.substr(1) + umlaut, sixty.substr(1) + umlaut},  // 60 characters, 61 bytes
        {sixty.substr(1) + umlaut + "b", sixty.substr(1) + umlaut + ellipsis},
        {sixty.substr(1) + "b" + euro, sixty.substr(1) + "b" + ellipsis},
    };
    for (const QuoteCase& c : utf8) {
        EXPECT_EQ(shortQuoteUtf8(c.text), c.quoted) << c.text;
    }
}

}  // namespace
}  // namespace quarzel
