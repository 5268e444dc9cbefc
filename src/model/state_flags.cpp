#include "model/state_flags.h"

namespace quarzel {

void StateFlags::meProgramChange() {
    ProgramModified = true;
    ProgramChecked = false;
    ++Edits;
}

void StateFlags::sgDataSetEditText(int /*column*/, int /*row*/, const std::string& /*text*/) {
    DataModified = true;
    DataChecked = false;
    ++Edits;
}

}  // namespace quarzel
