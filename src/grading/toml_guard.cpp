#include "grading/toml_guard.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace quarzel::grading {
namespace {

bool isAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Where the parser stops reading a value that is not a string, array or inline table.
bool endsBareValue(char c) {
    return isAsciiSpace(c) || c == ']' || c == '}' || c == ',' || c == '#';
}

// The code point of the UTF-8 sequence at the start of `bytes` and its length; 0 when it is
// no valid sequence.
std::size_t decodeUtf8(std::string_view bytes, std::uint32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || length > bytes.size() || lead > 0xF4) {
        return 0;
    }
    codePoint = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[k]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    return length;
}

}  // namespace

std::optional<TextPosition> guardTomlText(std::string_view text, std::string& safe) {
    enum class State { Normal, Comment, Basic, Literal, MultiBasic, MultiLiteral };
    State state = State::Normal;
    // Outside strings: whether a key or a value comes next, the open arrays ('[') and inline
    // tables ('{'), and whether we are inside a value that is read up to a terminator (a
    // number, a date, or a mistake); a quote there begins no string.
    bool expectValue = false;
    std::vector<char> open;
    bool inBareValue = false;
    TextPosition at{1, 1};
    std::size_t i = 0;
    safe.clear();
    safe.reserve(text.size());
    const auto take = [&](std::size_t count) {
        for (; count > 0 && i < text.size(); --count, ++i) {
            const char c = text[i];
            safe += c;
            if (c == '\n') {
                ++at.line;
                at.column = 1;
            } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
                ++at.column;
            }
        }
    };
    const auto startsWith = [&](std::string_view delimiter) {
        return text.substr(i, delimiter.size()) == delimiter;
    };
    // A closing delimiter may have one or two more quotes before it that belong to the string.
    const auto close = [&](char quote) {
        take(3);
        for (int extra = 0; extra < 2 && i < text.size() && text[i] == quote; ++extra) {
            take(1);
        }
        state = State::Normal;
    };
    const auto newLine = [&] {
        if (open.empty()) {
            expectValue = false;
        }
    };

    if (startsWith("\xEF\xBB\xBF")) {
        safe += text.substr(0, 3);  // a byte-order mark is no character of the text
        i = 3;
    }
    while (i < text.size()) {
        const char c = text[i];
        const bool ascii = static_cast<unsigned char>(c) < 0x80;
        switch (state) {
            case State::Normal:
                if (!ascii) {
                    return at;
                }
                if (inBareValue && !endsBareValue(c)) {
                    take(1);
                    break;
                }
                inBareValue = false;
                if (startsWith("\"\"\"") || startsWith("'''")) {
                    take(3);
                    state = c == '"' ? State::MultiBasic : State::MultiLiteral;
                    continue;
                }
                switch (c) {
                    case '#':
                        state = State::Comment;
                        break;
                    case '"':
                        state = State::Basic;
                        break;
                    case '\'':
                        state = State::Literal;
                        break;
                    case '\n':
                        newLine();
                        break;
                    case '=':
                        expectValue = true;
                        break;
                    case '[':
                        if (expectValue) {
                            open.push_back('[');
                        }  // else a table header, which holds keys
                        break;
                    case '{':
                        open.push_back('{');
                        expectValue = false;
                        break;
                    case ']':
                    case '}':
                        if (!open.empty() && open.back() == (c == ']' ? '[' : '{')) {
                            open.pop_back();
                        }
                        break;
                    case ',':
                        expectValue = open.empty() || open.back() == '[';
                        break;
                    default:
                        inBareValue = expectValue && !isAsciiSpace(c);
                        break;
                }
                take(1);
                break;
            case State::Comment:
            case State::Literal:
                if (c == '\n') {
                    newLine();
                }
                if (c == '\n' || (state == State::Literal && c == '\'')) {
                    state = State::Normal;
                }
                take(1);
                break;
            case State::Basic:
                if (c == '\\') {
                    take(1);
                    if (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80 &&
                        text[i] != '\n') {
                        take(1);  // an escaped quote does not end the string
                    }
                    continue;
                }
                if (c == '\n') {
                    newLine();
                }
                if (c == '"' || c == '\n') {
                    state = State::Normal;
                }
                take(1);
                break;
            case State::MultiLiteral:
                if (startsWith("'''")) {
                    close('\'');
                    continue;
                }
                take(1);
                break;
            case State::MultiBasic:
                if (startsWith("\"\"\"")) {
                    close('"');
                    continue;
                }
                if (c != '\\') {
                    take(1);
                    break;
                }
                take(1);
                if (i >= text.size()) {
                    break;
                }
                if (static_cast<unsigned char>(text[i]) >= 0x80) {
                    return at;
                }
                if (!isAsciiSpace(text[i])) {
                    take(1);
                    continue;
                }
                // A line-ending backslash: the parser skips the blanks and line breaks and
                // tests the next character, which must therefore be ASCII.
                while (i < text.size() && isAsciiSpace(text[i])) {
                    take(1);
                }
                if (i < text.size() && static_cast<unsigned char>(text[i]) >= 0x80) {
                    std::uint32_t codePoint = 0;
                    const std::size_t length = decodeUtf8(text.substr(i), codePoint);
                    if (length == 0) {
                        return at;
                    }
                    char escape[11];
                    std::snprintf(escape, sizeof escape, "\\U%08X", codePoint);
                    safe += escape;
                    i += length;
                    ++at.column;
                }
                break;
        }
    }
    return std::nullopt;
}

}  // namespace quarzel::grading
