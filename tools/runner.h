// quarzel-run: checks and runs a program file headless, on the same core as the window.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "model/data_table.h"
#include "model/machine_state.h"

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

inline constexpr std::uint64_t kDefaultMaxSteps = 1000000;

struct Options {
    std::string program;  // UTF-8 paths, as given
    std::optional<std::string> data;
    std::optional<std::string> dump;
    std::vector<std::string> inputs;  // UTF-8, one per INP in order
    std::uint64_t maxSteps = kDefaultMaxSteps;
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

// One case: everything a run needs, already in memory.
struct CaseInput {
    std::string program;              // Windows-1252, CR LF breaks, as readProgramFile gives it
    std::optional<std::string> data;  // as readDataFileText gives it; none: every cell "0"
    std::vector<std::string> inputs;  // UTF-8, one per INP in order
    std::uint64_t maxSteps = kDefaultMaxSteps;
    bool detectLoops = false;
    bool checkOnly = false;
};

enum class CaseEnd {
    Stopped,         // STP reached
    CheckPassed,     // checkOnly: both checks passed, nothing ran
    RunFailed,       // a run-time error or the central handler ended the run
    CheckFailed,     // the program or the data check failed; nothing ran
    DataUnreadable,  // the data text is no data file; nothing was checked
    StepLimit,
    EndlessLoop,
};

struct CaseResult {
    CaseEnd end = CaseEnd::Stopped;
    // Every message box of the case as quarzel-run prints it: "CAPTION: TEXT" in UTF-8, the
    // step limit and endless loop lines included.
    std::vector<std::string> messages;
    bool ran = false;  // the program was started: the registers below are a run's
    Registers registers;
    std::uint64_t steps = 0;
    std::int32_t loopLine = 0;  // EndlessLoop: the program line, counted from 1
    DataTable table;            // the memory table at the end, comments included
};

// Runs one case on a workbench of its own; safe to call from several threads at once.
CaseResult runCase(const CaseInput& input);

// quarzel-run's exit status for a case that ended this way.
int exitStatusOf(CaseEnd end);

// The line printed when a run was found in an endless loop.
std::string endlessLoopLine(std::int32_t loopLine);

// Checks the program and the data and, unless checkOnly, runs the program; registers go to
// `out`, every message box to `err`. Returns the exit status.
int runProgram(const Options& options, std::ostream& out, std::ostream& err);

// parseArguments, then runProgram; the whole command.
int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quarzel::headless
