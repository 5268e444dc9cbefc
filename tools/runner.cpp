#include "tools/runner.h"

#include <memory>

#include "common/central_handler.h"
#include "common/quote.h"
#include "files/data_file.h"
#include "files/program_file.h"
#include "files/text_file.h"
#include "grading/headless_views.h"
#include "tools/count_argument.h"
#include "tools/trace_file.h"

namespace quarzel::headless {
namespace {

using grading::CaseEnd;
using grading::CaseInput;
using grading::CaseResult;

// --max-steps takes a number written with up to 18 digits, as it always has.
constexpr std::size_t kStepDigits = 18;

}  // namespace

std::string usageLine() {
    return "Aufruf: quarzel-run [--data DATEI.dta] [--input TEXT]... [--max-steps N] "
           "[--dump DATEI.dta] [--trace DATEI.csv] [--check] [--detect-loops] PROGRAMM.prg";
}

ParseResult parseArguments(const std::vector<std::string>& args) {
    Options options;
    bool haveProgram = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::string& into) -> bool {
            if (i + 1 >= args.size()) {
                return false;
            }
            into = args[++i];
            return true;
        };
        std::string text;
        if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "--check") {
            options.checkOnly = true;
        } else if (arg == "--detect-loops") {
            options.detectLoops = true;
        } else if (arg == "--data" || arg == "--dump" || arg == "--trace") {
            auto& slot = arg == "--data"   ? options.data
                         : arg == "--dump" ? options.dump
                                           : options.trace;
            if (slot) {
                return {std::nullopt, arg + " ist mehrfach angegeben"};
            }
            if (!value(text)) {
                return {std::nullopt, "nach " + arg + " fehlt der Dateiname"};
            }
            slot = text;
        } else if (arg == "--input") {
            if (!value(text)) {
                return {std::nullopt, "nach --input fehlt der Text"};
            }
            options.inputs.push_back(text);
        } else if (arg == "--max-steps") {
            const auto count = value(text) ? parseCount(text, kStepDigits, 0) : std::nullopt;
            if (!count) {
                return {std::nullopt, "--max-steps braucht eine ganze Zahl ab 0"};
            }
            options.maxSteps = *count;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return {std::nullopt, "unbekannte Option " + shortQuoteUtf8(arg)};
        } else if (haveProgram) {
            return {std::nullopt,
                    "mehr als eine Programmdatei angegeben (" + shortQuoteUtf8(arg) + ")"};
        } else {
            options.program = arg;
            haveProgram = true;
        }
    }
    if (!haveProgram && !options.help) {
        return {std::nullopt, "keine Programmdatei angegeben"};
    }
    return {options, ""};
}

int exitStatusOf(const CaseResult& result) {
    switch (result.end) {
        case CaseEnd::Stopped:
        case CaseEnd::CheckPassed:
            return kStopReached;
        case CaseEnd::RunTimeError:
            return kRunFailed;
        case CaseEnd::SystemError:
            return result.ran ? kRunFailed : kCheckFailed;
        case CaseEnd::ProgramCheckFailed:
        case CaseEnd::DataCheckFailed:
            return kCheckFailed;
        case CaseEnd::DataUnreadable:
            return kUsageOrFile;
        case CaseEnd::StepLimit:
            return kStepLimit;
        case CaseEnd::EndlessLoop:
            return kEndlessLoop;
    }
    return kUsageOrFile;
}

int runProgram(const Options& options, std::ostream& out, std::ostream& err) {
    LinePrompts prompts(err);
    CaseInput input;
    if (!guarded(prompts, [&] {
            input.program = readProgramFile(options.program);
            if (options.data) {
                input.data = readDataFileText(*options.data);
            }
        })) {
        return kUsageOrFile;
    }
    input.inputs = options.inputs;
    input.maxSteps = options.maxSteps;
    input.detectLoops = options.detectLoops;
    input.checkOnly = options.checkOnly;
    // A trace target that is no regular file is refused before anything runs.
    std::unique_ptr<TraceFile> trace;
    if (options.trace && !guarded(prompts, [&] {
            trace = std::make_unique<TraceFile>(*options.trace, input.program);
        })) {
        return kUsageOrFile;
    }
    input.trace = trace.get();

    const CaseResult result = grading::runCase(input);
    for (const std::string& line : result.messages) {
        err << line << '\n';
    }
    if (result.ran) {
        const Registers& r = result.registers;
        out << "Akku: " << r.VM_Accu << '\n'
            << "Fenster: " << r.VM_Window << '\n'
            << "Index: " << r.VM_Index << '\n'
            << "Anweisung: " << r.VM_IP << '\n'
            << "Stack: " << r.VM_SP << '\n'
            << "Schritte: " << result.steps << '\n';
    }
    if (!result.ran && result.end != CaseEnd::CheckPassed) {
        return exitStatusOf(result);  // a refused program or data leaves nothing to dump
    }
    if (options.dump &&
        !guarded(prompts, [&] { writeRegularFile(*options.dump, dataFileText(result.table)); })) {
        return kUsageOrFile;
    }
    if (trace && !guarded(prompts, [&] { trace->finish(); })) {
        return kUsageOrFile;
    }
    return exitStatusOf(result);
}

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParseResult parsed = parseArguments(args);
    if (!parsed.options) {
        err << "quarzel-run: " << parsed.problem << ". " << usageLine() << '\n';
        return kUsageOrFile;
    }
    if (parsed.options->help) {
        out << usageLine() << '\n';
        return kStopReached;
    }
    return runProgram(*parsed.options, out, err);
}

}  // namespace quarzel::headless
