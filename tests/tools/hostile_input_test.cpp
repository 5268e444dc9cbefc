// Files and texts a careless or hostile user may hand the runner: each is refused at once with
// a short German message, and no message repeats more than a short piece of what it was given.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "common/quote.h"
#include "files/data_file.h"
#include "files/program_file.h"
#include "os_text.h"
#include "temp_folder.h"
#include "tools/runner.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace quarzel::headless {
namespace {

namespace fs = std::filesystem;
using quarzel::testing::TempFolder;
using quarzel::testing::writeBytes;

constexpr char kEllipsis[] = "\xE2\x80\xA6";  // "…" in UTF-8, as the runner prints it

std::string dataFile(const std::string& firstValue) {
    std::string text = "1:" + firstValue + ":\r\n";
    for (int n = 2; n <= 512; ++n) {
        text += std::to_string(n) + ":0:\r\n";
    }
    return text;
}

struct HostileCase {
    const char* name;
    // Puts the hostile thing into the folder and returns the runner's arguments.
    std::function<std::vector<std::string>(const TempFolder&)> prepare;
    // The one line expected on stderr, given the arguments.
    std::function<std::string(const std::vector<std::string>&)> message;
    int status;
};

std::string cannotOpen(const std::string& path, const std::string& reason) {
    return "Quarzel 3: Datei " + path + " kann nicht geöffnet werden. " + reason + ".";
}

TEST(HostileInputTest, IsRefusedAtOnceWithAShortMessage) {
    const std::string longText(1000, 'A');
    const std::string quoted(kMaxQuotedLength, 'A');
    const std::vector<HostileCase> cases = {
        {"a data file one byte over its limit",
         [](const TempFolder& f) {
             writeBytes(f.file("p.prg"), "STP\r\n");
             std::string data = dataFile("0");
             data.resize(kMaxDataFileBytes + 1, 'x');
             writeBytes(f.file("gross.dta"), data);
             return std::vector<std::string>{"--data", f.file("gross.dta"), f.file("p.prg")};
         },
         [](const std::vector<std::string>& args) {
             return "Quarzel 3: Datei " + args[1] +
                    " ist zu groß für eine Datendatei (höchstens 1 MiB)";
         },
         kUsageOrFile},
        {"a program one byte over its limit",  // line breaks have their own limit
         [](const TempFolder& f) {
             writeBytes(f.file("gross.prg"), "*" + std::string(kMaxProgramFileBytes, 'A'));
             return std::vector<std::string>{f.file("gross.prg")};
         },
         [](const std::vector<std::string>&) {
             return std::string("Quarzel 3: Text überschreitet Memo-Kapazität.");
         },
         kUsageOrFile},
        {"a folder as the program",
         [](const TempFolder& f) {
             fs::create_directory(fs::u8path(f.file("ordner.prg")));
             return std::vector<std::string>{f.file("ordner.prg")};
         },
         [](const std::vector<std::string>& args) {
             return cannotOpen(args[0],
                               quarzel::testing::osText(std::errc::is_a_directory,
                                                        quarzel::testing::WindowsError::None));
         },
         kUsageOrFile},
        {"a 1000 character operand",
         [&](const TempFolder& f) {
             writeBytes(f.file("p.prg"), "LAD " + longText + "\r\nSTP\r\n");
             return std::vector<std::string>{f.file("p.prg")};
         },
         [&](const std::vector<std::string>&) {
             return "Programmfehler: Fehler in Zeile 1: Ungültiges Zeichen in Ziel " + quoted +
                    kEllipsis;
         },
         kCheckFailed},
        {"a 1000 character value in the data",
         [&](const TempFolder& f) {
             writeBytes(f.file("p.prg"), "STP\r\n");
             writeBytes(f.file("d.dta"), dataFile(longText));
             return std::vector<std::string>{"--data", f.file("d.dta"), f.file("p.prg")};
         },
         [&](const std::vector<std::string>&) {
             return "Datenfehler: Fehler in Zeile 1: " + quoted + kEllipsis + " ist keine Zahl!";
         },
         kCheckFailed},
        {"a 1000 character input",
         [&](const TempFolder& f) {
             writeBytes(f.file("p.prg"), "INP\r\nSTP\r\n");
             return std::vector<std::string>{"--input", longText, f.file("p.prg")};
         },
         [&](const std::vector<std::string>&) {
             return "Quarzel 3: '" + quoted + kEllipsis + "' ist kein gültiger Integerwert.";
         },
         kStopReached},
        {"a 1000 character option",
         [&](const TempFolder& f) {
             writeBytes(f.file("p.prg"), "STP\r\n");
             return std::vector<std::string>{"-" + longText, f.file("p.prg")};
         },
         [&](const std::vector<std::string>&) {
             return "quarzel-run: unbekannte Option -" + quoted.substr(1) + kEllipsis + ". " +
                    usageLine();
         },
         kUsageOrFile},
#ifndef _WIN32
        {"a device as the data",
         [](const TempFolder& f) {
             writeBytes(f.file("p.prg"), "STP\r\n");
             return std::vector<std::string>{"--data", "/dev/zero", f.file("p.prg")};
         },
         [](const std::vector<std::string>&) {
             return cannotOpen("/dev/zero", "Sie ist keine gewöhnliche Datei");
         },
         kUsageOrFile},
#endif
    };
    for (const HostileCase& c : cases) {
        TempFolder folder;
        const std::vector<std::string> args = c.prepare(folder);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runCommand(args, out, err), c.status) << c.name;
        EXPECT_EQ(err.str(), c.message(args) + "\n") << c.name;
    }
}

#ifndef _WIN32
// Nobody writes to the pipe: opening it must not wait.
TEST(HostileInputTest, APipeAsTheProgramIsRefusedAtOnce) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "mkfifo on Node's file system makes a plain file, no pipe";
#endif
    TempFolder folder;
    const std::string pipe = folder.file("pipe.prg");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCommand({pipe}, out, err), kUsageOrFile);
    EXPECT_EQ(err.str(), cannotOpen(pipe, "Sie ist keine gewöhnliche Datei") + "\n");
}
#endif

}  // namespace
}  // namespace quarzel::headless
