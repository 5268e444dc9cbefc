// Exact detection of an endless loop, in a headless run and in a window's run at a timed speed. The
// machine is deterministic: once its whole state (registers, every cell, InputValue and the
// position in the input list) is one it has been in before, it will go round the same way for ever.
// The state is compared with a snapshot taken at the 1st, 2nd, 4th, 8th, ... look; a loop of any
// length is found within about twice the steps it needs to start and to go round once, without a
// step limit. A running hash of the cells, updated at every write, keeps the comparison at a few
// register compares per step; the cells themselves are compared only when everything else matches.
#pragma once

#include <array>
#include <cstdint>

#include "common/views.h"
#include "machine/machine_snapshot.h"
#include "machine/number_input.h"
#include "model/data_table.h"
#include "model/machine_state.h"

namespace quarzel {

class LoopDetector {
  public:
    // `input` and `dialog` give InputValue and the position in the input list.
    LoopDetector(const MachineState& machine, const DataTable& table, const NumberInput& input,
                 const NumberInputView& dialog);

    // It watches the machine's cell access (machine_access.h): before the machine writes
    // `number` into `row`.
    void beforeWrite(int row, std::int32_t number) {
        m_cellsHash ^= cellKey(row) ^ writtenKey(row, number);
    }
    void atCell(int /*row*/) {}
    void recorded() {}
    void numberTaken(bool /*accepted*/) {}

    // A look at the state after a step that left the run going. True when the state is that of
    // the snapshot.
    bool repeats(const Registers& registers) {
        if (backAtSnapshot(registers)) {
            return true;
        }
        if (++m_steps == m_nextSnapshot) {
            takeSnapshot(registers);
            m_nextSnapshot *= 2;
        }
        return false;
    }

    // The same look without taking a new snapshot: walking a cycle that has been found once
    // more ends where it began.
    bool backAtSnapshot(const Registers& registers) const {
        return registers == m_snapshot.registers && m_cellsHash == m_snapshotHash && m_taken &&
               equalsSnapshot(registers);
    }

  private:
    // The key of a cell as it is now. A typed cell keeps its text for the whole run (the
    // machine only writes numbers), so the row alone stands for it.
    std::uint64_t cellKey(int row) const {
        std::int32_t number = 0;
        m_table.readNumber(row, number);
        return m_table.isMachineWritten(row) ? writtenKey(row, number) : typedKey(row);
    }
    static std::uint64_t writtenKey(int row, std::int32_t number) {
        return mix((static_cast<std::uint64_t>(row) << 33) ^ static_cast<std::uint32_t>(number));
    }
    static std::uint64_t typedKey(int row) {
        return mix((static_cast<std::uint64_t>(row) << 33) | (std::uint64_t{1} << 32));
    }
    static std::uint64_t mix(std::uint64_t x) {  // a strong 64-bit finaliser
        x ^= x >> 30;
        x *= 0xbf58476d1ce4e5b9ULL;
        x ^= x >> 27;
        x *= 0x94d049bb133111ebULL;
        return x ^ (x >> 31);
    }
    // The machine's state now; during a headless run its registers live in the loop's copy.
    MachineSnapshot now(const Registers& registers) const;
    void takeSnapshot(const Registers& registers);
    bool equalsSnapshot(const Registers& registers) const;  // the keyboard and every cell too

    struct SnapshotCell {
        bool written;
        std::int32_t number;
    };

    const MachineState& m_machine;
    const DataTable& m_table;
    const NumberInput& m_input;
    const NumberInputView& m_dialog;
    std::uint64_t m_cellsHash = 0;
    bool m_taken = false;
    std::uint64_t m_steps = 0;  // looks so far
    std::uint64_t m_nextSnapshot = 1;
    MachineSnapshot m_snapshot;
    std::uint64_t m_snapshotHash = 0;
    std::array<SnapshotCell, DataTable::kRowCount> m_cells{};
};

}  // namespace quarzel
