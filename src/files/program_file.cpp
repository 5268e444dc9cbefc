#include "files/program_file.h"

#include <algorithm>

#include "files/file_errors.h"
#include "files/text_file.h"

namespace quarzel {

std::string readProgramFile(const std::string& path) {
    // Reading stops at the first line break beyond the limit.
    TextRead read = readTextFile(path, kMaxProgramFileBytes, kMaxProgramLineBreaks + 1);
    if (read.tooLarge || !programTextFits(read.text)) {
        throw memoCapacityError();
    }
    return std::move(read.text);
}

bool programTextFits(std::string_view text) {
    return programSizeFits(text.size(),
                           static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
}

bool programSizeFits(std::size_t bytes, std::size_t lineBreaks) {
    return bytes <= kMaxProgramFileBytes && lineBreaks <= kMaxProgramLineBreaks;
}

void writeProgramFile(const std::string& path, const std::string& text) {
    writeFileAtomically(path, text);
}

}  // namespace quarzel
