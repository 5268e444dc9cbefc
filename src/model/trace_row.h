// One row of the run's protocol ("Ablaufprotokoll"): a step executed, with the registers as it
// left them and the cell it touched last.
#pragma once

#include <cstdint>

#include "model/machine_state.h"

namespace quarzel {

struct TraceRow {
    std::uint64_t step = 0;  // "Schritt": its number in the run, from 1
    std::int32_t line = 0;   // the program line it executed, counted from 0 (VM_IP before it)
    Registers after;         // the registers after the step
    std::int32_t cell = 0;   // the last cell it read or wrote (the one the picture frames), or 0
    bool write = false;      // that access was a write
};

// Hears every step of a headless run that is traced (quarzel-run --trace), in order, the step
// that ends the run included.
class TraceSink {
  public:
    virtual ~TraceSink() = default;
    virtual void row(const TraceRow& row) = 0;
};

}  // namespace quarzel
