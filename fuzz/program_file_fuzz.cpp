// The program-file reader's line-break handling on arbitrary bytes: the text it gives the
// editor has only CR LF breaks and no NUL, reading it again changes nothing, and feeding the
// file in two pieces gives the same text as reading it whole.
#include <cstddef>
#include <cstdint>
#include <string>

#include "files/text_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarzel;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = normalizeLineBreaks(bytes);
    FUZZ_CHECK(text.find('\0') == std::string::npos);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == '\n');
        } else if (text[i] == '\n') {
            FUZZ_CHECK(i > 0 && text[i - 1] == '\r');
        }
    }
    FUZZ_CHECK(normalizeLineBreaks(text) == text);
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    LineBreakNormalizer pieces;
    std::string joined;
    if (pieces.feed(std::string_view(bytes).substr(0, cut), joined)) {
        pieces.feed(std::string_view(bytes).substr(cut), joined);
    }
    FUZZ_CHECK(joined == text);
    return 0;
}
