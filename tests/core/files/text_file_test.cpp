// Line break normalisation, reading, and the atomic writer's behaviour when a save fails.
#include "files/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <system_error>

#include "common/system_error.h"
#include "common/win1252.h"
#include "os_text.h"
#include "temp_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/resource.h>

#include <csignal>
#endif

namespace quarzel {
namespace {

namespace fs = std::filesystem;
using testing::osText;
using testing::readBytes;
using testing::TempFolder;
using testing::WindowsError;
using testing::writeBytes;

std::string errorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const SystemError& error) {
        return toUtf8(error.text());
    }
    return "(no error)";
}

struct BreakCase {
    std::string bytes;
    std::string text;
};

TEST(LineBreakNormalizerTest, EveryKindOfBreakBecomesCrLfAndNulEndsTheText) {
    using namespace std::string_literals;
    const BreakCase cases[] = {
        {"", ""},
        {"LAD 1", "LAD 1"},
        {"a\r\nb", "a\r\nb"},
        {"a\nb", "a\r\nb"},
        {"a\rb", "a\r\nb"},
        {"a\r\n", "a\r\n"},
        {"a\n\n", "a\r\n\r\n"},
        {"a\r\r\nb", "a\r\n\r\nb"},  // a lone CR, then a pair
        {"a\r\n\nb", "a\r\n\r\nb"},  // a pair, then a lone LF
        {"a\n\rb", "a\r\n\r\nb"},    // LF CR is two breaks, not one
        {"\r\n\r\n", "\r\n\r\n"},
        {"a\0b"s, "a"},
        {"\0abc"s, ""},
        {"a\r\0\nb"s, "a\r\n"},
        {"\t x\xe4\xff\n", "\t x\xe4\xff\r\n"},
    };
    for (const BreakCase& c : cases) {
        EXPECT_EQ(normalizeLineBreaks(c.bytes), c.text) << "bytes: " << c.bytes;
    }
}

TEST(LineBreakNormalizerTest, FeedingInPiecesGivesTheSameTextAtEverySplit) {
    using namespace std::string_literals;
    const std::string bytes = "A\r\nB\rC\nD\r\r\nE\n\rF\0G\r\n"s;
    const std::string whole = normalizeLineBreaks(bytes);
    for (std::size_t split = 0; split <= bytes.size(); ++split) {
        LineBreakNormalizer normalizer;
        std::string text;
        normalizer.feed(std::string_view(bytes).substr(0, split), text);
        normalizer.feed(std::string_view(bytes).substr(split), text);
        EXPECT_EQ(text, whole) << "split at " << split;
        EXPECT_TRUE(normalizer.ended());
    }
}

TEST(ReadTextFileTest, AFileThatCannotBeOpenedNamesPathAndReason) {
    TempFolder folder;
    const std::string missing = folder.file("fehlt.prg");
    EXPECT_EQ(errorText([&] { readTextFile(missing); }),
              "Datei " + missing + " kann nicht geöffnet werden. " +
                  osText(std::errc::no_such_file_or_directory, WindowsError::FileNotFound));
    const std::string dir = folder.path().u8string();
    EXPECT_EQ(errorText([&] {
                  readTextFile(dir);
              }).rfind("Datei " + dir + " kann nicht geöffnet werden. ", 0),
              0u);
}

TEST(ReadTextFileTest, ReportsTooLargeOnlyBeyondTheLimitOfBytesBeforeTheEnd) {
    using namespace std::string_literals;
    TempFolder folder;
    const std::string path = folder.file("x.txt");
    writeBytes(path, "0123456789");
    EXPECT_FALSE(readTextFile(path, 10).tooLarge);
    EXPECT_TRUE(readTextFile(path, 9).tooLarge);
    writeBytes(path, "0123\0"s + std::string(100, 'x'));
    const TextRead read = readTextFile(path, 10);
    EXPECT_FALSE(read.tooLarge);
    EXPECT_EQ(read.text, "0123");
}

