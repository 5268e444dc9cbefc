// The core's side of the page's calls for the run's learning aids: the sentence "Was geschah",
// the protocol's rows and export, and the moves of "Verlauf".
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "common/win1252.h"
#include "files/trace_table.h"
#include "session/workbench.h"
#include "web/boundary.h"
#include "web/web_app.h"

namespace quarzel {
namespace {

std::string g_learnText;  // the last text handed to the page; valid until the next call

const char* handOut(std::string text) {
    g_learnText = std::move(text);
    return g_learnText.c_str();
}

// A JSON string of a UTF-8 text: a program line may hold tabs and other control characters.
void appendJsonString(std::string& out, const std::string& utf8) {
    out += '"';
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

// A step number from the page: whole, not negative, and within what a step count can be.
std::uint64_t stepNumber(double step) {
    if (!(step >= 0)) {
        return 0;
    }
    if (step >= 18446744073709551615.0) {
        return UINT64_MAX;
    }
    return static_cast<std::uint64_t>(std::floor(step));
}

}  // namespace

const char* CoreCalls::qz_step_sentence() {
    return handOut(toUtf8(webApp().workbench().stepSentence()));
}

const char* CoreCalls::qz_trace_span() {
    const StepSpan span = webApp().workbench().traceSpan();
    return handOut("[" + std::to_string(span.first) + "," + std::to_string(span.last) + "]");
}

// The rows of the steps from `first` on, at most `count` of them, those the protocol holds.
const char* CoreCalls::qz_trace_rows(double first, int count) {
    const Workbench& wb = webApp().workbench();
    const StepSpan span = wb.traceSpan();
    std::string json = "[";
    if (count > 0 && !span.empty()) {
        const std::uint64_t from = std::max(stepNumber(first), span.first);
        const std::uint64_t wanted = static_cast<std::uint64_t>(count);
        for (std::uint64_t step = from; step <= span.last && step - from < wanted; ++step) {
            json += step == from ? "[" : ",[";
            bool firstField = true;
            for (const std::string& field : wb.traceRow(step)) {
                if (!firstField) {
                    json += ',';
                }
                firstField = false;
                appendJsonString(json, toUtf8(field));
            }
            json += ']';
        }
    }
    return handOut(json + "]");
}

void CoreCalls::qz_trace_export(int format) {
    if (format == 0 || format == 1) {
        webApp().workbench().btTraceExportClick(format == 0 ? TraceFormat::Csv : TraceFormat::Html);
    }
}

void CoreCalls::qz_history_move(double step) {
    webApp().workbench().historyMove(stepNumber(step));
}

void CoreCalls::qz_back_to_breakpoint() {
    webApp().workbench().btBackToBreakpointClick();
}

}  // namespace quarzel
