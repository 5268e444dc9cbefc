// The operating system's text for an error as the file messages quote it: the C library's
// text, on Windows the system's own text for the error Windows reports in that case.
#pragma once

#include <string>
#include <system_error>

#include "common/system_error.h"
#include "files/file_errors.h"

namespace quarzel::testing {

// The Windows errors the tests provoke.
enum class WindowsError : int { None = 0, FileNotFound = 2, PathNotFound = 3 };

inline std::string osText(std::errc posix, [[maybe_unused]] WindowsError windows) {
#ifdef _WIN32
    if (windows != WindowsError::None) {
        return osErrorText(std::error_code(static_cast<int>(windows), std::system_category()));
    }
#endif
    return std::make_error_code(posix).message();
}

// The same text at the end of a message the central handler shows: with the "." it adds
// unless the system's text ends in one already.
inline std::string osTextEndingMessage(std::errc posix, WindowsError windows) {
    return centralHandlerText(osText(posix, windows));
}

}  // namespace quarzel::testing
