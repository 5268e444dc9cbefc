// The program file (*.prg): the editor's text as Windows-1252 bytes with CR LF line breaks.
#pragma once

#include <string>

namespace quarzel {

// The file's text with every CR LF, lone CR and lone LF as CR LF, up to a NUL byte. Raises
// "Datei %s kann nicht geöffnet werden. %s" when the file cannot be opened, and "Text
// überschreitet Memo-Kapazität" for a file larger than the editor takes.
std::string readProgramFile(const std::string& path);

// Writes `text` byte for byte, atomically. Raises "Datei "%s" kann nicht erstellt werden. %s".
void writeProgramFile(const std::string& path, const std::string& text);

}  // namespace quarzel
