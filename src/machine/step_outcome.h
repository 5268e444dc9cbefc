// How a step, or a whole run, ended. Callers act on this value; nobody has to read a message
// box to learn what happened.
#pragma once

#include <cstdint>
#include <string>

namespace quarzel {

enum class StepEnd {
    Continued,     // the instruction ran; the run goes on
    Stopped,       // STP: the run ended normally, VM_IP stays on the STP line
    RunTimeError,  // "Division durch Null", "Stack-Overflow", ...: shown as "Laufzeitfehler"
    SystemError,   // overflow or an unreadable cell: shown by the central handler
    StepLimit,     // a headless run took its largest number of steps
    EndlessLoop,   // a headless run came back to a state it had been in before
};

struct StepOutcome {
    StepEnd end = StepEnd::Continued;
    std::string message;  // the error's text (Windows-1252), without the central handler's dot

    bool endsRun() const { return end != StepEnd::Continued; }
};

}  // namespace quarzel
