// The command reference ("Hilfe"): the fixed German text of the instruction set that the
// window's reference and the page's panel both show.
#pragma once

#include <string>
#include <vector>

namespace quarzel {

// The lines as UTF-8, colons of the instruction lines in column 20.
const std::vector<std::string>& referenceLines();

}  // namespace quarzel
