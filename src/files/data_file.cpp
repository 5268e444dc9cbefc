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
    std::size_t start = 0;
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        if (start >= text.size()) {
            throw listIndexError(countLines(text));
        }
        const std::size_t end = std::min(text.find("\r\n", start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 2;

        const std::size_t first = line.find(':');
        const std::size_t second =
            first == std::string_view::npos ? first : line.find(':', first + 1);
        if (second == std::string_view::npos) {
            throw rangeCheckError();
        }
        const std::string_view value = line.substr(first + 1, second - first - 1);
        table.setValue(row, value.empty() ? std::string("0") : std::string(value));
        table.setComment(row, std::string(line.substr(second + 1)));
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
