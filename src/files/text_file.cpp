#include "files/text_file.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "common/system_error.h"
#include "files/file_errors.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quarzel {
namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
// The C runtime's errno for the test of a condition, the system's own error code for the
// message: it is the one Windows can put into words in the user's language.
std::error_code lastError() {
    const unsigned long code = _doserrno != 0 ? _doserrno : GetLastError();
    if (code != 0) {
        return std::error_code(static_cast<int>(code), std::system_category());
    }
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}
void clearErrors() {
    errno = 0;
    _doserrno = 0;
    SetLastError(0);
}
#else
std::error_code lastError() {
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}
void clearErrors() {
    errno = 0;
}
#endif

// An open file descriptor, closed when it goes out of scope.
class FileHandle {
  public:
    FileHandle() = default;
    explicit FileHandle(int fd) : m_fd(fd) {}
    FileHandle(FileHandle&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (m_fd >= 0) {
            closeFd(m_fd);
        }
    }
    explicit operator bool() const { return m_fd >= 0; }
    int get() const { return m_fd; }
    // Closes the file and tells whether the system took the last of its data.
    bool close() { return closeFd(std::exchange(m_fd, -1)) == 0; }

  private:
    static int closeFd(int fd) {
#ifdef _WIN32
        return _close(fd);
#else
        return ::close(fd);
#endif
    }
    int m_fd = -1;
};

// Plain files only: a pipe or a device would block the reader or hand it endless data.
constexpr char kNotARegularFile[] = "Sie ist keine gewöhnliche Datei";

FileHandle openForReading(const fs::path& path, const std::string& shownPath, std::uint64_t& size) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!error && fs::exists(status) && !fs::is_regular_file(status)) {
        if (fs::is_directory(status)) {
            throw fileOpenError(shownPath, std::make_error_code(std::errc::is_a_directory));
        }
        throw fileOpenError(shownPath, kNotARegularFile);
    }
    clearErrors();
#ifdef _WIN32
    FileHandle file(_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT));
    if (!file) {
        throw fileOpenError(shownPath, lastError());
    }
    struct _stat64 info {};
    if (_fstat64(file.get(), &info) != 0) {
        throw fileOpenError(shownPath, lastError());
    }
    const bool regular = (info.st_mode & _S_IFMT) == _S_IFREG;
#else
    // Non-blocking, so that a pipe put in the file's place after the check cannot hold the
    // open; a regular file reads the same either way.
    FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file) {
        throw fileOpenError(shownPath, lastError());
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        throw fileOpenError(shownPath, lastError());
    }
    const bool regular = S_ISREG(info.st_mode);
#endif
    if (!regular) {
        throw fileOpenError(shownPath, kNotARegularFile);
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return file;
}

