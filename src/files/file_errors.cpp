#include "files/file_errors.h"

#include "common/win1252.h"

namespace quarzel {

SystemError fileCreateError(const std::string& path, const std::error_code& error) {
    return SystemError(
        fromUtf8("Datei \"" + path + "\" kann nicht erstellt werden. " + error.message()));
}

SystemError fileOpenError(const std::string& path, const std::error_code& error) {
    return SystemError(
        fromUtf8("Datei " + path + " kann nicht geöffnet werden. " + error.message()));
}

SystemError memoCapacityError() {
    return SystemError(fromUtf8("Text überschreitet Memo-Kapazität"));
}

}  // namespace quarzel
