// The grader's task file on arbitrary bytes. Whatever the text, reading it ends with either a
// task or one message that names the file, and a task it accepts is one the grader can use
// without further checks: named, distinct cases, cells in 1..512 in order, bounded points.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "fuzz_check.h"
#include "grading/task_file.h"
#include "model/machine_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarzel::grading;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (text.find("daten") != std::string::npos) {
        return 0;  // data files are the file system's business, not the parser's
    }
    const TaskLoad load = parseTask(text, "a.toml");
    FUZZ_CHECK(load.task.has_value() == load.problem.empty());
    if (!load.task) {
        FUZZ_CHECK(load.problem.rfind("a.toml", 0) == 0);
        return 0;
    }
    FUZZ_CHECK(!load.task->cases.empty());
    std::set<std::string> names;
    for (const TaskCase& c : load.task->cases) {
        FUZZ_CHECK(names.insert(c.name).second);
        FUZZ_CHECK(c.points >= 0 && c.points <= 1000000);
        FUZZ_CHECK(!c.data);
        int previous = 0;
        for (const auto& [cell, value] : c.expected.cells) {
            FUZZ_CHECK(cell > previous && cell <= quarzel::kCellCount);
            previous = cell;
        }
    }
    return 0;
}
