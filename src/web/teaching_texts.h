// The texts of "Beispiele" and of the primer ("Einführung") as the page takes them: JSON, every
// text UTF-8, the primer's programs with plain line feeds.
#pragma once

#include <string>

namespace quarzel {

// [{"name": ..., "line": ...}, ...] in the order of builtInExamples(): a list entry's index is
// the example's number for Workbench::loadExample.
std::string exampleListJson();

// [{"title": ..., "paragraphs": [...], "program": ...}, ...] in the order of primerSections();
// "program" is empty where a section has none.
std::string primerJson();

}  // namespace quarzel
