#include "files/html_page.h"

#include "model/data_table.h"

namespace quarzel {

std::string htmlEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::vector<std::string> htmlPageLines(const std::vector<std::string>& programLines,
                                       const DataTable& table, const std::string& date) {
    std::vector<std::string> page = {
        "<html><head><title>QRZL Ausgabe:</title><style>",
        "h1 {font-family: Arial; font-size: 20px; font-weight: bold; text-align: center; "
        "color: #000000; margin-left: -4cm;}",
        "h2 {font-family: Arial; font-size: 16px; font-weight: bold; text-align: center; "
        "color: #000000; margin-left: -4cm;}",
        "h3 {font-family: Arial; font-size: 16px; font-weight: bold; text-align: left; "
        "color: #000000; margin-left: 0cm;}",
        "BODY {font-family: Courier; font-size: 14px; font-weight: normal; text-align: left; "
        "color: #000000; margin-left: 4cm;}",
        "</style></head><body>",
        std::string("<h1>Quarzel ") + kVersionText + "</h1><p />",
        "<h2>Datum: " + date + "</h2><p />",
        "<h3>Programm:</h3> <p />",
    };
    for (const std::string& line : programLines) {
        if (!line.empty()) {
            page.push_back(htmlEscape(line) + " <br />");
        }
    }
    page.push_back("<h3>Daten:</h3> <p />");
    page.push_back("<table width = \"100%\" border=\"0\" cols =\"3\">");
    page.push_back("<tr><td width = \"10%\"></td><td width = \"20%\"></td><td></td></tr>");
    bool previousLeftOut = false;
    for (int row = 0; row < DataTable::kRowCount; ++row) {
        // A text comparison: "00", "-0", " 0" and the empty value are written.
        if (table.value(row) == "0") {
            if (!previousLeftOut) {
                page.push_back("<tr><td colspan=\"3\">...</td></tr>");
            }
            previousLeftOut = true;
            continue;
        }
        page.push_back("<tr><td> " + table.text(DataTable::kNumberColumn, row) + " </td><td>" +
                       htmlEscape(table.value(row)) + " </td><td>" +
                       htmlEscape(table.comment(row)) + " </td></tr>");
        previousLeftOut = false;
    }
    page.push_back("</table>");
    page.push_back("</body></html>");
    return page;
}

std::string htmlPageText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace quarzel
