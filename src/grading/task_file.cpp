#include "grading/task_file.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <set>
#include <sstream>

#include "checker/check_data.h"
#include "common/system_error.h"
#include "common/win1252.h"
#include "files/data_file.h"
#include "files/text_file.h"
#include "grading/headless_views.h"
#include "grading/toml_guard.h"
#include "model/data_table.h"

// The parser is used header-only on every platform, so nothing has to be linked or shipped;
// paths reach it as UTF-8, so it needs no wide-string entry points on Windows.
#define TOML_HEADER_ONLY 1
#define TOML_ENABLE_WINDOWS_COMPAT 0
// Task files are only read, never written: no formatter is compiled in.
#define TOML_ENABLE_FORMATTERS 0
#include <toml++/toml.h>

namespace quarzel::grading {
namespace {

constexpr std::int64_t kMaxPoints = 1000000;
// Far above what a learner's program needs, and still about a second per case (an INC loop
// takes 0.9 s for it): a larger limit would let one case hold up the whole class for minutes.
constexpr std::int64_t kMaxStepLimit = 100000000;

// Why a data file's text is no whole table, or none: 512 lines, each with its two colons.
std::optional<std::string> wholeTableProblem(std::string_view text) {
    const DataWalk walk = walkDataLines(text, [](int, std::string_view, std::string_view) {});
    switch (walk.end) {
        case DataWalk::MissingLine:
            return "nur " + std::to_string(walk.row) + " von " +
                   std::to_string(DataTable::kRowCount) + " Zeilen";
        case DataWalk::MissingColons:
            return "in Zeile " + std::to_string(walk.row + 1) + " fehlen die zwei Doppelpunkte";
        case DataWalk::Whole:
            break;
    }
    return std::nullopt;
}

// The data check's message for a table that fails it, or none.
std::optional<std::string> dataCheckProblem(const DataTable& table) {
    std::ostringstream ignored;
    headless::LinePrompts prompts(ignored);
    if (CheckData(table, prompts)) {
        return std::nullopt;
    }
    return prompts.lastText();
}

// Walks the parsed file and collects every problem; the one nearest the top is reported.
class Reader {
  public:
    Reader(std::string path, const DataFilePlaces& places)
        : m_path(std::move(path)), m_places(places) {}

    void problem(const toml::source_region& where, const std::string& key,
                 const std::string& text) {
        const auto line = where.begin.line;
        if (!m_first || line < m_firstLine) {
            m_first =
                m_path + ", Zeile " + std::to_string(line) + ", Schlüssel \"" + key + "\": " + text;
            m_firstLine = line;
        }
    }
    bool failed() const { return m_first.has_value(); }
    const std::string& message() const { return *m_first; }

    std::optional<std::string> text(const toml::node& node, const std::string& key) {
        if (const auto* value = node.as_string()) {
            return value->get();
        }
        problem(node.source(), key, "Text erwartet");
        return std::nullopt;
    }

    std::optional<std::int64_t> integer(const toml::node& node, const std::string& key,
                                        std::int64_t low, std::int64_t high) {
        const auto* value = node.as_integer();
        if (!value) {
            problem(node.source(), key, "ganze Zahl erwartet");
            return std::nullopt;
        }
        if (value->get() < low || value->get() > high) {
            problem(
                node.source(), key,
                "Zahl von " + std::to_string(low) + " bis " + std::to_string(high) + " erwartet");
            return std::nullopt;
        }
        return value->get();
    }

    const toml::table* table(const toml::node& node, const std::string& key) {
        if (const auto* value = node.as_table()) {
            return value;
        }
        problem(node.source(), key, "Tabelle erwartet");
        return nullptr;
    }

    void unknown(const toml::key& key, const std::string& path) {
        problem(key.source(), path, "unbekannter Schlüssel");
    }

    Task read(const toml::table& root) {
        Task task;
        task.title = std::filesystem::u8path(m_path).stem().u8string();
        for (const auto& [key, node] : root) {
            const std::string name(key.str());
            if (name == "titel") {
                if (auto value = text(node, name)) {
                    task.title = *value;
                }
            } else if (name == "schrittgrenze") {
                if (auto value = integer(node, name, 1, kMaxStepLimit)) {
                    task.stepLimit = static_cast<std::uint64_t>(*value);
                }
            } else if (name == "fall") {
                readCases(node, task);
            } else {
                unknown(key, name);
            }
        }
        if (!root.contains("fall") && !failed()) {
            m_first = m_path + ", Schlüssel \"fall\": kein Fall angegeben ([[fall]] fehlt)";
        }
        // A task nobody can score on is the teacher's slip, not the class's.
        if (!failed() && task.totalPoints() == 0) {
            m_first = m_path + ", Schlüssel \"fall.punkte\": alle Fälle zusammen geben 0 Punkte";
        }
        return task;
    }

