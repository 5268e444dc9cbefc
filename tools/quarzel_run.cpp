// quarzel-run: the headless runner. See `quarzel-run --help` and the README.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "runner.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return quarzel::headless::runCommand(args, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "quarzel-run: interner Fehler: " << error.what() << '\n';
        return quarzel::headless::kUsageOrFile;
    }
}
