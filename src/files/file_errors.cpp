#include "files/file_errors.h"

#include "common/win1252.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace quarzel {

std::string osErrorText(const std::error_code& error) {
#ifdef _WIN32
    // The C runtime knows only English texts; the system says it in the user's language.
    if (error.category() == std::system_category()) {
        wchar_t* buffer = nullptr;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(error.value()), 0,
                           reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
        std::string text;
        if (length > 0 && buffer != nullptr) {
            const int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length),
                                                  nullptr, 0, nullptr, nullptr);
            text.resize(static_cast<std::size_t>(bytes));
            WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), text.data(), bytes,
                                nullptr, nullptr);
        }
        LocalFree(buffer);
        while (!text.empty() &&
               (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
            text.pop_back();
        }
        if (!text.empty()) {
            return text;
        }
    }
#endif
    return error.message();
}

SystemError fileCreateError(const std::string& path, const std::error_code& error) {
    return SystemError(
        fromUtf8("Datei \"" + path + "\" kann nicht erstellt werden. " + osErrorText(error)));
}

SystemError fileWriteError(const std::string& path) {
    return SystemError(fromUtf8("Datei " + path + " kann nicht geschrieben werden"));
}

SystemError fileOpenError(const std::string& path, const std::error_code& error) {
    return fileOpenError(path, osErrorText(error).c_str());
}

SystemError fileOpenError(const std::string& path, const char* reason) {
    return SystemError(
        fromUtf8("Datei " + path + " kann nicht geöffnet werden. " + std::string(reason)));
}

SystemError fileSaveError(const std::string& name, const std::string& reason) {
    return SystemError(fromUtf8("Datei „" + name + "“ kann nicht gespeichert werden: " + reason));
}

SystemError dataFileTooLargeError(const std::string& path) {
    return SystemError(
        fromUtf8("Datei " + path + " ist zu groß für eine Datendatei (höchstens 1 MiB)"));
}

SystemError memoCapacityError() {
    return SystemError(fromUtf8("Text überschreitet Memo-Kapazität"));
}

}  // namespace quarzel