  private:
    void readCases(const toml::node& node, Task& task) {
        const auto* cases = node.as_array();
        if (!cases || !cases->is_array_of_tables() || cases->empty()) {
            problem(node.source(), "fall", "Liste von Fällen [[fall]] erwartet");
            return;
        }
        std::set<std::string> names;
        for (const toml::node& element : *cases) {
            const toml::table& table = *element.as_table();
            TaskCase taskCase;
            bool haveName = false;
            const toml::node* start = nullptr;
            for (const auto& [key, value] : table) {
                const std::string name(key.str());
                const std::string path = "fall." + name;
                if (name == "name") {
                    if (auto text = this->text(value, path)) {
                        taskCase.name = *text;
                        haveName = true;
                        if (!names.insert(*text).second) {
                            problem(value.source(), path, "Fall \"" + *text + "\" gibt es schon");
                        }
                    }
                } else if (name == "daten") {
                    if (auto file = text(value, path)) {
                        taskCase.data = readData(*file, value.source(), path);
                    }
                } else if (name == "anfang") {
                    start = &value;
                    if (const auto* cells = this->table(value, path)) {
                        readCells(*cells, path, taskCase.start);
                    }
                } else if (name == "eingaben") {
                    readInputs(value, path, taskCase.inputs);
                } else if (name == "punkte") {
                    if (auto points = integer(value, path, 0, kMaxPoints)) {
                        taskCase.points = *points;
                    }
                } else if (name == "erwartet") {
                    if (const auto* expected = this->table(value, path)) {
                        readExpectation(*expected, taskCase.expected);
                    }
                } else {
                    unknown(key, path);
                }
            }
            if (!haveName) {
                problem(table.source(), "fall.name", "fehlt");
            }
            if (start != nullptr && table.contains("daten")) {
                problem(start->source(), "fall.anfang",
                        "nur eines von \"anfang\" und \"daten\" angeben");
            } else if (start != nullptr) {
                checkStart(taskCase.start, start->source());
            }
            task.cases.push_back(std::move(taskCase));
        }
    }

    void readInputs(const toml::node& node, const std::string& path,
                    std::vector<std::string>& inputs) {
        const auto* list = node.as_array();
        if (!list) {
            problem(node.source(), path, "Liste von Texten erwartet");
            return;
        }
        for (const toml::node& element : *list) {
            if (auto value = text(element, path)) {
                inputs.push_back(*value);
            }
        }
    }

    void readExpectation(const toml::table& table, Expectation& expected) {
        for (const auto& [key, value] : table) {
            const std::string name(key.str());
            const std::string path = "fall.erwartet." + name;
            const auto check = std::find_if(kRegisterChecks.begin(), kRegisterChecks.end(),
                                            [&](const RegisterCheck& c) { return name == c.key; });
            if (check != kRegisterChecks.end()) {
                if (auto number = integer(value, path, std::numeric_limits<std::int32_t>::min(),
                                          std::numeric_limits<std::int32_t>::max())) {
                    expected.registers[static_cast<std::size_t>(check - kRegisterChecks.begin())] =
                        static_cast<std::int32_t>(*number);
                }
            } else if (name == "ende") {
                if (auto text = this->text(value, path)) {
                    expected.end = *text;
                }
            } else if (name == "zellen") {
                if (const auto* cells = this->table(value, path)) {
                    readCells(*cells, path, expected.cells);
                }
            } else {
                unknown(key, path);
            }
        }
    }

    void readCells(const toml::table& cells, const std::string& path,
                   std::vector<std::pair<int, std::string>>& into) {
        for (const auto& [key, value] : cells) {
            const std::string name(key.str());
            const std::string cellPath = path + "." + name;
            const bool digits =
                !name.empty() && name.size() <= 3 &&
                std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
            const int cell = digits ? std::stoi(name) : 0;
            if (cell < 1 || cell > kCellCount) {
                problem(key.source(), cellPath, "Zellnummer von 1 bis 512 erwartet");
                continue;
            }
            // A value may be written as a number; the table holds it as decimal text.
            if (const auto* number = value.as_integer()) {
                into.emplace_back(cell, std::to_string(number->get()));
            } else if (const auto* text = value.as_string()) {
                into.emplace_back(cell, text->get());
            } else {
                problem(value.source(), cellPath, "ganze Zahl oder Text erwartet");
            }
        }
        std::sort(into.begin(), into.end());
    }

