#include "grading/case_run.h"

#include <deque>
#include <sstream>

#include "common/central_handler.h"
#include "common/system_error.h"
#include "common/win1252.h"
#include "files/data_file.h"
#include "grading/case_end_text.h"
#include "grading/headless_views.h"
#include "session/workbench.h"

namespace quarzel::grading {
namespace {

using headless::LinePrompts;

// All views of one headless session, wired like the main window wires its widgets.
struct Session {
    Session(std::ostream& err, std::deque<std::string> inputs)
        : prompts(err), numberInput(std::move(inputs)) {}

    headless::TextEditor editor;
    headless::SilentGrid grid;
    headless::SilentPicture picture;
    headless::SilentRegisters registers;
    headless::SilentRunPanel runPanel;
    LinePrompts prompts;
    headless::ScriptedNumberInput numberInput;
    Workbench bench{Views{editor, grid, picture, registers, runPanel, prompts, numberInput}};
};

}  // namespace

void fillStartTable(DataTable& table, const std::optional<std::string>& data,
                    const std::vector<std::pair<int, std::string>>& cells) {
    if (data) {
        applyDataFileText(*data, table);
    }
    for (const auto& [cell, value] : cells) {
        table.setValue(cell - 1, value.empty() ? std::string("0") : value);
    }
}

CaseResult runCase(const CaseInput& input) {
    std::deque<std::string> inputs;
    for (const std::string& text : input.inputs) {
        inputs.push_back(fromUtf8(text));
    }
    std::ostringstream lines;
    Session session(lines, std::move(inputs));
    Workbench& bench = session.bench;
    LinePrompts& prompts = session.prompts;
    CaseResult result;
    result.stepLimit = input.maxSteps;
    const auto finish = [&](CaseEnd end, std::string message = "") {
        result.end = end;
        result.message = std::move(message);
        if (end == CaseEnd::StepLimit || end == CaseEnd::EndlessLoop) {
            lines << endText(result) << '\n';
        }
        std::istringstream in(lines.str());
        for (std::string line; std::getline(in, line);) {
            result.messages.push_back(line);
        }
        result.table = bench.table();
        result.table.attachGrid(nullptr);  // the copy outlives the session's grid
        return result;
    };

    session.editor.setText(input.program);
    // The start memory goes in as a task's case is taken over; a data file that breaks off
    // leaves what was read before the bad line.
    DataTable start;
    const bool readable = guarded(prompts, [&] { fillStartTable(start, input.data, input.cells); });
    bench.takeOverData(start);
    if (!readable) {
        return finish(CaseEnd::DataUnreadable, prompts.lastText());
    }

    // The first two presses of "Start" check the program and then the data.
    const auto press = [&](CaseEnd failed, bool StateFlags::*passed) {
        const bool handled = bench.btRunClick();
        if (bench.flags().*passed) {
            return true;
        }
        finish(handled ? failed : CaseEnd::SystemError, prompts.lastText());
        return false;
    };
    if (!press(CaseEnd::ProgramCheckFailed, &StateFlags::ProgramChecked) ||
        !press(CaseEnd::DataCheckFailed, &StateFlags::DataChecked)) {
        return result;
    }
    if (input.checkOnly) {
        return finish(CaseEnd::CheckPassed);
    }

    result.ran = true;
    RunLoopResult run;
    const bool handled =
        bench.btRunClick() &&  // the third press starts
        guarded(prompts, [&] {
            run = bench.runHeadless({input.maxSteps, input.detectLoops, input.trace});
        });
    const MachineState& machine = bench.machine();
    result.registers = machine;
    result.steps = machine.StepCount;
    if (!handled) {
        return finish(CaseEnd::SystemError, prompts.lastText());
    }
    switch (run.outcome.end) {
        case StepEnd::RunTimeError:
            return finish(CaseEnd::RunTimeError, toUtf8(run.outcome.message));
        case StepEnd::SystemError:
            return finish(CaseEnd::SystemError, toUtf8(centralHandlerText(run.outcome.message)));
        case StepEnd::StepLimit:
            return finish(CaseEnd::StepLimit);
        case StepEnd::EndlessLoop:
            result.loopLine = run.loopLine;
            return finish(CaseEnd::EndlessLoop);
        case StepEnd::Continued:
        case StepEnd::Stopped:
            break;
    }
    return finish(CaseEnd::Stopped);
}

}  // namespace quarzel::grading
