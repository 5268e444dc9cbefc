// The task file of quarzel-grade: a TOML file with the title, the step limit and the cases a
// learner's program is graded against, read and checked completely before anything runs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/views.h"
#include "machine/run_loop.h"
#include "model/machine_state.h"

namespace quarzel::grading {

// The registers a case may check, in the order they are reported.
struct RegisterCheck {
    const char* key;    // the task file's key
    const char* label;  // as quarzel-run names it
    std::int32_t Registers::*field;
};
inline constexpr std::array<RegisterCheck, 5> kRegisterChecks = {{
    {"akku", "Akku", &Registers::VM_Accu},
    {"fenster", "Fenster", &Registers::VM_Window},
    {"index", "Index", &Registers::VM_Index},
    {"anweisung", "Anweisung", &Registers::VM_IP},
    {"stack", "Stack", &Registers::VM_SP},
}};

struct Expectation {
    std::string end = "STP";  // UTF-8: "STP" or the message line the run ends with
    std::array<std::optional<std::int32_t>, kRegisterChecks.size()> registers;
    std::vector<std::pair<int, std::string>> cells;  // cell 1..512 -> value text (UTF-8)
};

struct TaskCase {
    std::string name;                 // UTF-8
    std::optional<std::string> data;  // the data file's text, as readDataFileText gives it
    std::vector<std::pair<int, std::string>> start;  // "anfang": cell 1..512 -> value (UTF-8)
    std::vector<std::string> inputs;                 // UTF-8, typed for INP in order
    std::int64_t points = 1;
    Expectation expected;
};

struct Task {
    std::string title;  // UTF-8; the task file's name without extension when it has none
    std::uint64_t stepLimit = kDefaultStepLimit;
    std::vector<TaskCase> cases;

    std::int64_t totalPoints() const;
};

// Either the task or the German message (UTF-8) that names the file, the line and the key.
struct TaskLoad {
    std::optional<Task> task;
    std::string problem;
};

// The largest task file that is read. Sixty cases that each write out all 512 start and all
// 512 expected cells still fit, and the parsed file stays small in the page's memory (about
// 20 MB at quarzel-grade's peak); the page's file picker reads no more of a task file than this
// and one byte.
inline constexpr std::size_t kMaxTaskFileBytes = std::size_t{1024} * 1024;

// The text of the task file at `path` (UTF-8), or why it is refused (UTF-8): it cannot be read,
// or it has more than kMaxTaskFileBytes bytes ("Datei %s ist zu groß für eine Aufgabendatei
// (höchstens 1 MiB)").
struct TaskText {
    std::optional<std::string> text;
    std::string problem;
};
TaskText readTaskFile(const std::string& path);

// Where a data file is read from, by the name the task writes for it, when it does not lie
// beside the task file (a browser hands over files, not folders); a name not listed is read
// relative to the task file's folder.
using DataFilePlaces = std::map<std::string, std::string>;

// Reads the task file at `path` (UTF-8) and every data file it names, relative to its folder
// or from `places`.
TaskLoad loadTask(const std::string& path, const DataFilePlaces& places = {});

// What a task panel's "Laden…" offers to open, and the caption of the box that shows why a
// task file is refused.
inline const FileFilter kTaskFileFilter{"Quarzel-Aufgabe (*.toml)", "*.toml"};
inline constexpr char kTaskBoxCaption[] = "Aufgabe";

// The same for a text already read; `path` is named in messages and locates the data files.
TaskLoad parseTask(std::string_view text, const std::string& path,
                   const DataFilePlaces& places = {});

// The data files that the cases of a task text name ("daten"), each once, in the order they
// first appear; none when the text is no TOML. A page that has no folder beside the task file
// asks the user for these before parseTask reads them.
std::vector<std::string> taskDataNames(std::string_view text);
// Where parseTask looks for the data file `name` of the task file at `taskPath` (UTF-8).
std::string taskDataPath(const std::string& taskPath, const std::string& name);

}  // namespace quarzel::grading
