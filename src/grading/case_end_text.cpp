#include "grading/case_end_text.h"

#include "common/system_error.h"
#include "machine/run_loop.h"

namespace quarzel::grading {

std::string endText(const CaseResult& result) {
    const std::string title = kApplicationTitle;
    switch (result.end) {
        case CaseEnd::Stopped:
            return "STP";
        case CaseEnd::CheckPassed:
            return "";
        case CaseEnd::RunTimeError:
            return "Laufzeitfehler: " + result.message;
        case CaseEnd::SystemError:
        case CaseEnd::DataUnreadable:
            return title + ": " + result.message;
        case CaseEnd::StepLimit:
            return title + ": Schrittgrenze erreicht.";
        case CaseEnd::EndlessLoop:
            return title + ": " + endlessLoopText(result.loopLine);
        case CaseEnd::ProgramCheckFailed:
            return "Programmfehler: " + result.message;
        case CaseEnd::DataCheckFailed:
            return "Datenfehler: " + result.message;
    }
    return "";
}

std::optional<std::string> endSummary(const CaseResult& result) {
    switch (result.end) {
        case CaseEnd::EndlessLoop:
            return "Endlosschleife ab Zeile " + std::to_string(result.loopLine);
        case CaseEnd::StepLimit:
            return "Schrittgrenze (" + std::to_string(result.stepLimit) + ") erreicht";
        case CaseEnd::SystemError:
            // Before the run a system error is the program's fault as a check's is.
            if (result.ran) {
                return std::nullopt;
            }
            return endText(result);
        case CaseEnd::ProgramCheckFailed:
        case CaseEnd::DataCheckFailed:
        case CaseEnd::DataUnreadable:
            return endText(result);
        case CaseEnd::Stopped:
        case CaseEnd::CheckPassed:
        case CaseEnd::RunTimeError:
            break;
    }
    return std::nullopt;
}

}  // namespace quarzel::grading
