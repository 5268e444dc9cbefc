#include "tools/utf8_args.h"

#include <clocale>
#include <csignal>

#include "tools/standard_output.h"

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs the types of windows.h
#include <shellapi.h>
#endif

namespace quarzel::headless {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide != nullptr) {
        std::vector<std::string> args;
        for (int i = 1; i < count; ++i) {
            const int bytes =
                WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
            std::string arg(bytes > 0 ? static_cast<std::size_t>(bytes - 1) : 0, '\0');
            if (bytes > 1) {
                WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), bytes, nullptr, nullptr);
            }
            args.push_back(std::move(arg));
        }
        LocalFree(wide);
        return args;
    }
#endif
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void prepareProcess() {
    occupyClosedStandardStreams();
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef LC_MESSAGES
    std::setlocale(LC_MESSAGES, "");
#endif
    std::setlocale(LC_CTYPE, "");
}

}  // namespace quarzel::headless
