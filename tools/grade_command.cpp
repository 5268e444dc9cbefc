#include "grade_command.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>
#include <thread>

#include "common/quote.h"
#include "common/system_error.h"
#include "common/win1252.h"
#include "files/program_file.h"
#include "files/text_file.h"
#include "grade_report.h"
#include "grader.h"
#include "task_file.h"

namespace quarzel::grading {
namespace {

namespace fs = std::filesystem;

bool parseJobs(const std::string& text, unsigned& jobs) {
    if (text.empty() || text.size() > 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    jobs = static_cast<unsigned>(std::stoul(text));
    return jobs >= 1;
}

bool isProgramFile(const fs::path& path) {
    std::string extension = path.extension().u8string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return extension == ".prg";
}

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
            if (!hasValue || !parseJobs(args[++i], options.jobs)) {
                return {std::nullopt, "--jobs braucht eine ganze Zahl von 1 bis 9999"};
            }
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

std::vector<FoundProgram> findPrograms(const std::vector<std::string>& paths) {
    std::vector<std::string> files;
    for (const std::string& given : paths) {
        const fs::path path = fs::u8path(given);
        std::error_code error;
        if (!fs::is_directory(path, error)) {
            files.push_back(given);  // a file that cannot be read is reported in its own row
            continue;
        }
        for (fs::directory_iterator it(path, error), end; !error && it != end;
             it.increment(error)) {
            if (isProgramFile(it->path()) && it->is_regular_file(error)) {
                files.push_back(it->path().u8string());
            }
        }
    }
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());

    std::map<std::string, int> uses;
    for (const std::string& file : files) {
        ++uses[fs::u8path(file).filename().u8string()];
    }
    std::vector<FoundProgram> found;
    for (const std::string& file : files) {
        const std::string name = fs::u8path(file).filename().u8string();
        found.push_back({uses[name] > 1 ? file : name, file});
    }
    std::stable_sort(found.begin(), found.end(), [](const FoundProgram& a, const FoundProgram& b) {
        return fs::u8path(a.path).filename().u8string() < fs::u8path(b.path).filename().u8string();
    });
    return found;
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
        try {
            submission.text = readProgramFile(program.path);
        } catch (const SystemError& error) {
            submission.error = toUtf8(centralHandlerText(error.text()));
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
            writeFileAtomically(*path, bytes);
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