// Reads up to `count` bytes; 0 at the end of the file, -1 on an error.
long long readSome(const FileHandle& file, char* buffer, unsigned count) {
    for (;;) {
        clearErrors();
#ifdef _WIN32
        const long long got = _read(file.get(), buffer, count);
#else
        const long long got = ::read(file.get(), buffer, count);
#endif
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

// Writes all of `bytes`, or reports the error that stopped it.
bool writeAll(const FileHandle& file, std::string_view bytes) {
    constexpr std::size_t kChunk = 1 << 20;
    while (!bytes.empty()) {
        const unsigned count = static_cast<unsigned>(std::min(bytes.size(), kChunk));
        clearErrors();
#ifdef _WIN32
        const long long written = _write(file.get(), bytes.data(), count);
#else
        const long long written = ::write(file.get(), bytes.data(), count);
#endif
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool syncToDisk(const FileHandle& file) {
    clearErrors();
#ifdef _WIN32
    return _commit(file.get()) == 0;
#else
    return ::fsync(file.get()) == 0;
#endif
}

// The rename is only durable once the folder's entry is on the disk as well. Failing here
// loses nothing that the rename has not already done, so errors are not reported.
void syncFolder([[maybe_unused]] const fs::path& folder) {
#ifndef _WIN32
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

// The file a path names after following its symbolic links, also when the last one points to
// nothing yet: saving through a link writes the file it names and leaves the link in place.
// Links are followed relative to the folder of the link, at most 40 in a row, as the system
// itself does.
fs::path followLinks(fs::path path, std::error_code& error) {
    for (int hops = 0; hops < 40; ++hops) {
        if (!fs::is_symlink(fs::symlink_status(path, error))) {
            error.clear();  // a name that does not exist yet is simply the new file
            return path;
        }
        const fs::path next = fs::read_symlink(path, error);
        if (error) {
            return path;
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return path;
}

// What the target's replacement takes over from it.
struct TargetInfo {
    bool exists = false;
#ifndef _WIN32
    mode_t mode = 0666;  // a new file: what the umask lets through, as for any new file
    uid_t owner = 0;
    gid_t group = 0;
#endif
};

TargetInfo targetInfo(const fs::path& target) {
    TargetInfo info;
#ifdef _WIN32
    std::error_code ignored;
    info.exists = fs::exists(target, ignored);
#else
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        info.exists = true;
        info.mode = st.st_mode & 07777;
        info.owner = st.st_uid;
        info.group = st.st_gid;
    }
#endif
    return info;
}

// Creates a new file exclusively: an existing file of the same name, or a link, is never
// opened, so the save cannot truncate someone else's file.
FileHandle createExclusively(const fs::path& path, [[maybe_unused]] const TargetInfo& info) {
    clearErrors();
#ifdef _WIN32
    return FileHandle(_wopen(path.c_str(),
                             _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY | _O_NOINHERIT,
                             _S_IREAD | _S_IWRITE));
#else
    // Created with no more rights than the target has, so its new content is never readable
    // to anyone the old content was hidden from.
    FileHandle file(
        ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, info.mode & 0777));
    if (file && info.exists) {
        // Owner and group first: changing them clears the set-user-ID and set-group-ID bits,
        // which the mode then gives back. Only root may give a file away; everyone else keeps
        // their own file, with the target's group where they belong to it.
        if (::fchown(file.get(), info.owner, info.group) != 0) {
            [[maybe_unused]] const int ignored =
                ::fchown(file.get(), static_cast<uid_t>(-1), info.group);
        }
        ::fchmod(file.get(), info.mode);  // the umask may have taken bits away
        errno = 0;
    }
    return file;
#endif
}

// Creates a new, empty file beside `target` that no other file or folder is using. Names are
// tried in turn ("prog.prg.tmp", "prog.prg.1.tmp", ...). A name that is taken, by a file, a
// link or a folder (Windows reports a folder as "access denied"), is passed over.
FileHandle createTemporary(const fs::path& target, const TargetInfo& info, fs::path& temp,
                           std::error_code& error, int& cause) {
    const fs::path folder = target.parent_path();
    std::string base = target.filename().u8string();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string suffix = attempt == 0 ? ".tmp" : "." + std::to_string(attempt) + ".tmp";
        temp = folder / fs::u8path(base + suffix);
        FileHandle file = createExclusively(temp, info);
        if (file) {
            return file;
        }
        cause = errno;
        error = lastError();
        std::error_code ignored;
        if (cause == ENAMETOOLONG && base != "quarzel") {
            base = "quarzel";  // a name near the length limit leaves no room for a suffix
            attempt = -1;
        } else if (cause != EEXIST && !fs::exists(fs::symlink_status(temp, ignored))) {
            return FileHandle();
        }
    }
    return FileHandle();
}

// The folder refuses a new file, but the target itself may be written: then the target is
// overwritten where it is. Unlike the rename, a failure midway loses the old content, so this
// is only the way out when the safe way is closed.
FileHandle openInPlace(const fs::path& target, const TargetInfo& info) {
    if (!info.exists) {
        return FileHandle();
    }
    std::error_code ignored;
    if (!fs::is_regular_file(target, ignored)) {
        return FileHandle();
    }
    clearErrors();
#ifdef _WIN32
    return FileHandle(_wopen(target.c_str(), _O_WRONLY | _O_TRUNC | _O_BINARY | _O_NOINHERIT));
#else
    return FileHandle(::open(target.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC));
#endif
}

bool folderRefusesNewFiles(int cause) {
    return cause == EACCES || cause == EPERM || cause == EROFS;
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

TextRead readTextFile(const std::string& path, std::size_t maxBytes, std::size_t maxLineBreaks,
                      std::uint64_t maxFileBytes) {
    std::uint64_t size = 0;
    const FileHandle file = openForReading(fs::u8path(path), path, size);
    TextRead result;
    if (size > maxFileBytes) {
        result.tooLarge = true;
        return result;
    }
    LineBreakNormalizer normalizer;
    std::size_t taken = 0;
    std::size_t lineBreaks = 0;
    char buffer[64 * 1024];
    for (;;) {
        const long long got = readSome(file, buffer, sizeof buffer);
        if (got < 0) {
            throw fileOpenError(path, lastError());
        }
        if (got == 0) {
            return result;
        }
        const std::size_t count = static_cast<std::size_t>(got);
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

// The target's temporary file (or the target itself, where the folder takes no new file),
// open for writing.
struct AtomicFileWriter::Target {
    std::string path;  // as given, for the messages
    fs::path target;
    fs::path temp;
    FileHandle file;
    bool inPlace = false;

    // Closes the file and removes the temporary one; the error to raise.
    SystemError fail() {
        const std::error_code cause = lastError();
        file = FileHandle();
        if (!inPlace) {
            std::error_code ignored;
            fs::remove(temp, ignored);
        }
        return fileCreateError(path, cause);
    }
};

AtomicFileWriter::AtomicFileWriter(const std::string& path) : m_target(new Target) {
    Target& t = *m_target;
    t.path = path;
    std::error_code error;
    t.target = followLinks(fs::u8path(path), error);
    if (error) {
        throw fileCreateError(path, error);
    }
    const fs::file_status status = fs::status(t.target, error);
    if (fs::is_directory(status)) {
        throw fileCreateError(path, std::make_error_code(std::errc::is_a_directory));
    }
    // The rename would put a plain file where the device or the pipe was (as root, in /dev).
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        throw fileWriteError(path);
    }
    const TargetInfo info = targetInfo(t.target);

    int cause = 0;
    t.file = createTemporary(t.target, info, t.temp, error, cause);
    if (!t.file) {
        if (folderRefusesNewFiles(cause)) {
            t.file = openInPlace(t.target, info);
            t.inPlace = static_cast<bool>(t.file);
        }
        if (!t.file) {
            throw fileCreateError(path, error);
        }
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    if (m_target && m_target->file && !m_target->inPlace) {
        m_target->file = FileHandle();
        std::error_code ignored;
        fs::remove(m_target->temp, ignored);
    }
}

void AtomicFileWriter::write(std::string_view bytes) {
    if (!m_target->file) {
        throw fileCreateError(m_target->path, std::make_error_code(std::errc::bad_file_descriptor));
    }
    if (!writeAll(m_target->file, bytes)) {
        throw m_target->fail();
    }
}

void AtomicFileWriter::commit() {
    Target& t = *m_target;
    if (!t.file) {
        throw fileCreateError(t.path, std::make_error_code(std::errc::bad_file_descriptor));
    }
    if (!syncToDisk(t.file)) {
        throw t.fail();
    }
    clearErrors();
    if (!t.file.close()) {
        throw t.fail();
    }
    if (t.inPlace) {
        return;
    }
    std::error_code error;
    fs::rename(t.temp, t.target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(t.temp, ignored);
        throw fileCreateError(t.path, error);
    }
    syncFolder(t.target.parent_path());
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    AtomicFileWriter writer(path);
    writer.write(bytes);
    writer.commit();
}

void refuseIrregularFile(const std::string& path) {
    std::error_code error;
    const fs::path target = followLinks(fs::u8path(path), error);
    if (!error) {
        const fs::file_status status = fs::status(target, error);
        if (fs::exists(status) && !fs::is_regular_file(status)) {
            throw fileWriteError(path);
        }
    }
}

void writeRegularFile(const std::string& path, std::string_view bytes) {
    refuseIrregularFile(path);
    writeFileAtomically(path, bytes);
}

}  // namespace quarzel
