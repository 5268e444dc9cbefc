// The data file (*.dta): 512 lines "n:value:comment", each ending in CR LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/data_table.h"

namespace quarzel {

// The largest data file that is read: 512 lines of cut cell texts take far less, so a larger
// file is no data file, and reading it would only fill the memory.
inline constexpr std::size_t kMaxDataFileBytes = std::size_t{1024} * 1024;

// The file's whole contents for the table: line n is "n:value:comment" and CR LF.
std::string dataFileText(const DataTable& table);

// How a walk through a data file's lines ended: all 512 lines were whole, or line `row`
// (from 0) is missing or has fewer than two colons.
struct DataWalk {
    enum End { Whole, MissingLine, MissingColons } end = Whole;
    int row = 0;
};

// Hands `take(row, value, comment)` the cells of `text` (line breaks as CR LF) in order: line k
// is cell k, its value the text between the first and the second colon, its comment the rest.
// Stops at the first line that is missing or has fewer than two colons; lines after the 512th
// are not looked at.
template <class Take>
DataWalk walkDataLines(std::string_view text, Take&& take) {
    std::size_t start = 0;
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        if (start >= text.size()) {
            return {DataWalk::MissingLine, row};
        }
        const std::size_t found = text.find("\r\n", start);
        const std::size_t end = found == std::string_view::npos ? text.size() : found;
        const std::string_view line = text.substr(start, end - start);
        start = end + 2;
        const std::size_t first = line.find(':');
        const std::size_t second =
            first == std::string_view::npos ? first : line.find(':', first + 1);
        if (second == std::string_view::npos) {
            return {DataWalk::MissingColons, row};
        }
        take(row, line.substr(first + 1, second - first - 1), line.substr(second + 1));
    }
    return {};
}

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
