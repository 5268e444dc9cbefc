#include "files/file_claim.h"

#include <filesystem>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace quarzel {
namespace fs = std::filesystem;

std::optional<FileClaim> FileClaim::take(const std::string& path, Create create,
                                         std::error_code* error) {
    const fs::path file = fs::u8path(path);
    const auto refused = [error](std::error_code reason) -> std::optional<FileClaim> {
        if (error != nullptr) {
            *error = reason;
        }
        return std::nullopt;
    };
#ifdef _WIN32
    // Opened without sharing: while this handle is open nobody else opens the file, and the
    // system closes the handle of a process that is killed.
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      create == Create::OnlyNew ? CREATE_NEW : OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return refused(std::error_code(static_cast<int>(GetLastError()), std::system_category()));
    }
    return FileClaim(path, reinterpret_cast<std::intptr_t>(handle));
#else
    const int fd =
        ::open(file.c_str(),
               O_RDWR | O_CREAT | O_CLOEXEC | (create == Create::OnlyNew ? O_EXCL : 0), 0600);
    if (fd < 0) {
        return refused(std::error_code(errno, std::generic_category()));
    }
    // flock, not fcntl: its lock belongs to this open file, so two claims inside one process
    // exclude each other too, and it never blocks.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno;
        ::close(fd);
        return refused(std::error_code(reason, std::generic_category()));
    }
    return FileClaim(path, fd);
#endif
}

FileClaim::FileClaim(FileClaim&& other) noexcept
    : m_path(std::move(other.m_path)), m_handle(std::exchange(other.m_handle, -1)) {}

FileClaim& FileClaim::operator=(FileClaim&& other) noexcept {
    if (this != &other) {
        release();
        m_path = std::move(other.m_path);
        m_handle = std::exchange(other.m_handle, -1);
    }
    return *this;
}

FileClaim::~FileClaim() {
    release();
}

void FileClaim::release() {
    if (m_handle == -1) {
        return;
    }
#ifdef _WIN32
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));
#else
    ::close(static_cast<int>(m_handle));
#endif
    m_handle = -1;
}

void FileClaim::removeFile() {
    std::error_code ignored;
#ifdef _WIN32
    release();  // an open file cannot be removed
    fs::remove(fs::u8path(m_path), ignored);
#else
    // Removed while still claimed, so that no one claims it in between.
    fs::remove(fs::u8path(m_path), ignored);
    release();
#endif
}

}  // namespace quarzel
