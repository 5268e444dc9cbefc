// Work kept outside the user's files (the browser's storage, a file in the user's data folder),
// so that a crash or a closed page loses nothing: the program text and the whole table as one
// record, written whole and checked when read. A record that is damaged or over the limits is
// never applied, so that it cannot replace good work with half of it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarzel {

class DataTable;

// The record of `program` (Windows-1252, CR LF) and `table`: a versioned header, each part with
// its length, and a checksum over all of it.
std::string keptWorkRecord(const std::string& program, const DataTable& table);

// A record read back, or why it cannot be applied.
struct KeptWork {
    std::string program;  // Windows-1252, CR LF
    std::string data;     // the table as a data file's text
};
struct KeptWorkRead {
    std::optional<KeptWork> work;
    std::string problem;  // German, UTF-8, when `work` is empty
};
// Checks the whole record before anything of it is used: header and version, both lengths,
// the checksum, the program within the editor's limits, the data a whole data file.
KeptWorkRead readKeptWork(std::string_view record);

// The notes after restoring, in UTF-8 as PromptView::showNote takes them.
inline constexpr char kKeptWorkRestoredNote[] =
    "Programm und Daten der letzten Sitzung wurden wiederhergestellt.";
// A damaged record is kept aside by the front end, never thrown away: `problem` as readKeptWork
// gave it.
std::string keptWorkDamagedNote(const std::string& problem);

// What restoring kept work did, and the short note the front end shows.
struct KeptWorkRestore {
    enum Result { Restored, Damaged } result = Restored;
    std::string note;  // UTF-8
};

}  // namespace quarzel
