// The periods of the three run timers, in milliseconds, in the order of RunTimer: "Langsam",
// "Schnell" and "Direkt".
#pragma once

namespace quarzel {

inline constexpr int kTimerIntervalMs[3] = {1500, 500, 25};

// While a timed run goes on, the line "Was geschah", the protocol's table and the slider
// "Verlauf" are drawn at most this often: four times a second, every tenth tick at "Direkt".
// Drawn at every tick, the table would cost several times the tick itself, and the line would
// change faster than anyone reads it.
inline constexpr int kReportPaceMs = 250;

}  // namespace quarzel
