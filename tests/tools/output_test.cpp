// Where the headless tools write: a report, a memory dump or a trace only into a regular file or a
// new one, and standard output checked to the end, so that a lost report is never a success.
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

// The program and the task that the tools read.
void putInputs(const TempFolder& folder) {
    writeBytes(folder.file("p.prg"), "STP\r\n");
    writeBytes(folder.file("a.toml"), "[[fall]]\nname = \"A\"\n");
}

// Runs quarzel-run --dump / --trace or quarzel-grade --csv / --html in process, writing
// `target`.
int writeTo(const std::string& option, const TempFolder& folder, const std::string& target,
            std::ostream& err) {
    std::ostringstream out;
    if (option == "--dump" || option == "--trace") {
        return runCommand({option, target, folder.file("p.prg")}, out, err);
    }
    return grading::gradeCommand({option, target, folder.file("a.toml"), folder.file("p.prg")}, out,
                                 err);
}

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

std::string pipe(const TempFolder& folder) {
    const std::string path = folder.file("rohr");
    return ::mkfifo(path.c_str(), 0600) == 0 ? path : "";
}
#endif

TEST(OutputFiles, OnlyARegularFileOrANewOneIsWritten) {
    // Each puts its target in place and returns its path, or "" where it cannot be made here.
    const std::vector<std::function<std::string(const TempFolder&)>> refused = {
        [](const TempFolder& f) {
            fs::create_directory(f.path() / "ordner");
            return f.file("ordner");
        },
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
        pipe,
        [](const TempFolder& f) { return deviceNode(f, "null", 3); },
        [](const TempFolder& f) { return deviceNode(f, "full", 7); },
        [](const TempFolder& f) {
            std::error_code error;
            fs::create_symlink(pipe(f), f.path() / "link", error);
            return error ? "" : f.file("link");
        },
#endif
    };
    for (const std::string option : {"--dump", "--trace", "--csv", "--html"}) {
        const std::string caption =
            option == "--dump" || option == "--trace" ? "Quarzel 3: " : "quarzel-grade: ";
        for (const auto& make : refused) {
            TempFolder folder;
            const std::string path = make(folder);
            if (path.empty()) {
                std::cout << "not made here: target " << (&make - refused.data()) << "\n";
                continue;
            }
            putInputs(folder);
            const fs::file_type type = fs::symlink_status(fs::u8path(path)).type();
            const auto before = folder.entries();
            std::ostringstream err;
            EXPECT_EQ(writeTo(option, folder, path, err), 4) << path;
            EXPECT_NE(
                err.str().find(caption + "Datei " + path + " kann nicht geschrieben werden.\n"),
                std::string::npos)
                << err.str();
            EXPECT_EQ(fs::symlink_status(fs::u8path(path)).type(), type) << path;
            EXPECT_EQ(folder.entries(), before) << path;
        }
        TempFolder folder;
        putInputs(folder);
        writeBytes(folder.file("alt"), "alt");
        std::ostringstream err;
        EXPECT_EQ(writeTo(option, folder, folder.file("alt"), err), 0) << err.str();
        EXPECT_NE(readBytes(folder.file("alt")), "alt");
    }
}

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
enum class Stdout { Closed, Full, File };

// Starts the tool with standard output closed, on /dev/full or on a file, and standard error
// in a file; returns its exit status, with what it wrote to standard error.
int spawn(const std::string& tool, std::vector<std::string> args, Stdout out,
          const TempFolder& folder, std::string& err) {
    args.insert(args.begin(), tool);
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const std::string errPath = folder.file("stderr.txt");
    const std::string outPath = out == Stdout::Full ? "/dev/full" : folder.file("stdout.txt");
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        if (out == Stdout::Closed) {
            ::close(1);
        } else {
            ::dup2(::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        }
        ::execv(tool.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    const bool exited = child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status);
    err = readBytes(errPath);
    return exited ? WEXITSTATUS(status) : -1;
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
    const std::string p = folder.file("p.prg");
    const std::string endless = folder.file("endlos.prg");
    const std::string a = folder.file("a.toml");
    writeBytes(p, "STP\r\n");
    writeBytes(endless, "MRK A\r\nJMP A\r\nSTP\r\n");
    std::string task;
    for (int i = 0; i < 200; ++i) {  // more failed cases than one buffer of output holds
        task += "[[fall]]\nname = \"F" + std::to_string(i) + "\"\n[fall.erwartet]\nakku = 1\n";
    }
    writeBytes(a, task);
    const std::string run = QUARZEL_RUN_PATH;
    const std::string grade = QUARZEL_GRADE_PATH;
    const struct {
        std::string tool;
        std::vector<std::string> args;
        Stdout out;
        int status;
    } rows[] = {
        {run, {p}, Stdout::Closed, 4},
        {run, {p}, Stdout::Full, 4},
        {run, {"--max-steps", "5", endless}, Stdout::Full, 4},  // not 3: the registers are lost
        {run, {"--check", p}, Stdout::Closed, 0},               // nothing to write, nothing lost
        {run, {p}, Stdout::File, 0},
        {grade, {a, p}, Stdout::Closed, 4},
        {grade, {a, p}, Stdout::Full, 4},
        {grade, {a, p, endless}, Stdout::Full, 4},
        {grade, {a, p}, Stdout::File, 0},
    };
    for (const auto& row : rows) {
        std::string err;
        const int status = spawn(row.tool, row.args, row.out, folder, err);
        const std::string what = row.tool + " " + row.args.back() + " " +
                                 std::to_string(static_cast<int>(row.out)) + "\n" + err;
        EXPECT_EQ(status, row.status) << what;
        const std::string message = fs::path(row.tool).filename().string() +
                                    ": Die Standardausgabe kann nicht geschrieben werden.";
        EXPECT_EQ(err.find(message) != std::string::npos, row.status != 0) << what;
    }
#endif
}

}  // namespace
}  // namespace quarzel::headless