TEST(WriteFileAtomicallyTest, ReplacesTheFileAndLeavesNothingElse) {
    TempFolder folder;
    const std::string path = folder.file("prog.prg");
    writeBytes(path, "old text that is longer than the new one");
    writeFileAtomically(path, "new");
    EXPECT_EQ(readBytes(path), "new");
    EXPECT_EQ(folder.entries(), std::set<std::string>{"prog.prg"});
}

TEST(WriteFileAtomicallyTest, WritesNamesWithUmlautsAndEmptyFiles) {
    TempFolder folder;
    const std::string path = folder.file("Übung größer.prg");
    writeFileAtomically(path, "");
    EXPECT_TRUE(fs::exists(fs::u8path(path)));
    EXPECT_EQ(fs::file_size(fs::u8path(path)), 0u);
}

// Tests run as root, where permissions do not stop a write; the failures are made by putting
// things in the way instead.
struct FailingSave {
    const char* name;
    std::function<std::string(TempFolder&)> prepare;  // returns the target path
    std::errc reason;
    WindowsError windowsReason;
};

TEST(WriteFileAtomicallyTest, AFailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile) {
    const FailingSave cases[] = {
        {"target is a folder",
         [](TempFolder& f) {
             fs::create_directory(f.path() / "prog.prg");
             writeBytes(f.file("prog.prg/inside.txt"), "kept");
             return f.file("prog.prg");
         },
         std::errc::is_a_directory, WindowsError::None},
        {"folder does not exist", [](TempFolder& f) { return f.file("fehlt/prog.prg"); },
         std::errc::no_such_file_or_directory, WindowsError::PathNotFound},
        {"a file in the way of the folder",
         [](TempFolder& f) {
             writeBytes(f.file("datei"), "kept");
             return f.file("datei/prog.prg");
         },
         std::errc::not_a_directory, WindowsError::PathNotFound},
    };
    for (const FailingSave& c : cases) {
        TempFolder folder;
        writeBytes(folder.file("other.prg"), "untouched");
        const std::string target = c.prepare(folder);
        const auto before = folder.entries();
        EXPECT_EQ(errorText([&] { writeFileAtomically(target, "NEW"); }),
                  "Datei \"" + target + "\" kann nicht erstellt werden. " +
                      osText(c.reason, c.windowsReason))
            << c.name;
        EXPECT_EQ(folder.entries(), before) << c.name;
        EXPECT_EQ(readBytes(folder.file("other.prg")), "untouched") << c.name;
    }
}

TEST(WriteFileAtomicallyTest, AFolderInTheWayOfTheTemporaryNameIsSteppedAround) {
    TempFolder folder;
    const std::string path = folder.file("prog.prg");
    writeBytes(path, "old");
    fs::create_directory(folder.path() / "prog.prg.tmp");
    writeBytes(folder.file("prog.prg.1.tmp"), "someone else's file");
    writeFileAtomically(path, "new");
    EXPECT_EQ(readBytes(path), "new");
    EXPECT_TRUE(fs::is_directory(folder.path() / "prog.prg.tmp"));
    EXPECT_TRUE(fs::is_empty(folder.path() / "prog.prg.tmp"));
    EXPECT_EQ(readBytes(folder.file("prog.prg.1.tmp")), "someone else's file");
    EXPECT_EQ(folder.entries(),
              (std::set<std::string>{"prog.prg", "prog.prg.tmp", "prog.prg.1.tmp"}));
}

TEST(WriteFileAtomicallyTest, ALinkStaysALinkAndItsFileIsReplaced) {
    TempFolder folder;
    const std::string real = folder.file("real.prg");
    const std::string link = folder.file("link.prg");
    writeBytes(real, "old");
    std::error_code error;
    fs::create_symlink(fs::u8path(real), fs::u8path(link), error);
    if (error) {
        GTEST_SKIP() << "no symbolic links here: " << error.message();
    }
    writeFileAtomically(link, "new");
    EXPECT_TRUE(fs::is_symlink(fs::u8path(link)));
    EXPECT_EQ(readBytes(real), "new");
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"link.prg", "real.prg"}));
}

