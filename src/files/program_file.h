// The program file (*.prg): the editor's text as Windows-1252 bytes with CR LF line breaks.
#pragma once

#include <cstddef>
#include <string>

namespace quarzel {

// The largest program text the editor takes: 16 MiB.
inline constexpr std::size_t kMaxProgramFileBytes = std::size_t{16} * 1024 * 1024;

// The file's text with every CR LF, lone CR and lone LF as CR LF, up to a NUL byte. Raises
// "Datei %s kann nicht geöffnet werden. %s" when the file cannot be opened, and "Text
// überschreitet Memo-Kapazität" when more than kMaxProgramFileBytes bytes come before the
// end of the text.
std::string readProgramFile(const std::string& path);

// Writes `text` byte for byte, atomically. Raises "Datei "%s" kann nicht erstellt werden. %s".
void writeProgramFile(const std::string& path, const std::string& text);

}  // namespace quarzel
