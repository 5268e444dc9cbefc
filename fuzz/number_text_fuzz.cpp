// The number text conversion against a plain reference written from its definition: leading
// blanks, a sign, then decimal digits within 32 bits or a hexadecimal prefix with up to
// FFFFFFFF taken as a bit pattern. Both must accept the same texts and agree on the value.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "common/number_text.h"
#include "common/system_error.h"
#include "fuzz_check.h"

namespace {

std::optional<std::int32_t> reference(const std::string& text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) {
        return std::nullopt;
    }
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    std::string rest = text.substr(i);
    int base = 10;
    for (const char* prefix : {"0x", "0X", "$", "x", "X"}) {
        if (rest.rfind(prefix, 0) == 0) {
            rest = rest.substr(std::string(prefix).size());
            base = 16;
            break;
        }
    }
    const char* digits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
    if (rest.empty() || rest.find_first_not_of(digits) != std::string::npos) {
        return std::nullopt;
    }
    rest.erase(0, std::min(rest.find_first_not_of('0'), rest.size() - 1));
    if (rest.size() > (base == 16 ? 8u : 10u)) {
        return std::nullopt;
    }
    const long long magnitude = std::stoll(rest, nullptr, base);
    if (base == 16) {
        auto bits = static_cast<std::uint32_t>(magnitude);
        return static_cast<std::int32_t>(negative ? 0u - bits : bits);
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::int32_t value = 0;
    const bool converted = quarzel::tryTextToInt32(text, value);
    const auto expected = reference(text);
    FUZZ_CHECK(converted == expected.has_value());
    if (converted) {
        FUZZ_CHECK(value == *expected);
        FUZZ_CHECK(quarzel::textToInt32(quarzel::int32ToText(value)) == value);
    } else {
        bool raised = false;
        try {
            quarzel::textToInt32(text);
        } catch (const quarzel::SystemError& error) {
            raised = error.text() == quarzel::conversionError(text).text();
        }
        FUZZ_CHECK(raised);
    }
    return 0;
}
