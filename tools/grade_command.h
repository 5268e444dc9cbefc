// quarzel-grade: grades every learner's program of a class against the cases of a task file.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quarzel::grading {

// Exit statuses of quarzel-grade.
enum GradeStatus : int {
    kGraded = 0,      // grading ran, whatever the scores
    kGradeUsage = 4,  // bad arguments, a task file that is refused, a report that cannot be written
};

struct GradeOptions {
    std::string task;                // UTF-8 paths, as given
    std::vector<std::string> paths;  // programs and folders
    std::optional<std::string> csv;
    std::optional<std::string> html;
    unsigned jobs = 0;  // 0: one per core
    bool help = false;
};

std::string gradeUsageLine();

struct GradeParse {
    std::optional<GradeOptions> options;
    std::string problem;  // German
};
GradeParse parseGradeArguments(const std::vector<std::string>& args);

// The whole command: arguments, task file, grading, console lines and report files.
int gradeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quarzel::grading
