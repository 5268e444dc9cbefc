// The German words for how a case ended, made from its typed end and nowhere else: the line a
// run prints last, which a task file's "ende" names, and the short form of the grader's console.
#pragma once

#include <optional>
#include <string>

#include "grading/case_run.h"

namespace quarzel::grading {

// "STP", or the message line the case ends with: "Laufzeitfehler: Division durch Null",
// "Quarzel 3: Schrittgrenze erreicht.", ... (UTF-8). A passed check alone ends with no line.
std::string endText(const CaseResult& result);

// How the grader's console words an unexpected end that needs no comparison with the expected
// one ("Endlosschleife ab Zeile 2"); none when "endet mit ... statt ..." says it better.
std::optional<std::string> endSummary(const CaseResult& result);

}  // namespace quarzel::grading
