// The machine's one way to its cells and to its keyboard, for every way of running: the
// window's step and the headless run loop differ only in who watches. A watcher hears of each
// write before it happens (the step journal keeps the old content, loop detection updates its
// hash) and of each access once it is done (the table scrolls to the cell, the picture
// repaints with the access marked).
//
// A watcher has three members for a cell, called in this order:
//   void beforeWrite(int row, std::int32_t number)  the cell is about to hold `number`
//   void atCell(int row)                             the cell holds its new content
//   void recorded()                                  LastAccessCell / LastAccessWrite are set
// and one for the keyboard, after INP's dialog has closed:
//   void numberTaken(bool accepted)  a number was accepted (InputValue holds it), or the
//                                    dialog was closed through its frame
#pragma once

#include <cstdint>

#include "common/views.h"
#include "machine/number_input.h"
#include "machine/runtime_fault.h"
#include "model/data_table.h"
#include "model/machine_state.h"
#include "model/state_flags.h"

namespace quarzel {

// Nobody watches: a headless run without loop detection.
struct NoWatcher {
    void beforeWrite(int /*row*/, std::int32_t /*number*/) {}
    void atCell(int /*row*/) {}
    void recorded() {}
    void numberTaken(bool /*accepted*/) {}
};

template <class Watcher>
class MachineAccess {
  public:
    MachineAccess(MachineState& machine, DataTable& table, StateFlags& flags, NumberInput& input,
                  NumberInputView& dialog, PromptView& prompts, Watcher& watcher)
        : m_machine(machine),
          m_table(table),
          m_flags(flags),
          m_input(input),
          m_dialog(dialog),
          m_prompts(prompts),
          m_watcher(watcher) {}

    // VM_GetData(address, false); `address` is 1..512, guaranteed by the caller. A text that is
    // no number raises the conversion error before any side effect.
    std::int32_t read(std::int32_t address) {
        const int row = address - 1;
        const std::int32_t value = number(row);
        m_watcher.atCell(row);
        record(address, false);
        return value;
    }

    // VM_GetData(address, true), a pop: the cell is left holding "0". The clearing is no
    // modification of the data.
    std::int32_t readAndClear(std::int32_t address) {
        const int row = address - 1;
        const std::int32_t value = number(row);
        store(row, 0);
        m_watcher.atCell(row);
        record(address, false);
        return value;
    }

    // VM_SetData(address, value).
    void write(std::int32_t address, std::int32_t value) {
        const int row = address - 1;
        store(row, value);
        m_watcher.atCell(row);
        m_flags.DataModified = true;
        record(address, true);
    }

    // INP: the modal number dialog, then the number it accepted last. Closed through its frame,
    // the dialog leaves the number of an earlier request. While it is open, no step may start.
    std::int32_t requestNumber() {
        m_machine.InputPending = true;
        const PendingInput pending{m_machine};
        const bool accepted = askForNumber(m_dialog, m_prompts, m_input);
        m_watcher.numberTaken(accepted);
        const std::int32_t value = m_input.InputValue;
        m_dialog.hide();
        return value;
    }

  private:
    struct PendingInput {
        MachineState& machine;
        ~PendingInput() { machine.InputPending = false; }
    };

    std::int32_t number(int row) const {
        std::int32_t value = 0;
        if (!m_table.readNumber(row, value)) {
            throwUnreadableCell(m_table.value(row));
        }
        return value;
    }
    void store(int row, std::int32_t value) {
        m_watcher.beforeWrite(row, value);
        m_table.writeNumber(row, value);
    }
    void record(std::int32_t address, bool write) {
        m_machine.LastAccessCell = address;
        m_machine.LastAccessWrite = write;
        m_watcher.recorded();
    }

    MachineState& m_machine;
    DataTable& m_table;
    StateFlags& m_flags;
    NumberInput& m_input;
    NumberInputView& m_dialog;
    PromptView& m_prompts;
    Watcher& m_watcher;
};

}  // namespace quarzel
