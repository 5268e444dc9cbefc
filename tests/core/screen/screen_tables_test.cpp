// The tables the window, the page and the tests share: every control the layout places named
// once, the numbers the page sends covering their table exactly.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "screen/caption_table.h"
#include "screen/commands.h"
#include "screen/layout_fields.h"

namespace quarzel {
namespace {

template <typename Rows>
std::set<std::string> uniqueNames(const Rows& rows) {
    std::set<std::string> names;
    for (const auto& row : rows) {
        EXPECT_TRUE(names.insert(row.name).second) << "twice: " << row.name;
    }
    return names;
}

// A field left out of the table would never be placed (nor reach the page); one listed twice
// would be placed twice under different names.
TEST(ScreenTables, EveryLayoutFieldOnceUnderItsOwnName) {
    static_assert(sizeof(MainLayout) % sizeof(LayoutRect) == 0);
    constexpr std::size_t kFields = sizeof(MainLayout) / sizeof(LayoutRect);
    const MainLayout layout{};
    const auto* base = reinterpret_cast<const unsigned char*>(&layout);
    std::set<std::ptrdiff_t> offsets;
    for (const LayoutField& field : kLayoutFields) {
        const auto* at = reinterpret_cast<const unsigned char*>(&(layout.*field.rect));
        EXPECT_TRUE(offsets.insert(at - base).second) << "two names for one field: " << field.name;
    }
    EXPECT_EQ(offsets.size(), kFields);
    EXPECT_EQ(uniqueNames(kLayoutFields).size(), std::size(kLayoutFields));
}

TEST(ScreenTables, CaptionNamesAreUnique) {
    EXPECT_EQ(uniqueNames(kCaptionFields).size(), std::size(kCaptionFields));
    for (const CaptionField& field : kCaptionFields) {
        EXPECT_NE(std::string(field.text), "") << field.name;
    }
}

// The page sends a row's position as the number; the core turns it back into the enumerator.
// Register fields and speed buttons are looked up the same way, and each names a placed control.
TEST(ScreenTables, NumbersThePageSendsAreTheRowsPositions) {
    uniqueNames(kCommands);
    for (std::size_t i = 0; i < std::size(kCommands); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(kCommands[i].command), i) << kCommands[i].name;
    }
    const std::set<std::string> placed = uniqueNames(kLayoutFields);
    uniqueNames(kRegisterFields);
    for (std::size_t i = 0; i < std::size(kRegisterFields); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(kRegisterFields[i].which), i) << kRegisterFields[i].name;
        EXPECT_EQ(placed.count(kRegisterFields[i].name), 1U) << kRegisterFields[i].name;
    }
    uniqueNames(kSpeedButtons);
    for (std::size_t i = 0; i < std::size(kSpeedButtons); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(kSpeedButtons[i].speed), i) << kSpeedButtons[i].name;
        EXPECT_EQ(placed.count(kSpeedButtons[i].name), 1U) << kSpeedButtons[i].name;
    }
}

}  // namespace
}  // namespace quarzel
