#include "grading/grader.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

#include "common/win1252.h"
#include "grading/case_end_text.h"

namespace quarzel::grading {
namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// The console's words for an ending that was not the expected one.
std::string endLine(const CaseResult& result, const std::string& actual,
                    const std::string& expected) {
    if (auto summary = endSummary(result)) {
        return *summary;
    }
    return "endet mit " + quoted(actual) + " statt " + quoted(expected);
}

std::vector<std::pair<int, std::string>> startCells(const TaskCase& taskCase) {
    std::vector<std::pair<int, std::string>> cells;
    for (const auto& [cell, value] : taskCase.start) {
        cells.emplace_back(cell, fromUtf8(value));
    }
    return cells;
}

}  // namespace

CaseInput caseInput(const Task& task, const TaskCase& taskCase, const std::string& program) {
    CaseInput input;
    input.program = program;
    input.data = taskCase.data;
    input.cells = startCells(taskCase);
    input.inputs = taskCase.inputs;
    input.maxSteps = task.stepLimit;
    input.detectLoops = true;
    return input;
}

CaseGrade gradeCase(const TaskCase& taskCase, const CaseResult& result) {
    CaseGrade grade;
    const Expectation& expected = taskCase.expected;
    const std::string actualEnd = endText(result);
    if (actualEnd != expected.end) {
        // Registers and cells of a run that ended otherwise than expected say nothing more.
        grade.deviations.push_back(
            {"Ende", expected.end, actualEnd, endLine(result, actualEnd, expected.end)});
        return grade;
    }
    for (std::size_t i = 0; i < kRegisterChecks.size(); ++i) {
        if (!expected.registers[i]) {
            continue;
        }
        const std::int32_t want = *expected.registers[i];
        const std::int32_t have = result.registers.*kRegisterChecks[i].field;
        if (have != want) {
            const std::string label = kRegisterChecks[i].label;
            grade.deviations.push_back(
                {label, std::to_string(want), std::to_string(have),
                 label + " " + std::to_string(have) + " statt " + std::to_string(want)});
        }
    }
    for (const auto& [cell, want] : expected.cells) {
        const std::string have = toUtf8(result.table.value(cell - 1));
        if (have != want) {
            const std::string what = "Zelle " + std::to_string(cell);
            grade.deviations.push_back({what, quoted(want), quoted(have),
                                        what + " " + quoted(have) + " statt " + quoted(want)});
        }
    }
    if (grade.passed()) {
        grade.points = taskCase.points;
    }
    return grade;
}

std::vector<ProgramGrade> gradeAll(const Task& task, const std::vector<Submission>& submissions,
                                   unsigned jobs) {
    std::vector<ProgramGrade> grades(submissions.size());
    struct Job {
        std::size_t program;
        std::size_t taskCase;
    };
    std::vector<Job> work;
    for (std::size_t p = 0; p < submissions.size(); ++p) {
        grades[p].name = submissions[p].name;
        if (!submissions[p].text) {
            grades[p].error = submissions[p].error;
            continue;
        }
        grades[p].cases.resize(task.cases.size());
        for (std::size_t c = 0; c < task.cases.size(); ++c) {
            work.push_back({p, c});
        }
    }

    // Each thread takes the next job; each job writes only its own slot of `grades`.
    std::atomic<std::size_t> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    const auto worker = [&] {
        try {
            for (std::size_t j; (j = next.fetch_add(1)) < work.size();) {
                const Job& job = work[j];
                const TaskCase& taskCase = task.cases[job.taskCase];
                const CaseResult result =
                    runCase(caseInput(task, taskCase, *submissions[job.program].text));
                grades[job.program].cases[job.taskCase] = gradeCase(taskCase, result);
            }
        } catch (...) {
            const std::lock_guard<std::mutex> lock(failureLock);
            if (!failure) {
                failure = std::current_exception();
            }
            next = work.size();  // the others stop after their current case
        }
    };
    const std::size_t threads =
        std::clamp<std::size_t>(jobs, 1, std::max<std::size_t>(work.size(), 1));
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threads; ++t) {
        try {
            pool.emplace_back(worker);
        } catch (const std::system_error&) {
            break;  // the system gives no more threads: those running share the work
        }
    }
    worker();
    for (std::thread& thread : pool) {
        thread.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }

    for (ProgramGrade& grade : grades) {
        for (const CaseGrade& c : grade.cases) {
            grade.points += c.points;
        }
    }
    return grades;
}

std::string failureLine(const TaskCase& taskCase, const CaseGrade& grade) {
    return "Fall " + quoted(taskCase.name) + ": " + deviationText(grade);
}

std::string deviationText(const CaseGrade& grade) {
    std::string text;
    for (std::size_t i = 0; i < grade.deviations.size(); ++i) {
        text += (i > 0 ? ", " : "") + grade.deviations[i].line;
    }
    return text;
}

std::string inputsText(const TaskCase& taskCase) {
    if (taskCase.inputs.empty()) {
        return "keine";
    }
    std::string text;
    for (const std::string& input : taskCase.inputs) {
        text += (text.empty() ? "" : ", ") + input;
    }
    return text;
}

std::string caseResultText(const CaseGrade& grade) {
    return grade.passed() ? "bestanden" : deviationText(grade);
}

std::string pointsText(std::int64_t points, std::int64_t total) {
    return std::to_string(points) + " von " + std::to_string(total) + " Punkten";
}

std::string takenOverText(const TaskCase& taskCase) {
    return "Übernommen: „" + taskCase.name + "“ – Eingaben: " + inputsText(taskCase);
}

DataTable caseStartTable(const TaskCase& taskCase) {
    DataTable table;
    fillStartTable(table, taskCase.data, startCells(taskCase));
    return table;
}

}  // namespace quarzel::grading
