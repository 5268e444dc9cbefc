// The primer ("Einführung"): a short German introduction to the language and the program, the
// second page of the reference beside the command list, as both front ends show it.
#pragma once

#include <string>
#include <vector>

namespace quarzel {

inline constexpr char kPrimerTitle[] = "Einführung";
// The button beside a section's program: it goes into the editor (Workbench::tryProgram).
inline constexpr char kPrimerTryCaption[] = "Ausprobieren";

struct PrimerSection {
    std::string title;                    // UTF-8
    std::vector<std::string> paragraphs;  // UTF-8, one paragraph each
    // A small program to try, as the editor holds it (Windows-1252, every line ending in
    // CR LF); empty where the section has none.
    std::string program;
};

// The sections in reading order.
const std::vector<PrimerSection>& primerSections();

}  // namespace quarzel
