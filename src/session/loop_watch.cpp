#include "session/loop_watch.h"

#include "machine/memory.h"
#include "machine/run_loop.h"
#include "model/data_table.h"
#include "model/machine_state.h"

namespace quarzel {

LoopWatch::LoopWatch(MachineState& machine, DataTable& table, StateFlags& flags, NumberInput& input,
                     NumberInputView& dialog, Memory& memory)
    : m_machine(machine),
      m_table(table),
      m_flags(flags),
      m_input(input),
      m_dialog(dialog),
      m_memory(memory) {}

LoopWatch::~LoopWatch() {
    m_memory.setLoopWatch(nullptr);
}

bool LoopWatch::beforeStep() {
    if (m_reported) {
        return false;
    }
    const Instructions& program = m_machine.InstructionList;
    const auto ip = static_cast<std::size_t>(m_machine.VM_IP);
    // A number typed by the learner decides how the run goes on, however often the machine
    // was in the same state before: a cycle through INP is no endless loop.
    if (m_machine.VM_IP < 0 || ip >= program.size() ||
        program[ip].Opcode == static_cast<std::int32_t>(Mnemonic::INP)) {
        forget();
        return false;
    }
    if (!m_detector) {
        m_detector.emplace(m_machine, m_table, m_input, m_dialog);
        m_memory.setLoopWatch(&*m_detector);
    }
    m_lineBefore = m_machine.VM_IP;
    return true;
}

std::optional<std::int32_t> LoopWatch::afterStep() {
    if (!m_detector) {
        return std::nullopt;
    }
    if (!m_machine.VM_Running) {
        forget();
        return std::nullopt;
    }
    // As in the headless run: every cycle has a step that does not go on to the next line.
    if (m_machine.VM_IP == m_lineBefore + 1 || !m_detector->repeats(m_machine)) {
        return std::nullopt;
    }
    const std::int32_t line = lowestCycleLine(m_machine, m_table, m_flags, m_input, *m_detector);
    forget();
    m_reported = true;
    return line;
}

void LoopWatch::forget() {
    m_memory.setLoopWatch(nullptr);
    m_detector.reset();
}

void LoopWatch::newRun() {
    forget();
    m_reported = false;
}

}  // namespace quarzel
