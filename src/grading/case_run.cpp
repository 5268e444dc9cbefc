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
using headless::LinePrompts;

// All views of one headless session, wired like the main window wires its widgets.
struct CaseRun::Session {
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
    CaseRun run(input);
    run.advance(UINT64_MAX);  // one part: never paused
    return run.result();
}

CaseRun::CaseRun(const CaseInput& input) : m_input(input) {
    std::deque<std::string> inputs;
    for (const std::string& text : input.inputs) {
        inputs.push_back(fromUtf8(text));
    }
    m_session = std::make_unique<Session>(m_lines, std::move(inputs));
    Workbench& bench = m_session->bench;
    LinePrompts& prompts = m_session->prompts;
    m_result.stepLimit = input.maxSteps;

    m_session->editor.setText(input.program);
    // The start memory goes in as a task's case is taken over; a data file that breaks off
    // leaves what was read before the bad line.
    DataTable start;
    const bool readable = guarded(prompts, [&] { fillStartTable(start, input.data, input.cells); });
    bench.takeOverData(start);
    if (!readable) {
        finish(CaseEnd::DataUnreadable, prompts.lastText());
        return;
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
        return;
    }
    if (input.checkOnly) {
        finish(CaseEnd::CheckPassed);
        return;
    }
    m_result.ran = true;
    if (!bench.btRunClick()) {  // the third press starts
        m_result.registers = bench.machine();
        m_result.steps = bench.machine().StepCount;
        finish(CaseEnd::SystemError, prompts.lastText());
    }
}

CaseRun::~CaseRun() = default;

bool CaseRun::advance(std::uint64_t steps) {
    if (m_finished) {
        return true;
    }
    Workbench& bench = m_session->bench;
    const MachineState& machine = bench.machine();
    const std::uint64_t pauseAt =
        machine.StepCount > UINT64_MAX - steps ? UINT64_MAX : machine.StepCount + steps;
    RunLoopResult run;
    const bool handled = guarded(m_session->prompts, [&] {
        run =
            bench.runHeadlessPart({m_input.maxSteps, m_input.detectLoops, m_input.trace}, pauseAt);
    });
    m_result.registers = machine;
    m_result.steps = machine.StepCount;
    if (!handled) {
        finish(CaseEnd::SystemError, m_session->prompts.lastText());
        return true;
    }
    switch (run.outcome.end) {
        case StepEnd::RunTimeError:
            finish(CaseEnd::RunTimeError, toUtf8(run.outcome.message));
            break;
        case StepEnd::SystemError:
            finish(CaseEnd::SystemError, toUtf8(centralHandlerText(run.outcome.message)));
            break;
        case StepEnd::StepLimit:
            finish(CaseEnd::StepLimit);
            break;
        case StepEnd::EndlessLoop:
            m_result.loopLine = run.loopLine;
            finish(CaseEnd::EndlessLoop);
            break;
        case StepEnd::Continued:
            // Paused where it was told to; a run that was not going any more ends as STP does.
            if (machine.VM_Running && machine.StepCount >= pauseAt) {
                return false;
            }
            finish(CaseEnd::Stopped);
            break;
        case StepEnd::Stopped:
            finish(CaseEnd::Stopped);
            break;
    }
    return true;
}

void CaseRun::finish(CaseEnd end, std::string message) {
    m_result.end = end;
    m_result.message = std::move(message);
    if (end == CaseEnd::StepLimit || end == CaseEnd::EndlessLoop) {
        m_lines << endText(m_result) << '\n';
    }
    std::istringstream in(m_lines.str());
    for (std::string line; std::getline(in, line);) {
        m_result.messages.push_back(line);
    }
    m_result.table = m_session->bench.table();
    m_result.table.attachGrid(nullptr);  // the copy outlives the session's grid
    m_session.reset();
    m_finished = true;
}

}  // namespace quarzel::grading