TEST(WriteFileAtomicallyTest, ADanglingLinkIsWrittenThroughAndStaysALink) {
    TempFolder folder;
    fs::create_directory(folder.path() / "ziel");
    std::error_code error;
    // Relative to the link's own folder, and through a second link.
    fs::create_symlink("ziel/neu.prg", folder.path() / "zwischen.prg", error);
    fs::create_symlink("zwischen.prg", folder.path() / "link.prg", error);
    if (error) {
        GTEST_SKIP() << "no symbolic links here: " << error.message();
    }
    writeFileAtomically(folder.file("link.prg"), "new");
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.prg"));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "zwischen.prg"));
    EXPECT_EQ(readBytes(folder.file("ziel/neu.prg")), "new");
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"link.prg", "zwischen.prg", "ziel"}));
}

TEST(WriteFileAtomicallyTest, TheReplacedFileKeepsItsPermissions) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps no Unix file modes";
#endif
    TempFolder folder;
    const std::string path = folder.file("prog.prg");
    writeBytes(path, "old");
    const auto restricted = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(fs::u8path(path), restricted);
    writeFileAtomically(path, "new");
    EXPECT_EQ(fs::status(fs::u8path(path)).permissions() & fs::perms::all, restricted);
}

#ifndef _WIN32
// Runs `action` in a child process under the user "nobody", so that permissions hold even
// when the tests run as root; returns what the child's action returned.
bool asUnprivilegedUser(const std::function<bool()>& action) {
    const pid_t child = fork();
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(2);
        }
        bool ok = false;
        try {
            ok = action();
        } catch (...) {
        }
        _exit(ok ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(WriteFileAtomicallyTest, AWritableFileInAFolderThatTakesNoNewFileIsWrittenInPlace) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "WebAssembly under Node starts no child process to drop root's rights in";
#endif
    TempFolder folder;
    const fs::path locked = folder.path() / "gesperrt";
    fs::create_directory(locked);
    const std::string path = (locked / "prog.prg").u8string();
    writeBytes(path, "old contents");
    if (getuid() == 0) {
        ASSERT_EQ(chown(locked.c_str(), 65534, 65534), 0);
        ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    }
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(folder.path(), fs::perms::others_exec, fs::perm_options::add);
    const bool saved = asUnprivilegedUser([&] {
        writeFileAtomically(path, "new");
        return true;
    });
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_TRUE(saved);
    EXPECT_EQ(readBytes(path), "new");
    EXPECT_EQ(fs::directory_iterator(locked)->path().filename(), "prog.prg");
}

TEST(WriteFileAtomicallyTest, TheReplacedFileKeepsItsOwnerAndGroupWhereTheUserMayGiveThem) {
    if (getuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    TempFolder folder;
    const std::string path = folder.file("prog.prg");
    writeBytes(path, "old");
    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    writeFileAtomically(path, "new");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(readBytes(path), "new");
}
#endif

// A disk that fills up during the write: the process may not write files beyond 16 bytes.
TEST(WriteFileAtomicallyTest, ADiskFullDuringTheWriteKeepsTheOldFile) {
#ifndef __linux__
    GTEST_SKIP() << "only Linux limits the size of the files a process writes here";
#else
    TempFolder folder;
    const std::string path = folder.file("daten.dta");
    writeBytes(path, "old contents");

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string message =
        errorText([&] { writeFileAtomically(path, std::string(100000, 'x')); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(message, "Datei \"" + path + "\" kann nicht erstellt werden. " +
                           osText(std::errc::file_too_large, WindowsError::None));
    EXPECT_EQ(readBytes(path), "old contents");
    EXPECT_EQ(folder.entries(), std::set<std::string>{"daten.dta"});
#endif
}

}  // namespace
}  // namespace quarzel
