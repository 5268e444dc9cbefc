// The two lists of boundary.h made into code: the core's exported functions, each of which
// hands an exception that escapes the core to the page as an internal error, and the stubs that
// forward every call of the page's functions, with its arguments, to one dispatcher in the page
// (Module.qzPage), which converts them by the page's copy of the list.
#include "web/boundary.h"

#include <emscripten.h>

#include <cstdlib>
#include <stdexcept>

#include "common/system_error.h"
#include "common/win1252.h"

namespace quarzel {
namespace {

// The central handler's text of a fault of the program itself (UTF-8), as the session's guard
// shows it.
std::string internalErrorText(const std::string& whatUtf8) {
    return toUtf8(centralHandlerText(fromUtf8("Interner Fehler: ") + fromUtf8(whatUtf8)));
}

// The box text of an exception that left the core.
std::string escapedText(const std::exception& error) {
    if (const auto* system = dynamic_cast<const SystemError*>(&error)) {
        return toUtf8(centralHandlerText(system->text()));
    }
    return internalErrorText(error.what());
}

// Runs a call of the page inside the core. Nothing may be thrown through the page's script:
// an exception that escapes is handed to the page, which shows it once the call is over.
template <typename R, typename Call>
R exported(Call&& call) {
    try {
        return call();
    } catch (const std::exception& error) {
        // The stub itself, unchecked: the page takes this text whatever else failed.
        qz_page_coreFailed(escapedText(error).c_str());
    } catch (...) {
        qz_page_coreFailed(internalErrorText("unbekannte Ausnahme").c_str());
    }
    if constexpr (!std::is_void_v<R>) {
        return R{};
    }
}

}  // namespace

// A fault the page met outside the core, in the words of the core's box.
const char* CoreCalls::qz_internal_error_text(ShortText what) {
    static std::string text;
    text = internalErrorText(what);
    return text.c_str();
}

}  // namespace quarzel

// The lists name the text kinds without their namespace.
using quarzel::CellText;
using quarzel::RecordText;
using quarzel::ProgramText;
using quarzel::ShortText;

extern "C" {

#define QZ_EXPORT_CORE_CALL(name, kind, result, parameters, arguments)       \
    EMSCRIPTEN_KEEPALIVE result name parameters {                            \
        return quarzel::exported<result>(                                    \
            [&]() -> result { return quarzel::CoreCalls::name arguments; }); \
    }
QZ_CORE_CALLS(QZ_EXPORT_CORE_CALL)
#undef QZ_EXPORT_CORE_CALL

// A stub of a call that may wait is an import Asyncify knows as such (its name begins with
// "__asyncjs__", as those of EM_ASYNC_JS do). The page decides whether the core may wait now:
// only a command may; otherwise the stub returns at once and the call counts as failed.
// clang-format off
#define QZ_PAGE_STUB_sync(name, result, parameters)                                           \
    _EM_JS(result, qz_page_##name, qz_page_##name, parameters,                               \
           "{ return Module.qzPage(\"" #name "\", arguments); }")
#define QZ_PAGE_STUB_async(name, result, parameters)                                          \
    _EM_JS(result, qz_page_##name, __asyncjs__qz_page_##name, parameters,                    \
           "{ var answer = Module.qzPageAsync(\"" #name "\", arguments);"                     \
           " return answer ? Asyncify.handleAsync(answer) : 0; }")
// clang-format on
#define QZ_PAGE_STUB(name, kind, result, parameters) QZ_PAGE_STUB_##kind(name, result, parameters)
QZ_PAGE_CALLS(QZ_PAGE_STUB)
#undef QZ_PAGE_STUB

// What went wrong in the page during the last call of it, or null: a text allocated here.
EM_JS(char*, qz_page_failure, (), { return Module.qzPageFailure(); });

}  // extern "C"

namespace quarzel::page::detail {

Result<char*>::Type Result<char*>::take(char* text) {
    if (text == nullptr) {
        return std::nullopt;
    }
    std::string result(text);
    std::free(text);
    return result;
}

void checkPageCall(const char* name) {
    if (const auto failure = Result<char*>::take(qz_page_failure())) {
        throw std::runtime_error(std::string(name) + ": " + *failure);
    }
}

}  // namespace quarzel::page::detail
