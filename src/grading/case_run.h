// One case: a program, its memory and its inputs run headless on a workbench of its own, to a
// typed end. quarzel-run, quarzel-grade and the window's grading all run a case through here.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "machine/run_loop.h"
#include "model/data_table.h"
#include "model/machine_state.h"
#include "model/trace_row.h"

namespace quarzel::grading {

// Everything a run needs, already in memory.
struct CaseInput {
    std::string program;              // Windows-1252, CR LF breaks, as readProgramFile gives it
    std::optional<std::string> data;  // as readDataFileText gives it; none: every cell "0"
    std::vector<std::pair<int, std::string>> cells;  // cell 1..512 -> value (Windows-1252),
                                                     // set after `data`
    std::vector<std::string> inputs;                 // UTF-8, one per INP in order
    std::uint64_t maxSteps = kDefaultStepLimit;
    bool detectLoops = false;
    bool checkOnly = false;
    TraceSink* trace = nullptr;  // hears every executed step (quarzel-run --trace)
};

// How a case ended. Each end that comes with a box keeps the box's text in `message`.
enum class CaseEnd {
    Stopped,             // STP reached
    CheckPassed,         // checkOnly: both checks passed, nothing ran
    RunTimeError,        // "Division durch Null", ...
    SystemError,         // the central handler's text, before or during the run
    StepLimit,           // maxSteps taken without STP
    EndlessLoop,         // loopLine: where the repeated state is
    ProgramCheckFailed,  // the checker's message; nothing ran
    DataCheckFailed,     // the data check's message; nothing ran
    DataUnreadable,      // the data text is no data file; the central handler's text
};

struct CaseResult {
    CaseEnd end = CaseEnd::Stopped;
    std::string message;          // UTF-8, see CaseEnd
    std::int32_t loopLine = 0;    // EndlessLoop: the program line, counted from 1
    std::uint64_t stepLimit = 0;  // the limit the case ran with
    // Every message box of the case as quarzel-run prints it: "CAPTION: TEXT" in UTF-8, the
    // step limit and endless loop lines included.
    std::vector<std::string> messages;
    bool ran = false;  // the checks passed and the program was started
    Registers registers;
    std::uint64_t steps = 0;
    DataTable table;  // the memory table at the end, comments included
};

// The memory a case starts with: the data file's text (none: every cell "0"), then the single
// cells (Windows-1252; an empty value means "0", as in a data file). An ill-formed data text
// raises its system error.
void fillStartTable(DataTable& table, const std::optional<std::string>& data,
                    const std::vector<std::pair<int, std::string>>& cells);

// Runs one case; safe to call from several threads at once.
CaseResult runCase(const CaseInput& input);

// One case run in parts, for a caller that must not wait for it whole (the page's "Testen"): it
// ends exactly as runCase ends, however it is divided.
class CaseRun {
  public:
    // Prepares the case: memory, program and the two checks; a case that ends before it runs
    // (a check failed, an unreadable data text, checkOnly) is finished at once. `input` must
    // outlive the run.
    explicit CaseRun(const CaseInput& input);
    ~CaseRun();
    CaseRun(const CaseRun&) = delete;
    CaseRun& operator=(const CaseRun&) = delete;

    // Runs at most `steps` more steps; true once the case has ended.
    bool advance(std::uint64_t steps);
    bool finished() const { return m_finished; }
    // The result, once finished.
    const CaseResult& result() const { return m_result; }

  private:
    struct Session;
    void finish(CaseEnd end, std::string message = "");

    const CaseInput& m_input;
    std::unique_ptr<Session> m_session;
    std::ostringstream m_lines;
    CaseResult m_result;
    bool m_finished = false;
};

}  // namespace quarzel::grading
