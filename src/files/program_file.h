// The program file (*.prg): the editor's text as Windows-1252 bytes with CR LF line breaks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quarzel {

// The largest program text the editor takes: 1 MiB in at most 262 144 line breaks. The
// editor's time to show a text grows with its lines and, on one long line, with the line's
// length; at either limit the window shows the file in well under two seconds and 100 MB
// (measured offscreen: one line of 1 MiB, or 262 144 empty lines), and a learner's program of
// a few thousand lines is far from both.
inline constexpr std::size_t kMaxProgramFileBytes = std::size_t{1024} * 1024;
inline constexpr std::size_t kMaxProgramLineBreaks = 262144;

// The file's text with every CR LF, lone CR and lone LF as CR LF, up to a NUL byte. Raises
// "Datei %s kann nicht geöffnet werden. %s" when the file cannot be opened, and "Text
// überschreitet Memo-Kapazität" when more than kMaxProgramFileBytes bytes or more than
// kMaxProgramLineBreaks line breaks come before the end of the text.
std::string readProgramFile(const std::string& path);

// Whether the editor takes `text` (CR LF breaks): at most kMaxProgramFileBytes bytes in at
// most kMaxProgramLineBreaks line breaks. A pasted text is refused by the same rule as a file.
bool programTextFits(std::string_view text);
// The same rule by the text's size alone, for an editor that knows it without the text.
bool programSizeFits(std::size_t bytes, std::size_t lineBreaks);

// Writes `text` byte for byte, atomically. Raises "Datei "%s" kann nicht erstellt werden. %s".
void writeProgramFile(const std::string& path, const std::string& text);

}  // namespace quarzel
