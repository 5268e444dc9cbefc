#include "session/step_history.h"

#include <bitset>
#include <optional>
#include <string>
#include <utility>

#include "common/number_text.h"
#include "common/views.h"
#include "machine/instruction_step.h"
#include "machine/machine_access.h"
#include "machine/machine_snapshot.h"
#include "machine/silent_prompts.h"
#include "machine/step_guard.h"
#include "model/data_table.h"
#include "model/machine_state.h"
#include "model/state_flags.h"

namespace quarzel {
namespace {

std::uint64_t stepOf(const JournalEntry& entry) {
    return entry.before.StepCount + 1;
}

// The rows a move changed, each once, for telling the grid afterwards.
class ChangedRows {
  public:
    void add(int row) {
        if (!m_seen.test(static_cast<std::size_t>(row))) {
            m_seen.set(static_cast<std::size_t>(row));
            m_rows.push_back(row);
        }
    }
    std::vector<int> take() { return std::move(m_rows); }

  private:
    std::bitset<DataTable::kRowCount> m_seen;
    std::vector<int> m_rows;
};

// A replayed step's view of its cells: it only notes which rows it changed.
struct ReplayWatcher {
    ChangedRows& rows;

    void beforeWrite(int row, std::int32_t /*number*/) { rows.add(row); }
    void atCell(int /*row*/) {}
    void recorded() {}
    void numberTaken(bool /*accepted*/) {}
};

// The number dialog as it went then: it hands over the number typed, or is closed again.
class RecordedNumber : public NumberInputView {
  public:
    explicit RecordedNumber(std::optional<std::string> text) : m_text(std::move(text)) {}
    std::optional<std::string> askText(const std::optional<std::string>& /*rejected*/) override {
        return std::exchange(m_text, std::nullopt);
    }
    void hide() override {}

  private:
    std::optional<std::string> m_text;
};

}  // namespace

StepSpan takenSteps(const StepJournal& journal) {
    if (journal.position() == 0) {
        return {};
    }
    return {stepOf(journal.at(0)), stepOf(journal.at(journal.position() - 1))};
}

TraceRow traceRowOf(const StepJournal& journal, const MachineState& machine, std::uint64_t step) {
    const std::size_t index = static_cast<std::size_t>(step - stepOf(journal.at(0)));
    const JournalEntry& entry = journal.at(index);
    // The state after a step is the state before the next one, recorded or now.
    const bool last = index + 1 == journal.size();
    const MachineSnapshot* next = last ? nullptr : &journal.at(index + 1).before;
    TraceRow row;
    row.step = step;
    row.line = entry.before.registers.VM_IP;
    row.after = next != nullptr ? next->registers : static_cast<const Registers&>(machine);
    if (entry.accessed) {
        row.cell = next != nullptr ? next->LastAccessCell : machine.LastAccessCell;
        row.write = next != nullptr ? next->LastAccessWrite : machine.LastAccessWrite;
    }
    return row;
}

HistoryMove moveBack(StepJournal& journal, MachineState& machine, DataTable& table,
                     NumberInput& input, std::uint64_t target) {
    ChangedRows rows;
    const GridDetached quiet(table);
    const JournalEntry* entry = nullptr;
    while (journal.position() > 0 && machine.StepCount > target) {
        entry = &journal.stepBack();
        if (entry->writtenRow >= 0) {
            table.restore(entry->writtenRow, entry->cell);
            rows.add(entry->writtenRow);
        }
        machine.StepCount = entry->before.StepCount;
    }
    if (entry != nullptr) {
        restoreSnapshot(entry->before, machine, input);
    }
    return {rows.take(), {}};
}

HistoryMove replayForward(StepJournal& journal, MachineState& machine, DataTable& table,
                          StateFlags& flags, NumberInput& input, std::uint64_t target) {
    ChangedRows rows;
    ReplayWatcher watcher{rows};
    SilentPrompts silent;  // the number typed then converts again: no box is shown
    const GridDetached quiet(table);
    HistoryMove move;
    while (journal.position() < journal.size() && machine.StepCount < target) {
        const JournalEntry& entry = journal.stepForward();
        RecordedNumber dialog(entry.numberAccepted ? std::optional(int32ToText(entry.number))
                                                   : std::nullopt);
        MachineAccess<ReplayWatcher> access(machine, table, flags, input, dialog, silent, watcher);
        const Instructions& program = machine.InstructionList;
        move.lastOutcome = outcomeOf([&] {
            const VM_Instruction& instruction = fetchInstruction<true>(
                program.data(), static_cast<std::uint32_t>(program.size()), machine.VM_IP);
            return executeInstruction(machine, instruction, access) ? StepEnd::Stopped
                                                                    : StepEnd::Continued;
        });
        ++machine.StepCount;
        const bool recordedNext = journal.position() < journal.size();
        // The machine is deterministic, so this cannot happen while the journal matches the
        // program and the table; should it ever, what follows is no longer what would happen.
        const auto differs = [&](const MachineSnapshot& recorded) {
            return !(recorded.registers == machine) || recorded.InputValue != input.InputValue;
        };
        if (recordedNext &&
            (move.lastOutcome.endsRun() || differs(journal.at(journal.position()).before))) {
            journal.forgetAfterPosition();
        }
        if (move.lastOutcome.endsRun()) {
            break;
        }
    }
    move.changedRows = rows.take();
    return move;
}

std::optional<std::uint64_t> lastStandBefore(const StepJournal& journal,
                                             const std::function<bool(std::int32_t)>& marked) {
    for (std::size_t index = journal.position(); index-- > 0;) {
        const MachineSnapshot& before = journal.at(index).before;
        if (marked(before.registers.VM_IP)) {
            return before.StepCount;
        }
    }
    return std::nullopt;
}

}  // namespace quarzel
