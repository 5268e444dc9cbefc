// Where the headless tools write: a report or a memory dump only into a regular file or a new
// one, and standard output checked to the end, so that a lost report is never a success.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "tools/grade_command.h"
#include "tools/runner.h"

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
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

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
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

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
enum class Stdout { Closed, Full, File };

struct Spawned {
    int status = -1;
    std::string err;
};

// Starts the tool with standard output closed, on /dev/full or on a file, standard error in a
// file; returns its exit status and what it wrote to standard error.
Spawned spawn(const std::string& tool, const std::vector<std::string>& args, Stdout out,
              const TempFolder& folder) {
    const std::string errPath = folder.file("stderr.txt");
    const std::string outPath = folder.file("stdout.txt");
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(tool.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(err, 2);
        ::close(err);
        if (out == Stdout::Closed) {
            ::close(1);
        } else {
            const int fd = ::open(out == Stdout::Full ? "/dev/full" : outPath.c_str(),
                                  O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(fd, 1);
            ::close(fd);
        }
        ::execv(tool.c_str(), argv.data());
        ::_exit(127);
    }
    Spawned result;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
        result.status = WEXITSTATUS(status);
    }
    result.err = readBytes(errPath);
    return result;
}
#endif

TEST(StandardOutput, AReportThatCannotBeWrittenIsAFailure) {
#ifdef _WIN32
    GTEST_SKIP() << "standard output is closed and pointed at /dev/full only on Unix";
#elif defined(__EMSCRIPTEN__)
    GTEST_SKIP() << "Node starts no child processes for the test";
#else
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "this system has no /dev/full";
    }
    TempFolder folder;
    writeBytes(folder.file("p.prg"), "STP\r\n");
    writeBytes(folder.file("endlos.prg"), "MRK A\r\nJMP A\r\nSTP\r\n");
    std::string task;
    for (int i = 0; i < 200; ++i) {  // more failed cases than one buffer of output holds
        task += "[[fall]]\nname = \"Fall " + std::to_string(i) + "\"\n[fall.erwartet]\nakku = 1\n";
    }
    writeBytes(folder.file("a.toml"), task);
    const std::string run = QUARZEL_RUN_PATH;
    const std::string grade = QUARZEL_GRADE_PATH;
    const std::string p = folder.file("p.prg");
    const std::string a = folder.file("a.toml");
    const struct {
        std::string tool;
        std::vector<std::string> args;
        Stdout out;
        int status;
    } rows[] = {
        {run, {p}, Stdout::Closed, 4},
        {run, {p}, Stdout::Full, 4},
        {run, {"--max-steps", "5", folder.file("endlos.prg")}, Stdout::Full, 4},
        {run, {"--help"}, Stdout::Full, 4},
        {run, {"--check", p}, Stdout::Closed, 0},  // nothing to write, nothing lost
        {run, {p}, Stdout::File, 0},
        {grade, {a, p}, Stdout::Closed, 4},
        {grade, {a, p}, Stdout::Full, 4},
        {grade, {a, p, folder.file("endlos.prg")}, Stdout::Full, 4},
        {grade, {a, p}, Stdout::File, 0},
    };
    for (const auto& row : rows) {
        const Spawned spawned = spawn(row.tool, row.args, row.out, folder);
        const std::string what =
            row.tool + " " + row.args.back() + " " + std::to_string(static_cast<int>(row.out));
        EXPECT_EQ(spawned.status, row.status) << what << "\n" << spawned.err;
        const std::string name = fs::path(row.tool).filename().string();
        const std::string message = name + ": Die Standardausgabe kann nicht geschrieben werden.";
        if (row.status == 0) {
            EXPECT_EQ(spawned.err.find(message), std::string::npos) << what << spawned.err;
        } else {
            EXPECT_NE(spawned.err.find(message), std::string::npos) << what << spawned.err;
        }
    }
#endif
}

}  // namespace
}  // namespace quarzel::headless
