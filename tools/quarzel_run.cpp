// quarzel-run: the headless runner. See `quarzel-run --help` and the README.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/runner.h"
#include "tools/standard_output.h"
#include "tools/utf8_args.h"

int main(int argc, char** argv) {
    quarzel::headless::prepareProcess();
    const std::vector<std::string> args = quarzel::headless::utf8Arguments(argc, argv);
    int status = quarzel::headless::kUsageOrFile;
    try {
        status = quarzel::headless::runCommand(args, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "quarzel-run: interner Fehler: " << error.what() << '\n';
    }
    return quarzel::headless::closeStandardOutput("quarzel-run", status,
                                                  quarzel::headless::kUsageOrFile);
}
