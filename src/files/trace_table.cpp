#include "files/trace_table.h"

#include <charconv>

#include "common/win1252.h"
#include "files/csv_text.h"
#include "files/html_page.h"

namespace quarzel {
namespace {

const char* accessText(const TraceRow& row) {
    return row.cell == 0 ? "" : traceAccessText(row.write);
}

template <typename Number>
void appendNumber(std::string& out, Number value) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end);
}

}  // namespace

const char* traceAccessText(bool write) {
    return write ? "schreiben" : "lesen";
}

const std::array<const char*, kTraceColumnCount>& traceColumns() {
    static const std::array<const char*, kTraceColumnCount> columns = {
        "Schritt", "Zeile",     "Befehl", "Akku",  "Fenster",
        "Index",   "Anweisung", "Stack",  "Zelle", "Zugriff"};
    return columns;
}

std::string_view traceCommand(std::string_view lineText) {
    while (!lineText.empty() && (lineText.back() == ' ' || lineText.back() == '\t')) {
        lineText.remove_suffix(1);
    }
    return lineText;
}

TraceTexts traceTexts(const TraceRow& row, std::string_view lineText) {
    const Registers& r = row.after;
    return {std::to_string(row.step),
            std::to_string(static_cast<std::int64_t>(row.line) + 1),
            std::string(traceCommand(lineText)),
            std::to_string(r.VM_Accu),
            std::to_string(r.VM_Window),
            std::to_string(r.VM_Index),
            std::to_string(r.VM_IP),
            std::to_string(r.VM_SP),
            row.cell == 0 ? std::string() : std::to_string(row.cell),
            accessText(row)};
}

std::string traceCsvHeader() {
    std::string header = kCsvByteOrderMark;
    for (const char* column : traceColumns()) {
        if (header.size() > sizeof kCsvByteOrderMark - 1) {
            header += kCsvSeparator;
        }
        header += column;
    }
    return header + kCsvRowEnd;
}

std::string traceCsvCommand(std::string_view lineText) {
    return csvField(toUtf8(traceCommand(lineText)));
}

void appendTraceCsvRow(std::string& out, const TraceRow& row, std::string_view commandField) {
    // Numbers stay numbers: a negative one gets no quote in front, unlike a text field.
    const Registers& r = row.after;
    appendNumber(out, row.step);
    out += kCsvSeparator;
    appendNumber(out, static_cast<std::int64_t>(row.line) + 1);
    out += kCsvSeparator;
    out += commandField;
    for (const std::int32_t value : {r.VM_Accu, r.VM_Window, r.VM_Index, r.VM_IP, r.VM_SP}) {
        out += kCsvSeparator;
        appendNumber(out, value);
    }
    out += kCsvSeparator;
    if (row.cell != 0) {
        appendNumber(out, row.cell);
    }
    out += kCsvSeparator;
    out += accessText(row);
    out += kCsvRowEnd;
}

std::string traceHtmlPage(const std::vector<TraceTexts>& rows) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Ablaufprotokoll</title>\n<style>"
        "body{font-family:sans-serif;margin:2em;color:#222}"
        "table{border-collapse:collapse}"
        "th,td{border:1px solid #999;padding:.2em .5em;text-align:right}"
        "td.befehl{text-align:left;font-family:monospace;white-space:pre}"
        "</style>\n</head>\n<body>\n<h1>Quarzel " +
        std::string(kVersionText) + ": Ablaufprotokoll</h1>\n<table>\n<tr>";
    for (const char* column : traceColumns()) {
        page += std::string("<th>") + column + "</th>";
    }
    page += "</tr>\n";
    for (const TraceTexts& texts : rows) {
        page += "<tr>";
        for (std::size_t c = 0; c < kTraceColumnCount; ++c) {
            page += c == 2 ? "<td class=\"befehl\">" : "<td>";
            page += htmlEscape(toUtf8(texts[c]));
            page += "</td>";
        }
        page += "</tr>\n";
    }
    return page + "</table>\n</body>\n</html>\n";
}

}  // namespace quarzel
