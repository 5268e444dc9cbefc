// quarzel-grade: grades a class's programs against a task file. See `quarzel-grade --help`
// and the README.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "grade_command.h"

int main(int argc, char** argv) {
    // Plain conversion of the arguments; on Windows they should come through the same UTF-8
    // helper as quarzel-run's once that is available.
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return quarzel::grading::gradeCommand(args, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "quarzel-grade: interner Fehler: " << error.what() << '\n';
        return quarzel::grading::kGradeUsage;
    }
}
