// A run-time error of the machine ("Division durch Null", "Stack-Overflow", ...). The step
// that meets it ends with the outcome RunTimeError; run control stops the run and shows the
// text in the "Laufzeitfehler" box.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace quarzel {

// Which of the run-time errors it is, so that whoever explains a step need not read its text.
enum class RuntimeFaultKind {
    BadIndexRegister,
    BadPointerCell,
    DivisionByZero,
    StackFull,   // "Stack-Underflow"
    StackEmpty,  // "Stack-Overflow"
    PastTheProgram,
    InvalidInstruction,
};

class RuntimeFault : public std::exception {
  public:
    RuntimeFault(RuntimeFaultKind kind, std::string text) : m_kind(kind), m_text(std::move(text)) {}
    RuntimeFaultKind kind() const noexcept { return m_kind; }
    const std::string& text() const noexcept { return m_text; }
    const char* what() const noexcept override { return m_text.c_str(); }

  private:
    RuntimeFaultKind m_kind;
    std::string m_text;
};

// The machine's run-time errors, raised out of line so that the instructions stay small.
[[noreturn]] void throwBadIndexRegister();  // "Indexregister zeigt auf ungültige Stelle"
[[noreturn]] void throwBadPointerCell(
    std::int32_t n);                      // "Speicherstelle n zeigt auf ungültige Stelle"
[[noreturn]] void throwDivisionByZero();  // "Division durch Null"
[[noreturn]] void throwStackUnderflow();  // "Stack-Underflow": a push onto a full stack
[[noreturn]] void throwStackOverflow();   // "Stack-Overflow": a pop from an empty stack
// Running past the last line, or a RET to a line that does not exist.
[[noreturn]] void throwPastTheProgram(
    std::int32_t ip);  // "Listenindex überschreitet das Maximum (ip)"
[[noreturn]] void throwInvalidInstruction(std::int32_t ip);  // "Ungültige Anweisung in Zeile ip+1"
// A cell whose text is no number: the conversion error (a SystemError, not a RuntimeFault).
[[noreturn]] void throwUnreadableCell(const std::string& text);

}  // namespace quarzel
