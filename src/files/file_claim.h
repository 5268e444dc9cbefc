// An exclusive claim on a small file, held as long as the claim lives and given up by the
// system when the process ends in any way, a kill included: it tells an open window's files
// from those a crashed window left behind.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

namespace quarzel {

class FileClaim {
  public:
    enum class Create { IfMissing, OnlyNew };

    // Claims the file at `path` (UTF-8), creating it as `create` allows. Nothing when another
    // claim holds it, when `OnlyNew` finds it there already, or when it cannot be opened; then
    // `error`, when given, holds the system's reason.
    static std::optional<FileClaim> take(const std::string& path, Create create,
                                         std::error_code* error = nullptr);

    FileClaim(FileClaim&& other) noexcept;
    FileClaim& operator=(FileClaim&& other) noexcept;
    FileClaim(const FileClaim&) = delete;
    FileClaim& operator=(const FileClaim&) = delete;
    ~FileClaim();  // gives the claim up; the file stays

    // Gives the claim up and removes the file.
    void removeFile();

  private:
    FileClaim(std::string path, std::intptr_t handle) : m_path(std::move(path)), m_handle(handle) {}
    void release();

    std::string m_path;
    std::intptr_t m_handle = -1;  // a file descriptor, on Windows a HANDLE's value
};

}  // namespace quarzel
