// The data file (*.dta): 512 lines "n:value:comment", each ending in CR LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quarzel {

class DataTable;

// The largest data file that is read: 512 lines of cut cell texts take far less, so a larger
// file is no data file, and reading it would only fill the memory.
inline constexpr std::size_t kMaxDataFileBytes = std::size_t{1024} * 1024;

// The file's whole contents for the table: line n is "n:value:comment" and CR LF.
std::string dataFileText(const DataTable& table);

// Sets the value and comment of every cell from `text` (line breaks as CR LF, as readTextFile
// gives them), by line position: line k is cell k, its value the text between the first and
// the second colon ("0" when empty), its comment the rest. Lines after the 512th are ignored.
// Raises "Listenindex überschreitet das Maximum (%d)" (the number of lines) for a text of fewer
// than 512 lines and "Fehler bei Bereichsprüfung" for a line with fewer than two colons; the
// cells before the failing line keep what was read, the others their old contents.
void applyDataFileText(std::string_view text, DataTable& table);

// The text of the data file at `path`, as far as it is needed: its first 512 lines. Raises
// "Datei %s kann nicht geöffnet werden. %s", and "Datei %s ist zu groß für eine Datendatei
// (höchstens 1 MiB)" for a file of more than kMaxDataFileBytes bytes, before reading any.
std::string readDataFileText(const std::string& path);

// readDataFileText, then applyDataFileText.
void readDataFile(const std::string& path, DataTable& table);

// Writes all 512 lines atomically. Raises "Datei "%s" kann nicht erstellt werden. %s".
void writeDataFile(const std::string& path, const DataTable& table);

}  // namespace quarzel