    std::optional<std::string> readData(const std::string& file, const toml::source_region& where,
                                        const std::string& key) {
        const auto placed = m_places.find(file);
        const std::string full =
            placed != m_places.end() ? placed->second : taskDataPath(m_path, file);
        // A file that the run could not load, or whose data the check refuses, would fail
        // every learner's case for the teacher's mistake: it is refused now.
        const std::string name = "\"" + file + "\"";
        std::string text;
        DataTable table;
        try {
            text = readDataFileText(full);
            if (const auto whole = wholeTableProblem(text)) {
                problem(where, key, name + " ist keine vollständige Datentabelle: " + *whole);
                return std::nullopt;
            }
            applyDataFileText(text, table);
        } catch (const SystemError& error) {
            problem(where, key, toUtf8(centralHandlerText(error.text())));
            return std::nullopt;
        }
        if (const auto check = dataCheckProblem(table)) {
            problem(where, key, name + " besteht die Datenprüfung nicht: " + *check);
            return std::nullopt;
        }
        return text;
    }

    void checkStart(const std::vector<std::pair<int, std::string>>& cells,
                    const toml::source_region& where) {
        DataTable table;
        for (const auto& [cell, value] : cells) {
            table.setValue(cell - 1, fromUtf8(value));
        }
        if (const auto check = dataCheckProblem(table)) {
            problem(where, "fall.anfang",
                    "die Anfangswerte bestehen die Datenprüfung nicht: " + *check);
        }
    }

    std::string m_path;
    const DataFilePlaces& m_places;
    std::optional<std::string> m_first;
    toml::source_index m_firstLine = 0;
};

}  // namespace

std::int64_t Task::totalPoints() const {
    std::int64_t total = 0;
    for (const TaskCase& c : cases) {
        total += c.points;
    }
    return total;
}

TaskLoad parseTask(std::string_view text, const std::string& path, const DataFilePlaces& places) {
    std::string safe;
    if (const auto at = guardTomlText(text, safe)) {
        return {std::nullopt, path + ", Zeile " + std::to_string(at->line) + ", Spalte " +
                                  std::to_string(at->column) +
                                  ": kein gültiges TOML (Umlaute und andere Sonderzeichen nur in "
                                  "\"Texten\" und Kommentaren)"};
    }
    toml::table root;
    try {
        root = toml::parse(safe, path);
    } catch (const toml::parse_error& error) {
        const auto& where = error.source().begin;
        return {std::nullopt, path + ", Zeile " + std::to_string(where.line) + ", Spalte " +
                                  std::to_string(where.column) + ": kein gültiges TOML"};
    }
    Reader reader(path, places);
    Task task = reader.read(root);
    if (reader.failed()) {
        return {std::nullopt, reader.message()};
    }
    return {std::move(task), ""};
}

std::vector<std::string> taskDataNames(std::string_view text) {
    std::vector<std::string> names;
    std::string safe;
    if (guardTomlText(text, safe)) {
        return names;
    }
    toml::table root;
    try {
        root = toml::parse(safe);
    } catch (const toml::parse_error&) {
        return names;
    }
    const auto* cases = root["fall"].as_array();
    if (cases == nullptr) {
        return names;
    }
    for (const toml::node& element : *cases) {
        const auto* taskCase = element.as_table();
        const auto* name = taskCase ? taskCase->get_as<std::string>("daten") : nullptr;
        if (name && std::find(names.begin(), names.end(), name->get()) == names.end()) {
            names.push_back(name->get());
        }
    }
    return names;
}

std::string taskDataPath(const std::string& taskPath, const std::string& name) {
    namespace fs = std::filesystem;
    return (fs::u8path(taskPath).parent_path() / fs::u8path(name)).u8string();
}

TaskText readTaskFile(const std::string& path) {
    static_assert(kMaxTaskFileBytes == 1024 * 1024, "the message names the limit");
    TextRead read;
    try {
        read = readTextFile(path, kMaxTaskFileBytes, std::numeric_limits<std::size_t>::max(),
                            kMaxTaskFileBytes);
    } catch (const SystemError& error) {
        return {std::nullopt, toUtf8(centralHandlerText(error.text()))};
    }
    if (read.tooLarge) {
        return {std::nullopt,
                "Datei " + path + " ist zu groß für eine Aufgabendatei (höchstens 1 MiB)"};
    }
    return {std::move(read.text), ""};
}

TaskLoad loadTask(const std::string& path, const DataFilePlaces& places) {
    TaskText read = readTaskFile(path);
    if (!read.text) {
        return {std::nullopt, std::move(read.problem)};
    }
    return parseTask(*read.text, path, places);
}

}  // namespace quarzel::grading
