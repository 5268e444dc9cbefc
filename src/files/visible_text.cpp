#include "files/visible_text.h"

namespace quarzel {
namespace {

constexpr char kHex[] = "0123456789abcdef";

std::string hexByte(unsigned char byte) {
    return {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 character at the start of `text`, or 0. Overlong forms,
// surrogates and code points above U+10FFFF are not well-formed.
std::size_t characterLength(std::string_view text) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = at(0);
    std::size_t length = 0;
    unsigned char low = 0x80;  // the range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || at(1) < low || at(1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(at(i))) {
            return 0;
        }
    }
    return length;
}

}  // namespace

std::string visibleText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (byte == '\n') {
                shown += "\\n";
            } else if (byte == '\r') {
                shown += "\\r";
            } else if (byte == '\t') {
                shown += "\\t";
            } else if (byte < 0x20 || byte == 0x7F) {
                shown += hexByte(byte);
            } else {
                shown += static_cast<char>(byte);
            }
            ++i;
            continue;
        }
        const std::size_t length = characterLength(text.substr(i));
        if (length == 0) {
            shown += hexByte(byte);
            ++i;
            continue;
        }
        // U+0080 to U+009F: a terminal takes U+009B as the start of an escape sequence.
        const unsigned char second = static_cast<unsigned char>(text[i + 1]);
        if (byte == 0xC2 && second <= 0x9F) {
            shown += "\\u00";
            shown += kHex[second >> 4];
            shown += kHex[second & 0xF];
        } else {
            shown.append(text.substr(i, length));
        }
        i += length;
    }
    return shown;
}

}  // namespace quarzel
