#include "common/system_error.h"

#include <utility>

#include "common/number_text.h"
#include "common/quote.h"
#include "common/win1252.h"

namespace quarzel {

SystemError::SystemError(std::string text) : m_text(std::move(text)) {}

SystemError conversionError(const std::string& text) {
    return SystemError("'" + shortQuote(text) + fromUtf8("' ist kein gültiger Integerwert"));
}

SystemError integerOverflow() {
    return SystemError(fromUtf8("Integerüberlauf"));
}

SystemError rangeCheckError() {
    return SystemError(fromUtf8("Fehler bei Bereichsprüfung"));
}

SystemError listIndexError(std::int32_t index) {
    return SystemError(fromUtf8("Listenindex überschreitet das Maximum (") + int32ToText(index) +
                       ")");
}

std::string centralHandlerText(const std::string& errorText) {
    if (!errorText.empty() && static_cast<unsigned char>(errorText.back()) > '.') {
        return errorText + ".";
    }
    return errorText;
}

}  // namespace quarzel
