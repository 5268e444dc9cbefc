#include "model/state_flags.h"

namespace quarzel {

void StateFlags::meProgramChange() {
    ProgramModified = true;
    ProgramChecked = false;
}

void StateFlags::sgDataSetEditText(int /*column*/, int /*row*/, const std::string& /*text*/) {
    DataModified = true;
    DataChecked = false;
}

}  // namespace quarzel
