// Where the memory picture puts each square and which cell lies under the pointer.
#include <gtest/gtest.h>

#include "screen/memory_geometry.h"

namespace quarzel {
namespace {

TEST(MemoryGeometry, ColumnsFromWidth) {
    // The layout of 800 x 600, exactly one slot, one pixel short, no width, negative, 17 slots.
    const std::pair<int, int> cases[] = {{338, 16}, {20, 1}, {19, 0}, {0, 0}, {-7, 0}, {340, 17}};
    for (const auto& [width, cols] : cases) {
        EXPECT_EQ(memoryColumns(width), cols) << "width " << width;
    }
}

TEST(MemoryGeometry, CellSquares) {
    struct Case {
        int cell;
        int cols;
        CellRect square;  // right and bottom exclusive
    };
    const Case cases[] = {
        {1, 16, {5, 5, 20, 20}},         {16, 16, {305, 5, 320, 20}},  // the end of the first row
        {17, 16, {5, 25, 20, 40}},                                 // the start of the second row
        {512, 16, {305, 625, 320, 640}}, {3, 1, {5, 45, 20, 60}},  // one column
    };
    for (const Case& c : cases) {
        const auto square = cellSquare(c.cell, c.cols);
        ASSERT_TRUE(square.has_value()) << "cell " << c.cell;
        EXPECT_EQ(*square, c.square) << "cell " << c.cell << ", cols " << c.cols;
    }
}

TEST(MemoryGeometry, NoSquareWithoutColumnOrCell) {
    for (const auto& [cell, cols] : {std::pair{1, 0}, {0, 16}, {513, 16}, {-1, 16}}) {
        EXPECT_FALSE(cellSquare(cell, cols).has_value()) << "cell " << cell << ", cols " << cols;
    }
}

TEST(MemoryGeometry, HitTest) {
    struct Case {
        const char* name;
        int x, y, cols, cell;
    };
    const Case cases[] = {
        {"(45, 30)", 45, 30, 16, 19},
        {"top left corner", 0, 0, 16, 1},
        {"gap left of cell 2's square", 21, 10, 16, 2},
        {"gap above cell 17's square", 10, 22, 16, 17},
        {"last pixel of cell 1's slot", 19, 19, 16, 1},
        {"last pixel of cell 16's slot", 319, 19, 16, 16},
        {"cell 512", 310, 630, 16, 512},
        {"first slot of row 32", 0, 639, 16, 497},
        {"below the last cell", 0, 640, 16, 0},
        {"far below", 100, 100000, 16, 0},
        {"strip right of the last column", 325, 10, 16, 0},
        {"left of the picture", -5, 10, 16, 0},
        {"above the picture", 45, -5, 16, 0},
        {"no column", 5, 5, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cellAt(c.x, c.y, c.cols), c.cell) << c.name;
    }
}

}  // namespace
}  // namespace quarzel
