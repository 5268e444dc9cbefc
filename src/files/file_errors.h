// The errors of the file commands, as the central handler shows them.
#pragma once

#include <string>
#include <system_error>

#include "common/system_error.h"

namespace quarzel {

// The operating system's text for `error`, in UTF-8 and in the user's language as far as the
// system has it: strerror under the locale's message language, on Windows the system's own
// message text.
std::string osErrorText(const std::error_code& error);

// "Datei "%s" kann nicht erstellt werden. %s": the full path (UTF-8, as the dialog gave it)
// and the operating system's text for the error.
SystemError fileCreateError(const std::string& path, const std::error_code& error);

// "Datei %s kann nicht geschrieben werden": a name that is taken by something other than a
// regular file (a folder, a device, a pipe), which a write must not replace.
SystemError fileWriteError(const std::string& path);

// "Datei %s kann nicht geöffnet werden. %s", with the system's text for `error` or, where the
// system has no error to tell, our own `reason` (UTF-8).
SystemError fileOpenError(const std::string& path, const std::error_code& error);
SystemError fileOpenError(const std::string& path, const char* reason);

// "Datei „%s“ kann nicht gespeichert werden: %s": a written file that could not be handed on
// to the place the user chose (the browser's writer refused), with the reason (UTF-8).
SystemError fileSaveError(const std::string& name, const std::string& reason);

// "Datei %s ist zu groß für eine Datendatei (höchstens 1 MiB)"
SystemError dataFileTooLargeError(const std::string& path);

// "Text überschreitet Memo-Kapazität": a program text larger than the editor takes.
SystemError memoCapacityError();

}  // namespace quarzel
