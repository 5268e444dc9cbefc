// The data file (*.dta): 512 lines "n:value:comment", each ending in CR LF.
#pragma once

#include <string>

namespace quarzel {

class DataTable;

// Reads the value and comment of every cell by line position. Raises the file error when it
// cannot be opened, "Listenindex überschreitet das Maximum (%d)" for a file of fewer than 512
// lines and "Fehler bei Bereichsprüfung" for a line with fewer than two colons; the cells
// before the failing line keep what was read.
void readDataFile(const std::string& path, DataTable& table);

// Writes all 512 lines atomically. Raises "Datei "%s" kann nicht erstellt werden. %s".
void writeDataFile(const std::string& path, const DataTable& table);

}  // namespace quarzel
