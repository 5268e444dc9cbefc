// Grading: every program against every case of a task, in parallel, each case run with loop
// detection and the task's step limit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "grading/case_run.h"
#include "grading/task_file.h"

namespace quarzel::grading {

// One way a case's result differs from what the task expects. Texts are UTF-8.
struct Deviation {
    std::string what;      // "Ende", "Akku", "Zelle 11", ...
    std::string expected;  // as the report shows it
    std::string actual;
    std::string line;  // the short German sentence for the console: "Akku 54 statt 55"
};

struct CaseGrade {
    std::int64_t points = 0;  // the case's points when it passed, else 0
    std::vector<Deviation> deviations;

    bool passed() const { return deviations.empty(); }
};

// A learner's program file.
struct Submission {
    std::string name;                 // as reported (UTF-8)
    std::optional<std::string> text;  // as readProgramFile gives it; none: could not be read
    std::string error;                // why it could not be read (UTF-8 message line)
};

struct ProgramGrade {
    std::string name;
    std::string error;             // the file could not be read: no case was run
    std::vector<CaseGrade> cases;  // in the task's order; empty when error is set
    std::int64_t points = 0;
};

// What a case of `task` runs with `program` (Windows-1252, CR LF): its start memory, its inputs,
// the task's step limit, loops watched.
CaseInput caseInput(const Task& task, const TaskCase& taskCase, const std::string& program);

// Compares one case's result with what the case expects.
CaseGrade gradeCase(const TaskCase& taskCase, const CaseResult& result);

// Runs every case of every submission on `jobs` threads. The result is in the order of
// `submissions`, whatever the threads' timing.
std::vector<ProgramGrade> gradeAll(const Task& task, const std::vector<Submission>& submissions,
                                   unsigned jobs);

// The line that begins a failed case on the console: Fall "NAME": what went wrong.
std::string failureLine(const TaskCase& taskCase, const CaseGrade& grade);
// What went wrong alone: "Fenster 45 statt 55, Zelle 11 \"45\" statt \"55\"" (UTF-8).
std::string deviationText(const CaseGrade& grade);

// The inputs of a case as a task panel lists them: "3, 4", or "keine" (UTF-8).
std::string inputsText(const TaskCase& taskCase);
// What a task panel shows of a tested case: "bestanden", or what went wrong (UTF-8).
std::string caseResultText(const CaseGrade& grade);
// "P von M Punkten".
std::string pointsText(std::int64_t points, std::int64_t total);
// The line that keeps a taken-over case in view: Übernommen: „NAME“ – Eingaben: 3, 4.
std::string takenOverText(const TaskCase& taskCase);

// The memory table a case starts with, as its run gets it.
DataTable caseStartTable(const TaskCase& taskCase);

}  // namespace quarzel::grading
