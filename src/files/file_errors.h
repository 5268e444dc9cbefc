// The errors of the file commands, as the central handler shows them.
#pragma once

#include <string>
#include <system_error>

#include "common/system_error.h"

namespace quarzel {

// "Datei "%s" kann nicht erstellt werden. %s": the full path (UTF-8, as the dialog gave it)
// and the operating system's text for the error.
SystemError fileCreateError(const std::string& path, const std::error_code& error);

// "Datei %s kann nicht geöffnet werden. %s"
SystemError fileOpenError(const std::string& path, const std::error_code& error);

// "Text überschreitet Memo-Kapazität": a program text larger than the editor takes.
SystemError memoCapacityError();

}  // namespace quarzel
