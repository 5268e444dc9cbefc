// The colours the window and the page paint alike: the memory picture's, the editor's marks
// and the task panel's results.
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

// The editor: a line with a breakpoint (and its part of the gutter), and the arrow beside the
// line a run executes next.
inline constexpr Rgb kBreakpointColour{255, 196, 196};
inline constexpr Rgb kCurrentLineArrowColour{0, 128, 0};

// Behind a case's result in the task panel: clearly apart, the black text readable.
inline constexpr Rgb kPassedColour{206, 240, 206};
inline constexpr Rgb kFailedColour{255, 210, 210};

// The page's face, where the window takes its palette's (the same grey on the school PCs).
inline constexpr Rgb kPageFaceColour{240, 240, 240};

}  // namespace quarzel
