// The command reference's text as both front ends show it.
#include <gtest/gtest.h>

#include "screen/reference_text.h"

namespace quarzel {
namespace {

// Every instruction line (from the sixth on) has its colon in column 20, so that the
// explanations line up in a fixed-pitch font; umlauts count as one column.
TEST(ReferenceText, ColonsStandInColumnTwenty) {
    const std::vector<std::string>& lines = referenceLines();
    ASSERT_EQ(lines.size(), 34u);
    for (std::size_t i = 5; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].find(':'), 19u) << lines[i];
        EXPECT_EQ(lines[i].substr(19, 2), ": ") << lines[i];
    }
}

}  // namespace
}  // namespace quarzel
