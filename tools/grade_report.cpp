#include "tools/grade_report.h"

#include <algorithm>
#include <sstream>
#include <string_view>

#include "files/csv_text.h"
#include "files/html_page.h"
#include "files/visible_text.h"

namespace quarzel::grading {
namespace {

std::string pointsText(std::int64_t points) {
    return std::to_string(points) + (points == 1 ? " Punkt" : " Punkten");
}

std::string scoreText(std::int64_t points, std::int64_t total) {
    return std::to_string(points) + " von " + pointsText(total);
}

// "P von M Punkten", or for a program that could not be read "nicht bewertet".
std::string gradeText(const ProgramGrade& grade, std::int64_t total) {
    return grade.error.empty() ? scoreText(grade.points, total) : "nicht bewertet";
}

// Every text of the page is the user's or the task's: control characters shown as on the
// console, then escaped as the HTML export escapes.
std::string html(const std::string& text) {
    return htmlEscape(visibleText(text));
}

// One line of the console; a learner's name or message cannot break it or steer the terminal.
void consoleLine(std::ostream& out, const std::string& text) {
    out << visibleText(text) << '\n';
}

constexpr char kStyle[] =
    "body{font-family:sans-serif;margin:2em;color:#222}"
    "table{border-collapse:collapse;margin-bottom:1.5em}"
    "th,td{border:1px solid #999;padding:.25em .6em;text-align:left;vertical-align:top}"
    "td.ok{background:#c6efce}td.nein{background:#ffc7ce}td.fehlt{background:#e7e6e6}";

}  // namespace

std::string summaryLine(const Task& task, const std::vector<ProgramGrade>& grades) {
    const std::int64_t total = task.totalPoints();
    std::int64_t sum = 0;
    std::size_t full = 0;
    std::size_t graded = 0;
    for (const ProgramGrade& grade : grades) {
        if (!grade.error.empty()) {
            continue;  // no score at all, not a score of 0
        }
        ++graded;
        sum += grade.points;
        full += grade.points == total ? 1 : 0;
    }
    const std::size_t count = grades.size();
    std::string line = std::to_string(count) + (count == 1 ? " Programm" : " Programme");
    if (graded < count) {
        line += ", " + std::to_string(count - graded) + " nicht bewertet";
    }
    if (graded == 0) {
        return line;
    }
    // The mean of the graded programs with one decimal, rounded half up, with a decimal comma.
    const std::int64_t tenths =
        (sum * 20 + static_cast<std::int64_t>(graded)) / (2 * static_cast<std::int64_t>(graded));
    line += ", " + std::to_string(full) + " mit voller Punktzahl, im Mittel " +
            std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " von " +
            pointsText(total);
    return line;
}

void writeConsoleReport(const Task& task, const std::vector<ProgramGrade>& grades,
                        std::ostream& out) {
    const std::int64_t total = task.totalPoints();
    for (const ProgramGrade& grade : grades) {
        consoleLine(out, grade.name + ": " + gradeText(grade, total));
        if (!grade.error.empty()) {
            consoleLine(out, "  " + grade.error);
        }
        for (std::size_t c = 0; c < grade.cases.size(); ++c) {
            if (!grade.cases[c].passed()) {
                consoleLine(out, "  " + failureLine(task.cases[c], grade.cases[c]));
            }
        }
    }
    consoleLine(out, summaryLine(task, grades));
}

std::string csvReport(const Task& task, const std::vector<ProgramGrade>& grades) {
    std::string csv = std::string(kCsvByteOrderMark) + "Programm";
    for (const TaskCase& c : task.cases) {
        csv += ";" + csvField(c.name);
    }
    csv += std::string(";Summe;Fehler") + kCsvRowEnd;
    for (const ProgramGrade& grade : grades) {
        csv += csvField(grade.name);
        // No points at all rather than zeros, so that nobody takes the row for a score.
        const bool unread = !grade.error.empty();
        for (std::size_t c = 0; c < task.cases.size(); ++c) {
            csv += ";" + (unread ? "" : std::to_string(grade.cases[c].points));
        }
        csv += ";" + (unread ? "" : std::to_string(grade.points)) + ";" + csvField(grade.error) +
               kCsvRowEnd;
    }
    return csv;
}

std::string htmlReport(const Task& task, const std::vector<ProgramGrade>& grades) {
    const std::int64_t total = task.totalPoints();
    std::ostringstream page;
    page << "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
         << "<title>Bewertung: " << html(task.title) << "</title>\n"
         << "<style>" << kStyle << "</style>\n</head>\n<body>\n"
         << "<h1>" << html(task.title) << "</h1>\n"
         << "<p>" << html(summaryLine(task, grades)) << "</p>\n";

    page << "<table>\n<tr><th>Programm</th>";
    for (const TaskCase& c : task.cases) {
        page << "<th>" << html(c.name) << " (" << c.points << (c.points == 1 ? " Punkt" : " Punkte")
             << ")</th>";
    }
    page << "<th>Summe</th></tr>\n";
    for (const ProgramGrade& grade : grades) {
        page << "<tr><th>" << html(grade.name) << "</th>";
        for (std::size_t c = 0; c < task.cases.size(); ++c) {
            if (grade.cases.empty()) {
                page << "<td class=\"fehlt\">–</td>";
            } else if (grade.cases[c].passed()) {
                page << "<td class=\"ok\">" << grade.cases[c].points << " ✓</td>";
            } else {
                page << "<td class=\"nein\">0 ✗</td>";
            }
        }
        page << "<td>" << html(gradeText(grade, total)) << "</td></tr>\n";
    }
    page << "</table>\n";

    bool heading = false;
    for (const ProgramGrade& grade : grades) {
        const bool failed =
            !grade.error.empty() || std::any_of(grade.cases.begin(), grade.cases.end(),
                                                [](const CaseGrade& c) { return !c.passed(); });
        if (!failed) {
            continue;
        }
        if (!heading) {
            page << "<h2>Nicht bestandene Fälle</h2>\n";
            heading = true;
        }
        page << "<h3>" << html(grade.name) << "</h3>\n";
        if (!grade.error.empty()) {
            page << "<p>" << html(grade.error) << "</p>\n";
            continue;
        }
        page << "<table>\n<tr><th>Fall</th><th>Prüfung</th><th>erwartet</th>"
             << "<th>tatsächlich</th></tr>\n";
        for (std::size_t c = 0; c < grade.cases.size(); ++c) {
            for (const Deviation& d : grade.cases[c].deviations) {
                page << "<tr><td>" << html(task.cases[c].name) << "</td><td>" << html(d.what)
                     << "</td><td>" << html(d.expected) << "</td><td>" << html(d.actual)
                     << "</td></tr>\n";
            }
        }
        page << "</table>\n";
    }
    page << "</body>\n</html>\n";
    return page.str();
}

}  // namespace quarzel::grading
