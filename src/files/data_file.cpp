#include "files/data_file.h"

#include <algorithm>
#include <limits>

#include "common/number_text.h"
#include "common/system_error.h"
#include "files/file_errors.h"
#include "files/text_file.h"
#include "model/data_table.h"

namespace quarzel {
namespace {

// The number of lines of a CR LF text, counted up to 512; a break at the very end makes no
// extra line.
int countLines(std::string_view text) {
    int lines = 0;
    for (std::size_t start = 0; start < text.size() && lines < DataTable::kRowCount; ++lines) {
        const std::size_t end = text.find("\r\n", start);
        start = end == std::string_view::npos ? text.size() : end + 2;
    }
    return lines;
}

}  // namespace

std::string dataFileText(const DataTable& table) {
    std::string text;
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        text += int32ToText(row + 1);
        text += ':';
        text += table.value(row);
        text += ':';
        text += table.comment(row);
        text += "\r\n";
    }
    return text;
}

void applyDataFileText(std::string_view text, DataTable& table) {
    const DataWalk walk =
        walkDataLines(text, [&](int row, std::string_view value, std::string_view comment) {
            table.setValue(row, value.empty() ? std::string("0") : std::string(value));
            table.setComment(row, std::string(comment));
        });
    switch (walk.end) {
        case DataWalk::MissingLine:
            throw listIndexError(countLines(text));
        case DataWalk::MissingColons:
            throw rangeCheckError();
        case DataWalk::Whole:
            break;
    }
}

std::string readDataFileText(const std::string& path) {
    static_assert(kMaxDataFileBytes == 1024 * 1024, "the message names the limit");
    TextRead read = readTextFile(path, kMaxDataFileBytes, DataTable::kRowCount, kMaxDataFileBytes);
    if (read.tooLarge) {
        throw dataFileTooLargeError(path);
    }
    return std::move(read.text);
}

void readDataFile(const std::string& path, DataTable& table) {
    applyDataFileText(readDataFileText(path), table);
}

void writeDataFile(const std::string& path, const DataTable& table) {
    writeFileAtomically(path, dataFileText(table));
}

}  // namespace quarzel
