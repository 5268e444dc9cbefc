#include "session/kept_work.h"

#include <cstdint>
#include <cstdio>

#include "files/data_file.h"
#include "files/program_file.h"
#include "model/data_table.h"

namespace quarzel {
namespace {

constexpr std::string_view kHeader = "Quarzel 3 Arbeit 1\r\n";
constexpr std::string_view kProgramTag = "Programm ";
constexpr std::string_view kDataTag = "\r\nDaten ";
constexpr std::string_view kSumTag = "\r\nSumme ";

// FNV-1a: enough to tell a record cut short or changed by hand from the one that was written.
std::uint32_t checksum(std::string_view text) {
    std::uint32_t hash = 2166136261U;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619U;
    }
    return hash;
}

std::string hex(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

// Reads "<tag><decimal>\r\n" at `at` and the `length` bytes after it; false when any of it
// is missing or malformed.
bool readPart(std::string_view record, std::size_t& at, std::string_view tag, std::size_t maxLength,
              std::string& part) {
    if (record.substr(at, tag.size()) != tag) {
        return false;
    }
    at += tag.size();
    std::size_t length = 0;
    std::size_t digits = 0;
    for (; at < record.size() && record[at] >= '0' && record[at] <= '9' && digits < 10; ++at) {
        length = length * 10 + static_cast<std::size_t>(record[at] - '0');
        ++digits;
    }
    if (digits == 0 || length > maxLength || record.substr(at, 2) != "\r\n") {
        return false;
    }
    at += 2;
    if (record.size() - at < length) {
        return false;
    }
    part.assign(record.substr(at, length));
    at += length;
    return true;
}

KeptWorkRead refused(const char* problem) {
    return {std::nullopt, problem};
}

}  // namespace

std::string keptWorkDamagedNote(const std::string& problem) {
    return "Die zwischengespeicherte Arbeit der letzten Sitzung ist beschädigt (" + problem +
           ") und wurde nicht geladen; sie bleibt gesondert aufbewahrt.";
}

std::string keptWorkRecord(const std::string& program, const DataTable& table) {
    const std::string data = dataFileText(table);
    std::string record(kHeader);
    record.reserve(program.size() + data.size() + 64);
    record += kProgramTag;
    record += std::to_string(program.size()) + "\r\n" + program;
    record += kDataTag;
    record += std::to_string(data.size()) + "\r\n" + data;
    const std::uint32_t sum = checksum(record);
    record += kSumTag;
    record += hex(sum) + "\r\n";
    return record;
}

KeptWorkRead readKeptWork(std::string_view record) {
    if (record.substr(0, kHeader.size()) != kHeader) {
        return refused("unbekanntes Format");
    }
    std::size_t at = kHeader.size();
    KeptWork work;
    // One byte more than a part's limit is enough to tell that it is over it.
    if (!readPart(record, at, kProgramTag, kMaxProgramFileBytes + 1, work.program) ||
        !readPart(record, at, kDataTag, kMaxDataFileBytes + 1, work.data)) {
        return refused("unvollständig");
    }
    const std::size_t body = at;
    if (record.substr(at, kSumTag.size()) != kSumTag ||
        record.substr(at + kSumTag.size()) != hex(checksum(record.substr(0, body))) + "\r\n") {
        return refused("Prüfsumme falsch");
    }
    if (!programTextFits(work.program)) {
        return refused("Programm zu groß");
    }
    if (work.data.size() > kMaxDataFileBytes ||
        walkDataLines(work.data, [](int, std::string_view, std::string_view) {}).end !=
            DataWalk::Whole) {
        return refused("Daten unvollständig");
    }
    return {std::move(work), {}};
}

}  // namespace quarzel
