// quarzel-run: its arguments and its output; the case itself runs in grading/case_run.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "grading/case_run.h"

namespace quarzel::headless {

// Exit statuses of quarzel-run.
enum ExitStatus : int {
    kStopReached = 0,  // STP reached, or --check passed
    kRunFailed = 1,    // a run-time error or an error of the central handler ended the run
    kCheckFailed = 2,  // the program or the data check failed
    kStepLimit = 3,    // --max-steps steps without STP
    kUsageOrFile = 4,  // bad arguments, or a file that cannot be read or written
    kEndlessLoop = 5,  // --detect-loops: the run came back to a state it had been in before
};

struct Options {
    std::string program;  // UTF-8 paths, as given
    std::optional<std::string> data;
    std::optional<std::string> dump;
    std::optional<std::string> trace;
    std::vector<std::string> inputs;  // UTF-8, one per INP in order
    std::uint64_t maxSteps = kDefaultStepLimit;
    bool checkOnly = false;
    bool detectLoops = false;
    bool help = false;
};

// The one usage line.
std::string usageLine();

// Reads the arguments after the program name. A problem is returned as its German message.
struct ParseResult {
    std::optional<Options> options;
    std::string problem;
};
ParseResult parseArguments(const std::vector<std::string>& args);

// quarzel-run's exit status for a case that ended this way.
int exitStatusOf(const grading::CaseResult& result);

// Checks the program and the data and, unless checkOnly, runs the program; registers go to
// `out`, every message box to `err`. Returns the exit status.
int runProgram(const Options& options, std::ostream& out, std::ostream& err);

// parseArguments, then runProgram; the whole command.
int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quarzel::headless
