// Reading a text file as the editor and the table see it, and writing a file atomically, so
// that a failed save never damages the file that was there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

namespace quarzel {

// Turns every CR LF, lone CR and lone LF into CR LF and ends the text at the first NUL byte.
// Fed in pieces, it keeps a CR at the end of one piece together with an LF at the start of
// the next.
class LineBreakNormalizer {
  public:
    // Appends the normalised form of `bytes` to `text`. Returns false once a NUL byte was seen;
    // everything from it on is dropped, also in later calls.
    bool feed(std::string_view bytes, std::string& text);
    bool ended() const { return m_ended; }

  private:
    bool m_afterCr = false;
    bool m_ended = false;
};

// The whole of `bytes` normalised as above.
std::string normalizeLineBreaks(std::string_view bytes);

struct TextRead {
    std::string text;       // normalised, CR LF breaks, up to a NUL byte
    bool tooLarge = false;  // more than maxBytes bytes came before the end of the text
};

// Reads the file at `path` (UTF-8) and normalises it. Reading stops early once the text holds
// `maxLineBreaks` line breaks (what follows them is not needed) or once more than `maxBytes`
// bytes of the file have been taken; a file of more than `maxFileBytes` bytes is too large
// without being read at all. Only regular files are read: a folder, a pipe or a device, or a
// file that cannot be opened or read, raises "Datei %s kann nicht geöffnet werden. %s".
TextRead readTextFile(const std::string& path,
                      std::size_t maxBytes = std::numeric_limits<std::size_t>::max(),
                      std::size_t maxLineBreaks = std::numeric_limits<std::size_t>::max(),
                      std::uint64_t maxFileBytes = std::numeric_limits<std::uint64_t>::max());

// Writes `bytes` to a temporary file in the target's folder, flushes it to the disk and
// renames it over the target. The temporary file is created exclusively, with the target's
// mode, owner and group from the start. On any failure the old file stays exactly as it was,
// no temporary file is left behind, and "Datei "%s" kann nicht erstellt werden. %s" is raised.
// A symbolic link stays a link, also a dangling one: the file it names gets the content.
// Where the folder takes no new file but the target itself is writable, the target is
// overwritten in place; only then can a failure midway cost the old content. A device, a pipe
// or a socket in the target's place is never replaced by a file: "Datei %s kann nicht
// geschrieben werden" is raised, and nothing is created.
void writeFileAtomically(const std::string& path, std::string_view bytes);

// writeFileAtomically for a file that a command line names (a report, a memory dump): only a
// regular file, or a name that is not taken yet, is written. A folder too raises "Datei %s
// kann nicht geschrieben werden".
void writeRegularFile(const std::string& path, std::string_view bytes);
// That refusal on its own, before anything is written: raises "Datei %s kann nicht
// geschrieben werden" when `path` names something that is not a regular file.
void refuseIrregularFile(const std::string& path);

// writeFileAtomically in pieces, for a file too large to be made in memory first: created as
// writeFileAtomically creates it, raising the same errors, and put in its place by commit().
// A writer that is not committed leaves the target as it was (unless it is being overwritten
// in place, as writeFileAtomically does where the folder takes no new file).
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(const std::string& path);
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();

    void write(std::string_view bytes);
    void commit();

  private:
    struct Target;
    std::unique_ptr<Target> m_target;
};

}  // namespace quarzel
