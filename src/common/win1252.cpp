#include "common/win1252.h"

#include <array>
#include <cstdint>
#include <unordered_map>

namespace quarzel {
namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones keep their own value.
constexpr std::array<char32_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char32_t codePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControlRange[byte - 0x80];
    }
    return byte;
}

const std::unordered_map<char32_t, unsigned char>& byteOfHighCodePoint() {
    static const std::unordered_map<char32_t, unsigned char> map = [] {
        std::unordered_map<char32_t, unsigned char> m;
        for (unsigned b = 0x80; b <= 0x9F; ++b) {
            m.emplace(kHighControlRange[b - 0x80], static_cast<unsigned char>(b));
        }
        return m;
    }();
    return map;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[pos]; returns its length, or 0 when it is malformed.
std::size_t decodeUtf8(std::string_view text, std::size_t pos, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return length;
}

char win1252ByteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    const auto& map = byteOfHighCodePoint();
    const auto found = map.find(cp);
    return found == map.end() ? '?' : static_cast<char>(found->second);
}

}  // namespace

std::string toUtf8(std::string_view win1252) {
    std::string out;
    out.reserve(win1252.size() + win1252.size() / 4);
    for (const char c : win1252) {
        appendUtf8(out, codePointOf(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string fromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = 0;
        const std::size_t length = decodeUtf8(utf8, pos, cp);
        if (length == 0) {
            out += '?';
            ++pos;
        } else {
            out += win1252ByteOf(cp);
            pos += length;
        }
    }
    return out;
}

std::optional<std::string> firstCharacterOutsideWin1252(std::string_view utf8) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = 0;
        const std::size_t length = decodeUtf8(utf8, pos, cp);
        if (length == 0) {
            return std::string(utf8.substr(pos, 1));
        }
        if (cp != U'?' && win1252ByteOf(cp) == '?') {
            return std::string(utf8.substr(pos, length));
        }
        pos += length;
    }
    return std::nullopt;
}

char upperCaseWin1252(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') {
        return static_cast<char>(b - 0x20);
    }
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) {
        return static_cast<char>(b - 0x20);
    }
    switch (b) {
        case 0x9A:  // s caron
            return static_cast<char>(0x8A);
        case 0x9C:  // oe
            return static_cast<char>(0x8C);
        case 0x9E:  // z caron
            return static_cast<char>(0x8E);
        case 0xFF:  // y diaeresis
            return static_cast<char>(0x9F);
        default:
            return c;
    }
}

std::string upperCaseWin1252(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = upperCaseWin1252(c);
    }
    return out;
}

}  // namespace quarzel
