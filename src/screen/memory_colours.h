// The colours of the memory picture, which the window and the page paint alike.
#pragma once

namespace quarzel {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

inline constexpr Rgb kSquareColour{0, 0, 0};
inline constexpr Rgb kWriteColour{255, 0, 0};  // the frame of the cell the machine wrote last
inline constexpr Rgb kReadColour{0, 255, 0};   // ... or read last
// The frame around the last accessed square is drawn with a pen this wide, centred on the
// square's outline: with 7 pixels it reaches 3 pixels beyond the square on each side.
inline constexpr int kFramePenWidth = 7;

}  // namespace quarzel
