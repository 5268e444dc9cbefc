#include "runner.h"

#include <deque>
#include <exception>
#include <sstream>

#include "common/central_handler.h"
#include "common/quote.h"
#include "common/system_error.h"
#include "common/win1252.h"
#include "files/data_file.h"
#include "files/program_file.h"
#include "headless_views.h"
#include "session/workbench.h"

namespace quarzel::headless {
namespace {

bool parseCount(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text.size() > 18) {  // 18 digits never overflow 64 bits
        return false;
    }
    std::uint64_t result = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        result = result * 10 + static_cast<std::uint64_t>(c - '0');
    }
    value = result;
    return true;
}

// All views of one headless session, wired like the main window wires its widgets.
struct Session {
    Session(std::ostream& err, std::deque<std::string> inputs)
        : prompts(err), numberInput(prompts, std::move(inputs)) {
        editor.onChange = [this] { bench.flags.meProgramChange(); };
        numberInput.bind(bench.input);
    }

    TextEditor editor;
    SilentGrid grid;
    SilentPicture picture;
    SilentRegisters registers;
    SilentRunPanel runPanel;
    LinePrompts prompts;
    ScriptedNumberInput numberInput;
    Workbench bench{Views{editor, grid, picture, registers, runPanel, prompts, numberInput}};
};

// Runs one handler the way the window does; false when the central handler had to show an
// error.
template <typename Handler>
bool handle(PromptView& prompts, Handler&& handler) {
    try {
        handler();
        return true;
    } catch (const SystemError& error) {
        showSystemError(prompts, error);
        return false;
    }
}

}  // namespace

std::string usageLine() {
    return "Aufruf: quarzel-run [--data DATEI.dta] [--input TEXT]... [--max-steps N] "
           "[--dump DATEI.dta] [--check] [--detect-loops] PROGRAMM.prg";
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
        } else if (arg == "--data" || arg == "--dump") {
            auto& slot = arg == "--data" ? options.data : options.dump;
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
            if (!value(text) || !parseCount(text, options.maxSteps)) {
                return {std::nullopt, "--max-steps braucht eine ganze Zahl ab 0"};
            }
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

CaseResult runCase(const CaseInput& input) {
    std::deque<std::string> inputs;
    for (const std::string& text : input.inputs) {
        inputs.push_back(fromUtf8(text));
    }
    std::ostringstream lines;
    Session session(lines, std::move(inputs));
    Workbench& bench = session.bench;
    PromptView& prompts = session.prompts;
    CaseResult result;
    const auto finish = [&](CaseEnd end) {
        result.end = end;
        std::istringstream in(lines.str());
        for (std::string line; std::getline(in, line);) {
            result.messages.push_back(line);
        }
        result.table = bench.table;
        result.table.attachGrid(nullptr);  // the copy outlives the session's grid
        return result;
    };

    session.editor.setText(input.program);
    if (input.data && !handle(prompts, [&] { applyDataFileText(*input.data, bench.table); })) {
        return finish(CaseEnd::DataUnreadable);
    }

    // The first two presses of "Start" check the program and then the data.
    handle(prompts, [&] { bench.runControl.btRunClick(); });
    if (!bench.flags.ProgramChecked) {
        return finish(CaseEnd::CheckFailed);
    }
    handle(prompts, [&] { bench.runControl.btRunClick(); });
    if (!bench.flags.DataChecked) {
        return finish(CaseEnd::CheckFailed);
    }
    if (input.checkOnly) {
        return finish(CaseEnd::CheckPassed);
    }

    handle(prompts, [&] { bench.runControl.btRunClick(); });  // the third one starts
    RunLoopResult run;
    handle(prompts, [&] {
        run = bench.runControl.runHeadless({input.maxSteps, input.detectLoops});
    });
    const MachineState& machine = bench.machine;
    result.ran = true;
    result.registers = machine;
    result.steps = machine.StepCount;
    CaseEnd end = CaseEnd::Stopped;
    switch (run.outcome.end) {
        case StepEnd::RunTimeError:
        case StepEnd::SystemError:
            end = CaseEnd::RunFailed;
            break;
        case StepEnd::StepLimit:
            lines << "Quarzel 3: Schrittgrenze erreicht.\n";
            end = CaseEnd::StepLimit;
            break;
        case StepEnd::EndlessLoop:
            if (input.detectLoops) {
                lines << endlessLoopLine(run.loopLine) << '\n';
                result.loopLine = run.loopLine;
                end = CaseEnd::EndlessLoop;
            }
            break;
        case StepEnd::Continued:
        case StepEnd::Stopped:
            break;
    }
    return finish(end);
}

int exitStatusOf(CaseEnd end) {
    switch (end) {
        case CaseEnd::Stopped:
        case CaseEnd::CheckPassed:
            return kStopReached;
        case CaseEnd::RunFailed:
            return kRunFailed;
        case CaseEnd::CheckFailed:
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

std::string endlessLoopLine(std::int32_t loopLine) {
    return "Quarzel 3: Endlosschleife ab Zeile " + std::to_string(loopLine) + " erkannt.";
}

int runProgram(const Options& options, std::ostream& out, std::ostream& err) {
    LinePrompts prompts(err);
    CaseInput input;
    if (!handle(prompts, [&] {
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

    const CaseResult result = runCase(input);
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
    if (result.end == CaseEnd::DataUnreadable || result.end == CaseEnd::CheckFailed) {
        return exitStatusOf(result.end);
    }
    if (options.dump && !handle(prompts, [&] { writeDataFile(*options.dump, result.table); })) {
        return kUsageOrFile;
    }
    return exitStatusOf(result.end);
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
