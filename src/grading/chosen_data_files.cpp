#include "grading/chosen_data_files.h"

#include <algorithm>
#include <cctype>
#include <cstddef>

namespace quarzel::grading {
namespace {

std::string lowered(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// The folders and the file name of a relative path, "." and "folder/.." taken out, letter case
// aside. A task written on Windows may separate them with "\".
std::vector<std::string> parts(const std::string& path) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("/\\", start);
        end = end == std::string::npos ? path.size() : end;
        const std::string part = lowered(path.substr(start, end - start));
        if (part == "..") {
            if (!result.empty() && result.back() != "..") {
                result.pop_back();
            } else {
                result.push_back(part);
            }
        } else if (!part.empty() && part != ".") {
            result.push_back(part);
        }
        start = end + 1;
    }
    return result;
}

std::string fileName(const std::vector<std::string>& parts) {
    return parts.empty() ? std::string() : parts.back();
}

bool standsFor(const ChosenFile& file, const std::vector<std::string>& name) {
    if (name.empty() || name.back() == "..") {
        return false;
    }
    if (file.relativePath.empty()) {
        return fileName(parts(file.path)) == name.back();
    }
    // What lies above the task's folder cannot be seen in the chosen folder's paths.
    const auto below = std::find_if(name.begin(), name.end(),
                                    [](const std::string& part) { return part != ".."; });
    const std::vector<std::string> where = parts(file.relativePath);
    const auto count = static_cast<std::size_t>(name.end() - below);
    return where.size() >= count && std::equal(below, name.end(), where.end() - count);
}

bool shareAFile(const std::vector<std::size_t>& a, const std::vector<std::size_t>& b) {
    return std::any_of(a.begin(), a.end(), [&](std::size_t file) {
        return std::find(b.begin(), b.end(), file) != b.end();
    });
}

std::string quoted(const std::string& name) {
    return "„" + name + "“";
}

}  // namespace

DataFileMatch matchDataFiles(const std::vector<std::string>& names,
                             const std::vector<ChosenFile>& chosen) {
    std::vector<std::vector<std::string>> named;
    std::vector<std::vector<std::size_t>> candidates;
    for (const std::string& name : names) {
        named.push_back(parts(name));
        candidates.emplace_back();
        for (std::size_t file = 0; file < chosen.size(); ++file) {
            if (standsFor(chosen[file], named.back())) {
                candidates.back().push_back(file);
            }
        }
    }
    // Two ways of writing one file ("d.dta", "./d.dta") are one name, not two.
    for (std::size_t a = 0; a < names.size(); ++a) {
        for (std::size_t b = a + 1; b < names.size(); ++b) {
            if (named[a] != named[b] && fileName(named[a]) == fileName(named[b]) &&
                shareAFile(candidates[a], candidates[b])) {
                return {{},
                        "Die Datendateien " + quoted(names[a]) + " und " + quoted(names[b]) +
                            " haben denselben Dateinamen; die gewählten Dateien lassen nicht "
                            "erkennen, welche Datei zu welcher gehört."};
            }
        }
    }
    std::vector<std::string> missing;
    for (std::size_t n = 0; n < names.size(); ++n) {
        if (candidates[n].size() > 1) {
            std::string files;
            for (const std::size_t file : candidates[n]) {
                const ChosenFile& f = chosen[file];
                files += (files.empty() ? "" : ", ") +
                         (f.relativePath.empty() ? f.path : f.relativePath);
            }
            return {{},
                    "Zur Datendatei " + quoted(names[n]) +
                        " passen mehrere der gewählten Dateien: " + files + "."};
        }
        if (candidates[n].empty()) {
            missing.push_back(names[n]);
        }
    }
    if (!missing.empty()) {
        std::string list;
        for (const std::string& name : missing) {
            list += (list.empty() ? "" : ", ") + name;
        }
        return {{},
                (missing.size() == 1 ? "Die Datendatei " + quoted(missing.front()) + " fehlt."
                                     : "Diese Datendateien fehlen: " + list + ".") +
                    "\nBitte beim Laden alle Datendateien der Aufgabe zusammen auswählen."};
    }
    DataFileMatch match;
    for (const std::vector<std::size_t>& files : candidates) {
        match.paths.push_back(chosen[files.front()].path);
    }
    return match;
}

}  // namespace quarzel::grading
