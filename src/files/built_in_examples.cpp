#include "files/built_in_examples.h"

#include <string_view>
#include <utility>

#include "files/embedded_examples.h"
#include "files/text_file.h"

namespace quarzel {
namespace {

// The embedded bytes read as a file is read, so that a file saved with lone LF line breaks is
// loaded from the list exactly as "Laden" loads it from the disk.
std::string asRead(const unsigned char* bytes, std::size_t size) {
    return normalizeLineBreaks(std::string_view(reinterpret_cast<const char*>(bytes), size));
}

std::vector<BuiltInExample> makeExamples() {
    std::vector<BuiltInExample> examples;
    examples.reserve(kEmbeddedExampleCount);
    for (std::size_t i = 0; i < kEmbeddedExampleCount; ++i) {
        const EmbeddedExample& embedded = kEmbeddedExamples[i];
        BuiltInExample example{embedded.name, embedded.line,
                               asRead(embedded.program, embedded.programSize), std::nullopt};
        if (embedded.data != nullptr) {
            example.data = asRead(embedded.data, embedded.dataSize);
        }
        examples.push_back(std::move(example));
    }
    return examples;
}

}  // namespace

const std::vector<BuiltInExample>& builtInExamples() {
    static const std::vector<BuiltInExample> examples = makeExamples();
    return examples;
}

}  // namespace quarzel
