// The example programs of examples/, built into the program so that the window and the page
// (which has no files) offer them: each with its name, one German line saying what it shows,
// its program and its data file.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quarzel {

struct BuiltInExample {
    std::string name;  // as in examples/, without ".prg": "summe", "laufzeitfehler/ueberlauf"
    std::string line;  // what it shows: one German line, UTF-8, as a list shows it
    // The program file and the data file as "Laden" reads them: Windows-1252, every line break
    // CR LF.
    std::string program;
    std::optional<std::string> data;  // none: the example has no data file
};

// In the order of src/files/built_in_examples.txt, the list the build embeds them from.
const std::vector<BuiltInExample>& builtInExamples();

}  // namespace quarzel
