#include "screen/memory_geometry.h"

#include <cstdint>

#include "model/machine_state.h"

namespace quarzel {

int memoryColumns(int clientWidth) noexcept {
    return clientWidth > 0 ? clientWidth / kCellPitch : 0;
}

std::optional<CellRect> cellSquare(int cell, int cols) noexcept {
    if (cols <= 0 || cell < 1 || cell > kCellCount) {
        return std::nullopt;
    }
    const int k = cell - 1;
    const int x = (k % cols) * kCellPitch;
    const int y = (k / cols) * kCellPitch;
    return CellRect{x + kCellGap, y + kCellGap, x + kCellPitch, y + kCellPitch};
}

int cellAt(int x, int y, int cols) {
    // Integer division alone would put a point just left of or above the picture into the
    // first column or row, and a point in the empty strip right of the last column into the
    // next row's first cell; neither is under the pointer.
    if (cols <= 0 || x < 0 || y < 0 || x / kCellPitch >= cols) {
        return 0;
    }
    const std::int64_t n = static_cast<std::int64_t>(y / kCellPitch) * cols + x / kCellPitch + 1;
    return n <= kCellCount ? static_cast<int>(n) : 0;
}

bool isFilledCell(const std::string& value) noexcept {
    return !value.empty() && !(value.size() == 1 && value[0] == '0');
}

}  // namespace quarzel
