// The three forms of a class's grades: console lines, a spreadsheet file (CSV) and one
// self-contained HTML page. Every text is UTF-8; the control characters of the learners' names
// and messages are shown in all three as visibleText shows them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "grading/grader.h"
#include "grading/task_file.h"

namespace quarzel::grading {

// "NAME: P von M Punkten" per program, an indented line per failed case, then the summary. A
// program that could not be read is "NAME: nicht bewertet" with its message indented below.
void writeConsoleReport(const Task& task, const std::vector<ProgramGrade>& grades,
                        std::ostream& out);

// The class in one line: programs, how many of them could not be read and were not graded
// (when any), how many got every point, the mean score of those graded.
std::string summaryLine(const Task& task, const std::vector<ProgramGrade>& grades);

// With a byte-order mark and ";" between fields, as a German spreadsheet program opens it. A
// program that could not be read has empty points and its error in the last column. A text
// field that a spreadsheet would take for a formula begins with "'".
std::string csvReport(const Task& task, const std::vector<ProgramGrade>& grades);

std::string htmlReport(const Task& task, const std::vector<ProgramGrade>& grades);

}  // namespace quarzel::grading
