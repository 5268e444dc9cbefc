#include "files/text_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "files/file_errors.h"

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace quarzel {
namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::error_code lastError() {
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

// fopen with a path that may hold any character: Windows needs the wide form.
FilePtr openFile(const fs::path& path, const char* mode) {
    errno = 0;
#ifdef _WIN32
    std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return FilePtr(_wfopen(path.c_str(), wideMode.c_str()));
#else
    return FilePtr(std::fopen(path.c_str(), mode));
#endif
}

bool syncToDisk(std::FILE* file) {
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// The rename is only durable once the folder's entry is on the disk as well. Failing here
// loses nothing that the rename has not already done, so errors are not reported.
void syncFolder([[maybe_unused]] const fs::path& folder) {
#ifndef _WIN32
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

// Creates a new, empty file beside `target` that no other file or folder is using. Names are
// tried in turn ("prog.prg.tmp", "prog.prg.1.tmp", ...), each created exclusively, so an
// existing file of the same name is never touched.
FilePtr createTemporary(const fs::path& target, fs::path& temp, std::error_code& error) {
    const fs::path folder = target.parent_path();
    std::string base = target.filename().u8string();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string suffix = attempt == 0 ? ".tmp" : "." + std::to_string(attempt) + ".tmp";
        temp = folder / fs::u8path(base + suffix);
        FilePtr file = openFile(temp, "wbx");
        if (file) {
            return file;
        }
        error = lastError();
        if (error == std::errc::filename_too_long && base != "quarzel") {
            base = "quarzel";  // a name near the length limit leaves no room for a suffix
            attempt = -1;
        } else if (error != std::errc::file_exists) {
            return nullptr;
        }
    }
    return nullptr;
}

}  // namespace

bool LineBreakNormalizer::feed(std::string_view bytes, std::string& text) {
    if (m_ended) {
        return false;
    }
    text.reserve(text.size() + bytes.size());
    for (const char c : bytes) {
        if (c == '\0') {
            m_ended = true;
            return false;
        }
        if (c == '\n' && m_afterCr) {
            m_afterCr = false;  // the LF of a CR LF pair, already written
            continue;
        }
        m_afterCr = c == '\r';
        if (c == '\r' || c == '\n') {
            text += "\r\n";
        } else {
            text += c;
        }
    }
    return true;
}

std::string normalizeLineBreaks(std::string_view bytes) {
    std::string text;
    LineBreakNormalizer().feed(bytes, text);
    return text;
}

TextRead readTextFile(const std::string& path, std::size_t maxBytes, std::size_t maxLineBreaks) {
    FilePtr file = openFile(fs::u8path(path), "rb");
    if (!file) {
        throw fileOpenError(path, lastError());
    }
    TextRead result;
    LineBreakNormalizer normalizer;
    std::size_t taken = 0;
    std::size_t lineBreaks = 0;
    char buffer[64 * 1024];
    for (;;) {
        errno = 0;
        const std::size_t count = std::fread(buffer, 1, sizeof buffer, file.get());
        if (count == 0) {
            if (std::ferror(file.get())) {
                throw fileOpenError(path, lastError());  // e.g. a folder chosen as the file
            }
            return result;
        }
        const std::size_t scanFrom = result.text.size();
        const bool goesOn = normalizer.feed(std::string_view(buffer, count), result.text);
        // Bytes taken: everything before the NUL that ended the text, if there was one.
        taken += goesOn ? count : std::string_view(buffer, count).find('\0');
        if (taken > maxBytes) {
            result.tooLarge = true;
            return result;
        }
        for (std::size_t i = scanFrom; i < result.text.size(); ++i) {
            lineBreaks += result.text[i] == '\n' ? 1 : 0;
        }
        if (!goesOn || lineBreaks >= maxLineBreaks) {
            return result;
        }
    }
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    fs::path target = fs::u8path(path);
    std::error_code error;
    if (fs::is_symlink(target, error)) {
        fs::path resolved = fs::canonical(target, error);
        if (!error) {
            target = std::move(resolved);
        }
    }
    if (fs::is_directory(target, error)) {
        throw fileCreateError(path, std::make_error_code(std::errc::is_a_directory));
    }

    fs::path temp;
    FilePtr file = createTemporary(target, temp, error);
    if (!file) {
        throw fileCreateError(path, error);
    }
    auto discard = [&](const std::error_code& cause) {
        file.reset();
        std::error_code ignored;
        fs::remove(temp, ignored);
        return fileCreateError(path, cause);
    };

    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0 || !syncToDisk(file.get())) {
        throw discard(lastError());
    }
    errno = 0;
    if (std::fclose(file.release()) != 0) {
        throw discard(lastError());
    }

    // The new file takes over the old one's permissions, as an overwrite would keep them.
    const fs::file_status old = fs::status(target, error);
    if (!error && fs::exists(old)) {
        fs::permissions(temp, old.permissions(), error);
    }
    fs::rename(temp, target, error);
    if (error) {
        throw discard(error);
    }
    syncFolder(target.parent_path());
}

}  // namespace quarzel
