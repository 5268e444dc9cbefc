// The command line of a headless tool as UTF-8 texts, whatever code page the system uses.
#pragma once

#include <string>
#include <vector>

namespace quarzel::headless {

// The arguments after the program's name, in UTF-8. On Windows they are taken from the wide
// command line, since `argv` holds them in the ANSI code page, where "Übung.prg" may already
// have lost its letters; elsewhere `argv` is UTF-8 already.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// What every headless tool sets up before it runs: the system's error texts in the user's
// language (only the message language and the character set are taken from the locale, so
// numbers are still printed the same everywhere), a write beyond the file-size limit
// failing with its error instead of ending the process, so that a save reports it and
// removes its temporary file, and a closed standard stream kept closed to writes
// (occupyClosedStandardStreams).
void prepareProcess();

}  // namespace quarzel::headless
