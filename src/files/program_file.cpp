#include "files/program_file.h"

#include "files/file_errors.h"
#include "files/text_file.h"

namespace quarzel {

std::string readProgramFile(const std::string& path) {
    TextRead read = readTextFile(path, kMaxProgramFileBytes);
    if (read.tooLarge) {
        throw memoCapacityError();
    }
    return std::move(read.text);
}

void writeProgramFile(const std::string& path, const std::string& text) {
    writeFileAtomically(path, text);
}

}  // namespace quarzel
