// The one error type of the system and the central handler's way of showing it.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace quarzel {

// An error the system does not handle where it arises (overflow, a failed number conversion,
// a file that cannot be opened, ...). It ends the current event handler; the central handler
// shows its text. The text is German, in Windows-1252 bytes like every text of the core.
class SystemError : public std::exception {
public:
    explicit SystemError(std::string text);
    const std::string& text() const noexcept { return m_text; }
    const char* what() const noexcept override { return m_text.c_str(); }

private:
    std::string m_text;
};

// Caption of the central handler's box, and the application title.
inline constexpr char kApplicationTitle[] = "Quarzel 3";

SystemError conversionError(const std::string& text);  // "'%s' ist kein gültiger Integerwert"
SystemError integerOverflow();                          // "Integerüberlauf"
SystemError rangeCheckError();                          // "Fehler bei Bereichsprüfung"
SystemError listIndexError(std::int32_t index);         // "Listenindex überschreitet das Maximum (%d)"

// The text the central handler shows: the error's text, followed by "." when the code of its
// last character is greater than that of "." (so a text ending in ")" or "!" gets none).
std::string centralHandlerText(const std::string& errorText);

}  // namespace quarzel
