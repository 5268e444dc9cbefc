#include "tools/grade_command.h"

#include <algorithm>
#include <thread>

#include "common/quote.h"
#include "common/system_error.h"
#include "common/win1252.h"
#include "files/program_file.h"
#include "files/text_file.h"
#include "grading/class_list.h"
#include "grading/grader.h"
#include "grading/task_file.h"
#include "tools/count_argument.h"
#include "tools/grade_report.h"

namespace quarzel::grading {
namespace {

// --jobs takes a number written with up to four digits, from 1.
constexpr std::size_t kJobDigits = 4;

// Why a link in a class folder is not read: it is shown as the program's message.
constexpr char kLinkLeavesFolder[] =
    "übersprungen: Verknüpfung auf eine Datei außerhalb des Ordners";

}  // namespace

std::string gradeUsageLine() {
    return "Aufruf: quarzel-grade [--csv DATEI.csv] [--html DATEI.html] [--jobs N] "
           "AUFGABE.toml PROGRAMM.prg|ORDNER...";
}

GradeParse parseGradeArguments(const std::vector<std::string>& args) {
    GradeOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "--csv" || arg == "--html") {
            auto& slot = arg == "--csv" ? options.csv : options.html;
            if (slot) {
                return {std::nullopt, arg + " ist mehrfach angegeben"};
            }
            if (!hasValue) {
                return {std::nullopt, "nach " + arg + " fehlt der Dateiname"};
            }
            slot = args[++i];
        } else if (arg == "--jobs") {
            const auto jobs =
                hasValue ? headless::parseCount(args[++i], kJobDigits, 1) : std::nullopt;
            if (!jobs) {
                return {std::nullopt, "--jobs braucht eine ganze Zahl von 1 bis 9999"};
            }
            options.jobs = static_cast<unsigned>(*jobs);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return {std::nullopt, "unbekannte Option " + shortQuoteUtf8(arg)};
        } else {
            positional.push_back(arg);
        }
    }
    if (!options.help) {
        if (positional.empty()) {
            return {std::nullopt, "keine Aufgabendatei angegeben"};
        }
        if (positional.size() == 1) {
            return {std::nullopt, "kein Programm und kein Ordner angegeben"};
        }
    }
    if (!positional.empty()) {
        options.task = positional.front();
        options.paths.assign(positional.begin() + 1, positional.end());
    }
    return {options, ""};
}

int gradeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const GradeParse parsed = parseGradeArguments(args);
    if (!parsed.options) {
        err << "quarzel-grade: " << parsed.problem << ". " << gradeUsageLine() << '\n';
        return kGradeUsage;
    }
    const GradeOptions& options = *parsed.options;
    if (options.help) {
        out << gradeUsageLine() << '\n';
        return kGraded;
    }

    const TaskLoad load = loadTask(options.task);
    if (!load.task) {
        err << "quarzel-grade: " << load.problem << '\n';
        return kGradeUsage;
    }
    const Task& task = *load.task;

    std::vector<Submission> submissions;
    for (const FoundProgram& program : findPrograms(options.paths)) {
        Submission submission{program.name, std::nullopt, ""};
        if (program.leavesFolder) {
            submission.error = kLinkLeavesFolder;
        } else {
            try {
                submission.text = readProgramFile(program.path);
            } catch (const SystemError& error) {
                submission.error = toUtf8(centralHandlerText(error.text()));
            }
        }
        submissions.push_back(std::move(submission));
    }

    const unsigned jobs =
        options.jobs > 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    const std::vector<ProgramGrade> grades = gradeAll(task, submissions, jobs);
    writeConsoleReport(task, grades, out);

    int status = kGraded;
    const auto write = [&](const std::optional<std::string>& path, const std::string& bytes) {
        if (!path) {
            return;
        }
        try {
            writeRegularFile(*path, bytes);
        } catch (const SystemError& error) {
            err << "quarzel-grade: " << toUtf8(centralHandlerText(error.text())) << '\n';
            status = kGradeUsage;
        }
    };
    write(options.csv, csvReport(task, grades));
    write(options.html, htmlReport(task, grades));
    return status;
}

}  // namespace quarzel::grading
