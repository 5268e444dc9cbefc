#include "machine/runtime_fault.h"

#include "common/checked_int.h"
#include "common/number_text.h"
#include "common/system_error.h"
#include "common/win1252.h"

namespace quarzel {

void throwBadIndexRegister() {
    throw RuntimeFault(RuntimeFaultKind::BadIndexRegister,
                       fromUtf8("Indexregister zeigt auf ungültige Stelle"));
}

void throwBadPointerCell(std::int32_t n) {
    throw RuntimeFault(
        RuntimeFaultKind::BadPointerCell,
        "Speicherstelle " + int32ToText(n) + fromUtf8(" zeigt auf ungültige Stelle"));
}

void throwDivisionByZero() {
    throw RuntimeFault(RuntimeFaultKind::DivisionByZero, "Division durch Null");
}

void throwStackUnderflow() {
    throw RuntimeFault(RuntimeFaultKind::StackFull, "Stack-Underflow");
}

void throwStackOverflow() {
    throw RuntimeFault(RuntimeFaultKind::StackEmpty, "Stack-Overflow");
}

void throwPastTheProgram(std::int32_t ip) {
    throw RuntimeFault(RuntimeFaultKind::PastTheProgram,
                       fromUtf8("Listenindex überschreitet das Maximum (") + int32ToText(ip) + ")");
}

void throwInvalidInstruction(std::int32_t ip) {
    throw RuntimeFault(RuntimeFaultKind::InvalidInstruction,
                       fromUtf8("Ungültige Anweisung in Zeile ") + int32ToText(checkedAdd(ip, 1)));
}

void throwUnreadableCell(const std::string& text) {
    throw conversionError(text);
}

}  // namespace quarzel
