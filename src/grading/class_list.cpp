#include "grading/class_list.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

namespace quarzel::grading {
namespace {

namespace fs = std::filesystem;

// The name as a class list compares it: lower case, umlauts as their base letters.
std::string folded(const std::string& name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c - 'A' + 'a');
            continue;
        }
        if (c == 0xC3 && i + 1 < name.size()) {
            switch (static_cast<unsigned char>(name[i + 1])) {
                case 0x84:  // Ä
                case 0xA4:  // ä
                    out += 'a';
                    ++i;
                    continue;
                case 0x96:  // Ö
                case 0xB6:  // ö
                    out += 'o';
                    ++i;
                    continue;
                case 0x9C:  // Ü
                case 0xBC:  // ü
                    out += 'u';
                    ++i;
                    continue;
                case 0x9F:  // ß
                    out += "ss";
                    ++i;
                    continue;
                default:
                    break;
            }
        }
        out += static_cast<char>(c);
    }
    return out;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// <0, 0 or >0 as `a` comes before, with or after `b`, digit runs compared by value.
int compareNatural(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && isDigit(a[endA])) {
                ++endA;
            }
            while (endB < b.size() && isDigit(b[endB])) {
                ++endB;
            }
            // Leading zeros say nothing about the value.
            std::size_t startA = i;
            std::size_t startB = j;
            while (startA + 1 < endA && a[startA] == '0') {
                ++startA;
            }
            while (startB + 1 < endB && b[startB] == '0') {
                ++startB;
            }
            const std::size_t lengthA = endA - startA;
            const std::size_t lengthB = endB - startB;
            if (lengthA != lengthB) {
                return lengthA < lengthB ? -1 : 1;
            }
            if (const int order = a.compare(startA, lengthA, b, startB, lengthB); order != 0) {
                return order;
            }
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j]) {
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size()) {
        return 1;
    }
    return j < b.size() ? -1 : 0;
}

bool isProgramFile(const fs::path& path) {
    std::string extension = path.extension().u8string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return extension == ".prg";
}

// One spelling for every way of writing the same path.
std::string normalised(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::u8path(path), error);
    return (error ? fs::u8path(path) : absolute).lexically_normal().u8string();
}

std::string fileName(const std::string& path) {
    return fs::u8path(path).filename().u8string();
}

// Whether `entry` of `folder` (its canonical path) is a link to a file outside that folder.
// A link that cannot be followed to its end, or a folder whose own path is unknown, counts as
// leading outside.
bool leadsOutside(const fs::directory_entry& entry, const fs::path& folder) {
    std::error_code error;
    if (!entry.is_symlink(error) || error) {
        return false;
    }
    const fs::path target = fs::canonical(entry.path(), error);
    if (error || folder.empty()) {
        return true;
    }
    // Compared part by part, so that "klasse-2/x.prg" is not taken to be inside "klasse".
    return std::mismatch(folder.begin(), folder.end(), target.begin(), target.end()).first !=
           folder.end();
}

}  // namespace

bool classListLess(const std::string& a, const std::string& b) {
    if (const int order = compareNatural(folded(a), folded(b)); order != 0) {
        return order < 0;
    }
    return a < b;
}

std::vector<FoundProgram> findPrograms(const std::vector<std::string>& paths) {
    std::vector<std::pair<std::string, bool>> files;  // path, leads outside its folder
    std::set<std::string> seen;
    const auto add = [&](const std::string& file, bool leavesFolder) {
        if (seen.insert(normalised(file)).second) {
            files.emplace_back(file, leavesFolder);  // as first written
        }
    };
    for (const std::string& given : paths) {
        const fs::path path = fs::u8path(given);
        std::error_code error;
        if (!fs::is_directory(path, error)) {
            add(given, false);  // a file that cannot be read is reported in its own row
            continue;
        }
        const fs::path folder = fs::canonical(path, error);
        for (fs::directory_iterator it(path, error), end; !error && it != end;
             it.increment(error)) {
            if (isProgramFile(it->path()) && it->is_regular_file(error)) {
                add(it->path().u8string(), leadsOutside(*it, folder));
            }
        }
    }

    std::map<std::string, int> uses;
    for (const auto& file : files) {
        ++uses[fileName(file.first)];
    }
    std::vector<FoundProgram> found;
    for (const auto& [file, leavesFolder] : files) {
        const std::string name = fileName(file);
        found.push_back({uses[name] > 1 ? file : name, file, leavesFolder});
    }
    std::sort(found.begin(), found.end(), [](const FoundProgram& a, const FoundProgram& b) {
        const std::string nameA = fileName(a.path);
        const std::string nameB = fileName(b.path);
        if (nameA != nameB) {
            return classListLess(nameA, nameB);
        }
        return classListLess(a.path, b.path);
    });
    return found;
}

}  // namespace quarzel::grading
