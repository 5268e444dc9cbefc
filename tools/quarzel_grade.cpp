// quarzel-grade: grades a class's programs against a task file. See `quarzel-grade --help`
// and the README.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/grade_command.h"
#include "tools/standard_output.h"
#include "tools/utf8_args.h"

int main(int argc, char** argv) {
    quarzel::headless::prepareProcess();
    const std::vector<std::string> args = quarzel::headless::utf8Arguments(argc, argv);
    int status = quarzel::grading::kGradeUsage;
    try {
        status = quarzel::grading::gradeCommand(args, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "quarzel-grade: interner Fehler: " << error.what() << '\n';
    }
    return quarzel::headless::closeStandardOutput("quarzel-grade", status,
                                                  quarzel::grading::kGradeUsage);
}
