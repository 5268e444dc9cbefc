# Writes the C++ source that holds the built-in examples: every program and data file named by
# the list, byte for byte, with its name and line. Run at build time whenever one of them changes:
#   cmake -DLIST=<list file> -DEXAMPLES_DIR=<examples> -DOUTPUT=<file.cpp> -P embed_examples.cmake
# The files themselves stay the one source; nothing in the program repeats their text.
cmake_minimum_required(VERSION 3.16)
include(${CMAKE_CURRENT_LIST_DIR}/built_in_examples.cmake)
quarzel_read_examples("${LIST}" names lines)

# The bytes of `file` as "0x2a,0x20,..." for an array's initialiser.
function(bytes_of file variable)
    file(READ "${file}" hex HEX)
    if(hex STREQUAL "")
        message(FATAL_ERROR "${file} is empty")
    endif()
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    set(${variable} "${bytes}" PARENT_SCOPE)
endfunction()

set(arrays "")
set(rows "")
set(index 0)
foreach(name IN LISTS names)
    list(GET lines ${index} line)
    # The line becomes a string literal: UTF-8 as it stands, backslashes and quotes escaped.
    string(REPLACE "\\" "\\\\" line "${line}")
    string(REPLACE "\"" "\\\"" line "${line}")
    set(program "${EXAMPLES_DIR}/${name}.prg")
    set(data "${EXAMPLES_DIR}/${name}.dta")
    if(NOT EXISTS "${program}")
        message(FATAL_ERROR "${LIST}: ${program} is missing")
    endif()
    bytes_of("${program}" bytes)
    string(APPEND arrays "const unsigned char kProgram${index}[] = {${bytes}};\n")
    if(EXISTS "${data}")
        bytes_of("${data}" bytes)
        string(APPEND arrays "const unsigned char kData${index}[] = {${bytes}};\n")
        set(data_part "kData${index}, sizeof kData${index}")
    else()
        set(data_part "nullptr, 0")
    endif()
    string(APPEND rows "    {\"${name}\", \"${line}\", kProgram${index}, sizeof kProgram${index}, ${data_part}},\n")
    math(EXPR index "${index} + 1")
endforeach()

set(source "// Made by cmake/embed_examples.cmake from src/files/built_in_examples.txt and the files in
// examples/; made again whenever one of them changes. Not to be edited.
#include \"files/embedded_examples.h\"

namespace quarzel {
namespace {

${arrays}
}  // namespace

const EmbeddedExample kEmbeddedExamples[] = {
${rows}};
const std::size_t kEmbeddedExampleCount = sizeof kEmbeddedExamples / sizeof kEmbeddedExamples[0];

}  // namespace quarzel
")
# Written only when it differs, so that an unchanged list compiles nothing again.
file(WRITE "${OUTPUT}.new" "${source}")
configure_file("${OUTPUT}.new" "${OUTPUT}" COPYONLY)
file(REMOVE "${OUTPUT}.new")
