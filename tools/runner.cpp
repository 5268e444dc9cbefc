#include "runner.h"

#include <deque>
#include <exception>

#include "common/central_handler.h"
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
           "[--dump DATEI.dta] [--check] PROGRAMM.prg";
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
            return {std::nullopt, "unbekannte Option " + arg};
        } else if (haveProgram) {
            return {std::nullopt, "mehr als eine Programmdatei angegeben (" + arg + ")"};
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

int runProgram(const Options& options, std::ostream& out, std::ostream& err) {
    std::deque<std::string> inputs;
    for (const std::string& text : options.inputs) {
        inputs.push_back(fromUtf8(text));
    }
    Session session(err, std::move(inputs));
    Workbench& bench = session.bench;
    PromptView& prompts = session.prompts;

    if (!handle(prompts, [&] {
            session.editor.setText(readProgramFile(options.program));
            if (options.data) {
                readDataFile(*options.data, bench.table);
            }
        })) {
        return kUsageOrFile;
    }

    // The first two presses of "Start" check the program and then the data.
    handle(prompts, [&] { bench.runControl.btRunClick(); });
    if (!bench.flags.ProgramChecked) {
        return kCheckFailed;
    }
    handle(prompts, [&] { bench.runControl.btRunClick(); });
    if (!bench.flags.DataChecked) {
        return kCheckFailed;
    }

    int status = kStopReached;
    if (!options.checkOnly) {
        handle(prompts, [&] { bench.runControl.btRunClick(); });  // the third one starts
        const MachineState& machine = bench.machine;
        RunControl::HeadlessResult result;
        handle(prompts, [&] { result = bench.runControl.runHeadless({options.maxSteps, false}); });
        switch (result.outcome.end) {
            case StepEnd::RunTimeError:
            case StepEnd::SystemError:
                status = kRunFailed;
                break;
            case StepEnd::StepLimit:
                err << "Quarzel 3: Schrittgrenze erreicht.\n";
                status = kStepLimit;
                break;
            case StepEnd::EndlessLoop:
            case StepEnd::Continued:
            case StepEnd::Stopped:
                break;
        }
        out << "Akku: " << machine.VM_Accu << '\n'
            << "Fenster: " << machine.VM_Window << '\n'
            << "Index: " << machine.VM_Index << '\n'
            << "Anweisung: " << machine.VM_IP << '\n'
            << "Stack: " << machine.VM_SP << '\n'
            << "Schritte: " << machine.StepCount << '\n';
    }

    if (options.dump && !handle(prompts, [&] { writeDataFile(*options.dump, bench.table); })) {
        return kUsageOrFile;
    }
    return status;
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
