// Where the squares of the memory picture lie and which cell the pointer is over: the
// arithmetic of the picture, kept free of any drawing so it can be checked on its own.
#pragma once

#include <optional>
#include <string>

namespace quarzel {

// Each cell owns a 20 x 20 slot; its square covers pixels 5..19 of the slot in both directions.
inline constexpr int kCellPitch = 20;
inline constexpr int kCellGap = 5;

// A rectangle as the picture draws it: right and bottom are exclusive, so (5, 5)-(20, 20)
// is a square of 15 x 15 pixels.
struct CellRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const CellRect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};

// Columns of squares that fit a drawing area of the given width; 0 below 20 pixels.
int memoryColumns(int clientWidth) noexcept;

// The square of cell 1..512 in a picture of `cols` columns; nothing when cols is 0 or the cell
// number is out of range.
std::optional<CellRect> cellSquare(int cell, int cols) noexcept;

// The cell whose 20 x 20 slot holds the point (x, y), gap included; 0 when the point lies
// above or left of the picture, in the strip right of the last column, or below cell 512.
int cellAt(int x, int y, int cols);

// Whether a cell with this value text is drawn as a filled square: an empty value counts as
// zero; every other text but exactly "0" (also "00" or "-0") is a cell that holds something.
bool isFilledCell(const std::string& value) noexcept;

}  // namespace quarzel
