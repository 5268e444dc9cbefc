// The built-in examples as the build embeds them (cmake/embed_examples.cmake writes the
// definitions): the files' bytes as they are, for built_in_examples.cpp alone.
#pragma once

#include <cstddef>

namespace quarzel {

struct EmbeddedExample {
    const char* name;
    const char* line;  // UTF-8
    const unsigned char* program;
    std::size_t programSize;
    const unsigned char* data;  // nullptr: the example has no data file
    std::size_t dataSize;
};

extern const EmbeddedExample kEmbeddedExamples[];
extern const std::size_t kEmbeddedExampleCount;

}  // namespace quarzel
