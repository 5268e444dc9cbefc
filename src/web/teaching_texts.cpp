// The examples' list and the primer as JSON for the page.
#include "web/teaching_texts.h"

#include <cstdio>

#include "common/win1252.h"
#include "files/built_in_examples.h"
#include "screen/primer_text.h"

namespace quarzel {
namespace {

// A JSON string: quotes, backslashes and every control character escaped, so that no text of
// the core can end the string early or break the page's parse.
std::string quoted(const std::string& utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// The editor's text (Windows-1252, CR LF) as the page shows it.
std::string pageText(const std::string& win1252) {
    std::string text;
    for (const char c : toUtf8(win1252)) {
        if (c != '\r') {
            text += c;
        }
    }
    return text;
}

}  // namespace

std::string exampleListJson() {
    std::string json;
    for (const BuiltInExample& example : builtInExamples()) {
        json += (json.empty() ? "" : ",") + std::string("{\"name\":") + quoted(example.name) +
                ",\"line\":" + quoted(example.line) + "}";
    }
    return "[" + json + "]";
}

std::string primerJson() {
    std::string json;
    for (const PrimerSection& section : primerSections()) {
        std::string paragraphs;
        for (const std::string& paragraph : section.paragraphs) {
            paragraphs += (paragraphs.empty() ? "" : ",") + quoted(paragraph);
        }
        json += (json.empty() ? "" : ",") + std::string("{\"title\":") + quoted(section.title) +
                ",\"paragraphs\":[" + paragraphs +
                "],\"program\":" + quoted(pageText(section.program)) + "}";
    }
    return "[" + json + "]";
}

}  // namespace quarzel
