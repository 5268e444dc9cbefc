// The standard streams of a headless tool: kept from being taken over by a file the tool
// opens, and standard output checked when the tool ends, so that a lost report is no success.
#pragma once

#include <string>

namespace quarzel::headless {

// A standard stream that the caller closed (`>&-`) gets the null device in its place, opened
// the other way round (standard output for reading), so that a write to it still fails, and no
// file the tool opens later takes over its number and receives the report. Unix only (not
// under Node, whose streams nobody closes).
void occupyClosedStandardStreams();

// Flushes and closes standard output. When something written to it was lost (a closed stream,
// a full disk), says so on standard error, "TOOL: Die Standardausgabe kann nicht geschrieben
// werden.", followed by the system's reason where the last failed write still tells it, and
// returns `failedStatus`; otherwise `status`.
int closeStandardOutput(const std::string& tool, int status, int failedStatus);

}  // namespace quarzel::headless
