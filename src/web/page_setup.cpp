// What the page takes from the core when it starts, as one JSON object: the controls' names,
// the captions, the command numbers, the colours, the table's geometry, the version and the
// longest text of each kind the core takes. Nothing of it is copied into the page's script.
#include <cstddef>
#include <string>

#include "common/system_error.h"
#include "common/win1252.h"
#include "files/data_file.h"
#include "files/html_page.h"
#include "files/program_file.h"
#include "files/trace_table.h"
#include "model/data_table.h"
#include "screen/caption_table.h"
#include "screen/colours.h"
#include "screen/commands.h"
#include "screen/layout_fields.h"
#include "screen/main_layout.h"
#include "screen/narrow_layout.h"
#include "screen/run_timers.h"
#include "web/boundary.h"

namespace quarzel {
namespace {

// The longest text of each kind the page hands in, in UTF-8 bytes: a Windows-1252 character
// takes at most three, and so does a UTF-16 unit of the page's (a character beyond takes four
// for two units). A program the editor takes fits, and so does a table a data file can hold.
constexpr std::size_t kProgramTextLimit = 3 * kMaxProgramFileBytes;
constexpr std::size_t kCellTextLimit = 3 * static_cast<std::size_t>(kCellTextMaxLength);
constexpr std::size_t kRecordTextLimit = 3 * (kMaxProgramFileBytes + kMaxDataFileBytes) + 1024;
constexpr std::size_t kShortTextLimit = 1024;

// A JSON object written member by member; texts are UTF-8.
class JsonObject {
  public:
    JsonObject& text(const char* name, const std::string& value) {
        return member(name, quoted(value));
    }
    JsonObject& number(const char* name, long long value) {
        return member(name, std::to_string(value));
    }
    JsonObject& raw(const char* name, const std::string& json) { return member(name, json); }
    std::string str() const { return "{" + m_members + "}"; }

    static std::string quoted(const std::string& text) {
        std::string out = "\"";
        for (const char c : text) {
            if (c == '"' || c == '\\') {
                out += '\\';
                out += c;
            } else if (c == '\n') {
                out += "\\n";
            } else {
                out += c;
            }
        }
        return out + "\"";
    }

  private:
    JsonObject& member(const char* name, const std::string& json) {
        m_members += (m_members.empty() ? "" : ",") + quoted(name) + ":" + json;
        return *this;
    }

    std::string m_members;
};

template <typename Rows, typename Name>
std::string nameList(const Rows& rows, Name&& name) {
    std::string json;
    for (const auto& row : rows) {
        json += (json.empty() ? "" : ",") + JsonObject::quoted(name(row));
    }
    return "[" + json + "]";
}

std::string css(const Rgb& colour) {
    return "rgb(" + std::to_string(colour.red) + ", " + std::to_string(colour.green) + ", " +
           std::to_string(colour.blue) + ")";
}

std::string setupJson() {
    JsonObject captions;
    for (const CaptionField& field : kCaptionFields) {
        captions.text(field.name, field.text);
    }
    JsonObject commands;
    for (const CommandName& row : kCommands) {
        commands.number(row.name, static_cast<int>(row.command));
    }
    JsonObject colours;
    colours.text("square", css(kSquareColour))
        .text("write", css(kWriteColour))
        .text("read", css(kReadColour))
        .text("breakpoint", css(kBreakpointColour))
        .text("currentLineArrow", css(kCurrentLineArrowColour))
        .text("passed", css(kPassedColour))
        .text("failed", css(kFailedColour))
        .text("face", css(kPageFaceColour));
    JsonObject table;
    table.number("rows", DataTable::kRowCount)
        .number("rowHeight", kDataRowHeight)
        .number("numberWidth", kNumberColumnWidth)
        .number("valueWidth", kValueColumnWidth)
        .number("cellMaxLength", kCellTextMaxLength);
    JsonObject limits;
    limits.number("ProgramText", static_cast<long long>(kProgramTextLimit))
        .number("CellText", static_cast<long long>(kCellTextLimit))
        .number("RecordText", static_cast<long long>(kRecordTextLimit))
        .number("ShortText", static_cast<long long>(kShortTextLimit));
    // The register fields and speed buttons are listed in the order of the numbers the core
    // sends for them.
    return JsonObject()
        .text("version", kVersionText)
        .text("applicationTitle", kApplicationTitle)
        .raw("layoutFields", nameList(kLayoutFields, [](const LayoutField& f) { return f.name; }))
        .raw("registerFields",
             nameList(kRegisterFields, [](const RegisterField& f) { return f.name; }))
        .raw("speedButtons", nameList(kSpeedButtons, [](const SpeedButton& b) { return b.name; }))
        .raw("captions", captions.str())
        .raw("commands", commands.str())
        .raw("colours", colours.str())
        .number("framePenWidth", kFramePenWidth)
        .number("reportPaceMs", kReportPaceMs)
        .raw("table", table.str())
        .raw("textLimits", limits.str())
        .raw("traceColumns",
             nameList(traceColumns(), [](const char* column) { return toUtf8(column); }))
        .str();
}

}  // namespace

const char* CoreCalls::qz_page_setup() {
    static const std::string json = setupJson();
    return json.c_str();
}

// The layout for the page's client size, in the form the size asks for: every control's
// rectangle by its name, the surface's size and where the run panel stays. `touch`: the page is
// used with a finger.
const char* CoreCalls::qz_layout(int width, int height, bool touch) {
    static std::string json;
    const PageLayout page = computePageLayout(width, height, touch);
    JsonObject rects;
    const auto add = [&rects](const char* name, const LayoutRect& r) {
        rects.raw(name, "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                            std::to_string(r.width) + "," + std::to_string(r.height) + "]");
    };
    for (const LayoutField& field : kLayoutFields) {
        add(field.name, page.controls.*field.rect);
    }
    for (const LearnLayoutField& field : kLearnLayoutFields) {
        add(field.name, page.learn.*field.rect);
    }
    const char* sentenceBox = "";
    for (const LayoutField& field : kLayoutFields) {
        if (field.rect == page.sentenceBox) {
            sentenceBox = field.name;
        }
    }
    json = JsonObject()
               .raw("narrow", page.narrow ? "true" : "false")
               .raw("runPanelFixed", page.runPanelFixed ? "true" : "false")
               .number("width", page.width)
               .number("height", page.height)
               .text("sentenceBox", sentenceBox)
               .raw("rects", rects.str())
               .str();
    return json.c_str();
}

}  // namespace quarzel
