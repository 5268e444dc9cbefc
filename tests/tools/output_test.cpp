// Where the headless tools write: a report or a memory dump only into a regular file or a new
// one.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "tools/grade_command.h"
#include "tools/runner.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace quarzel::headless {
namespace {

namespace fs = std::filesystem;
using quarzel::testing::readBytes;
using quarzel::testing::TempFolder;
using quarzel::testing::writeBytes;

enum class Tool { RunDump, GradeCsv, GradeHtml };

// The program and the task that the tool reads.
void putInputs(const TempFolder& folder) {
    writeBytes(folder.file("p.prg"), "STP\r\n");
    writeBytes(folder.file("a.toml"), "[[fall]]\nname = \"A\"\n");
}

// Runs the tool in process with `target` as the file it writes; returns the exit status.
int writeTo(Tool tool, const TempFolder& folder, const std::string& target, std::string& err) {
    std::ostringstream out, errors;
    int status = 0;
    switch (tool) {
        case Tool::RunDump:
            status = runCommand({"--dump", target, folder.file("p.prg")}, out, errors);
            break;
        case Tool::GradeCsv:
        case Tool::GradeHtml:
            status = grading::gradeCommand({tool == Tool::GradeCsv ? "--csv" : "--html", target,
                                            folder.file("a.toml"), folder.file("p.prg")},
                                           out, errors);
            break;
    }
    err = errors.str();
    return status;
}

struct Target {
    const char* name;
    // Puts the target in place and returns its path, or "" where this system cannot make it.
    std::function<std::string(const TempFolder&)> make;
};

#ifndef _WIN32
// The null or full device. Root gets a node of its own in the folder, so that a fault can never
// replace the system's; anyone else may use the system's, since /dev takes no file from them.
std::string deviceNode(const TempFolder& folder, const char* name, unsigned minor) {
    const std::string path = folder.file(name);
    if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, minor)) == 0) {
        return path;
    }
    return ::geteuid() != 0 ? "/dev/" + std::string(name) : "";
}
#endif

TEST(OutputFiles, OnlyARegularFileOrANewOneIsWritten) {
    const Target refused[] = {
        {"a folder",
         [](const TempFolder& f) {
             fs::create_directory(f.path() / "ordner");
             return f.file("ordner");
         }},
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
        {"a pipe",
         [](const TempFolder& f) {
             const std::string path = f.file("rohr");
             return ::mkfifo(path.c_str(), 0600) == 0 ? path : "";
         }},
        {"a null device", [](const TempFolder& f) { return deviceNode(f, "null", 3); }},
        {"a full device", [](const TempFolder& f) { return deviceNode(f, "full", 7); }},
        {"a link to a pipe",
         [](const TempFolder& f) {
             const std::string path = f.file("rohr");
             if (::mkfifo(path.c_str(), 0600) != 0) {
                 return std::string();
             }
             fs::create_symlink("rohr", f.path() / "link");
             return f.file("link");
         }},
#endif
    };
    for (const Tool tool : {Tool::RunDump, Tool::GradeCsv, Tool::GradeHtml}) {
        const std::string caption = tool == Tool::RunDump ? "Quarzel 3: " : "quarzel-grade: ";
        for (const Target& target : refused) {
            TempFolder folder;
            putInputs(folder);
            const std::string path = target.make(folder);
            if (path.empty()) {
                std::cout << "not made here: " << target.name << "\n";
                continue;
            }
            const fs::file_type type = fs::symlink_status(fs::u8path(path)).type();
            const auto before = folder.entries();
            std::string err;
            EXPECT_EQ(writeTo(tool, folder, path, err), 4) << target.name;
            EXPECT_NE(err.find(caption + "Datei " + path + " kann nicht geschrieben werden.\n"),
                      std::string::npos)
                << target.name << ": " << err;
            EXPECT_EQ(fs::symlink_status(fs::u8path(path)).type(), type) << target.name;
            EXPECT_EQ(folder.entries(), before) << target.name;
        }

        // A regular file is replaced, a new one made.
        TempFolder folder;
        putInputs(folder);
        std::string err;
        writeBytes(folder.file("alt"), "alt");
        EXPECT_EQ(writeTo(tool, folder, folder.file("alt"), err), 0) << err;
        EXPECT_NE(readBytes(folder.file("alt")), "alt");
        EXPECT_EQ(writeTo(tool, folder, folder.file("neu"), err), 0) << err;
        EXPECT_TRUE(fs::is_regular_file(folder.path() / "neu"));
    }
}

}  // namespace
}  // namespace quarzel::headless
