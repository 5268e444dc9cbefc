// The periods of the three run timers, in milliseconds, in the order of RunTimer: "Langsam",
// "Schnell" and "Direkt".
#pragma once

namespace quarzel {

inline constexpr int kTimerIntervalMs[3] = {1500, 500, 25};

}  // namespace quarzel
