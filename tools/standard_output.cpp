#include "tools/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <system_error>

#include "files/file_errors.h"

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace quarzel::headless {

void occupyClosedStandardStreams() {
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // The lowest free number is taken, and those below are open by now: it is `fd`.
        const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
#endif
}

int closeStandardOutput(const std::string& tool, int status, int failedStatus) {
    // A write that failed earlier leaves the stream's error state; the last piece fails on the
    // flush, where its cause is still in errno. A full pipe or disk may report only on closing.
    errno = 0;
    std::cout.flush();
    bool lost = std::cout.fail();
    int cause = lost ? errno : 0;
    errno = 0;
    if (std::fflush(stdout) != 0) {
        lost = true;
        cause = cause != 0 ? cause : errno;
    }
    lost = lost || std::ferror(stdout) != 0;
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
    // The descriptor alone is closed: the C++ runtime flushes the (now empty) stream at exit.
    errno = 0;
    if (::close(STDOUT_FILENO) != 0 && errno != EBADF && errno != EINTR) {
        lost = true;
        cause = cause != 0 ? cause : errno;
    }
#endif
    if (!lost) {
        return status;
    }
    std::string message = tool + ": Die Standardausgabe kann nicht geschrieben werden.";
    if (cause != 0) {
        message += " " + osErrorText(std::error_code(cause, std::generic_category())) + ".";
    }
    std::cerr << message << std::endl;
    return failedStatus;
}

}  // namespace quarzel::headless
