#include "session/kept_work_store.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "files/data_file.h"
#include "files/file_errors.h"
#include "files/program_file.h"
#include "files/text_file.h"
#include "model/data_table.h"
#include "session/kept_work.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace quarzel {
namespace fs = std::filesystem;

namespace {

constexpr char kPrefix[] = "sitzung-";
constexpr char kRecordExtension[] = ".qrzl";
constexpr char kClaimExtension[] = ".lock";
constexpr char kAsideExtension[] = ".beschaedigt";

// Far more than the largest record readKeptWork accepts: a larger file is refused unread.
constexpr std::uintmax_t kMaxRecordBytes = kMaxProgramFileBytes + kMaxDataFileBytes + 1024;

unsigned long processId() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(::getpid());
#endif
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool exists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(fs::u8path(path), ignored));
}

void removeFile(const std::string& path) {
    std::error_code ignored;
    fs::remove(fs::u8path(path), ignored);
}

// A left record: its name without the extension, when it was last written, and its claim.
struct Candidate {
    std::string stem;
    fs::file_time_type written;
    FileClaim claim;
    std::string recordPath() const { return stem + kRecordExtension; }
};

// The file's bytes, or why they cannot be used.
std::optional<std::string> readRecord(const std::string& path, std::string& problem) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(fs::u8path(path), error);
    if (!error && size > kMaxRecordBytes) {
        problem = "zu groß";
        return std::nullopt;
    }
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (error || !in.is_open()) {
        problem = "nicht lesbar";
        return std::nullopt;
    }
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Renamed beside itself under a name that nothing else has; never deleted, never overwritten.
SetAsideRecord setAside(Candidate& candidate, std::string problem) {
    const std::string from = candidate.recordPath();
    for (int n = 1; n < 1000; ++n) {
        const std::string to =
            candidate.stem + (n == 1 ? "" : "." + std::to_string(n)) + kAsideExtension;
        if (exists(to)) {
            continue;
        }
        std::error_code error;
        fs::rename(fs::u8path(from), fs::u8path(to), error);
        if (error) {
            break;
        }
        candidate.claim.removeFile();
        return {to, std::move(problem)};
    }
    return {from, std::move(problem)};
}

bool isFreshStart(const KeptWork& work) {
    return work.program.empty() && work.data == dataFileText(DataTable());
}

}  // namespace

KeptWorkStore::KeptWorkStore(std::string folder) : m_folder(std::move(folder)) {}

void KeptWorkStore::chooseName() {
    std::error_code error;
    fs::create_directories(fs::u8path(m_folder), error);
    if (error) {
        throw fileCreateError(m_folder, error);
    }
    // The process's number keeps two running programs apart; the count keeps apart the windows
    // of one process and this process from an earlier one of the same number that crashed.
    const std::string base =
        (fs::u8path(m_folder) / fs::u8path(kPrefix + std::to_string(processId()) + "-")).u8string();
    for (int n = 1; n <= 1000; ++n) {
        const std::string stem = base + std::to_string(n);
        const std::string record = stem + kRecordExtension;
        const std::string claimPath = stem + kClaimExtension;
        if (exists(record) || exists(claimPath)) {
            continue;
        }
        std::optional<FileClaim> claim =
            FileClaim::take(claimPath, FileClaim::Create::OnlyNew, &error);
        if (!claim) {
            if (exists(claimPath)) {
                continue;  // another window took this name just now
            }
            throw fileCreateError(claimPath, error);
        }
        if (exists(record)) {
            claim->removeFile();
            continue;
        }
        m_claim = std::move(claim);
        m_recordPath = record;
        return;
    }
    throw fileCreateError(base + "1" + kRecordExtension,
                          std::make_error_code(std::errc::file_exists));
}

void KeptWorkStore::write(const std::string& record) {
    if (!m_claim) {
        chooseName();
    }
    writeFileAtomically(m_recordPath, record);
}

void KeptWorkStore::remove() {
    if (!m_claim) {
        return;
    }
    removeFile(m_recordPath);
    m_claim->removeFile();
    m_claim.reset();
    m_recordPath.clear();
}

LeftRecord::LeftRecord(FileClaim claim, std::string path, std::string record)
    : m_claim(std::move(claim)), m_path(std::move(path)), m_record(std::move(record)) {}

void LeftRecord::remove() {
    removeFile(m_path);
    m_claim.removeFile();
}

LeftWork findLeftWork(const std::string& folder) {
    std::vector<std::string> records;
    std::vector<std::string> claims;
    std::error_code error;
    for (fs::directory_iterator it(fs::u8path(folder), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().u8string();
        if (name.rfind(kPrefix, 0) != 0) {
            continue;
        }
        const std::string path = it->path().u8string();
        if (endsWith(name, kRecordExtension)) {
            records.push_back(path.substr(0, path.size() - (sizeof kRecordExtension - 1)));
        } else if (endsWith(name, kClaimExtension)) {
            claims.push_back(path.substr(0, path.size() - (sizeof kClaimExtension - 1)));
        }
    }

    // A record is left behind when its claim can be taken: its window is gone.
    std::vector<Candidate> candidates;
    for (const std::string& stem : records) {
        std::optional<FileClaim> claim =
            FileClaim::take(stem + kClaimExtension, FileClaim::Create::IfMissing);
        if (!claim) {
            continue;
        }
        std::error_code timeError;
        const fs::file_time_type written =
            fs::last_write_time(fs::u8path(stem + kRecordExtension), timeError);
        candidates.push_back({stem, written, std::move(*claim)});
    }
    // A window killed before its first record was written leaves its claim alone.
    for (const std::string& stem : claims) {
        if (!exists(stem + kRecordExtension)) {
            if (std::optional<FileClaim> claim =
                    FileClaim::take(stem + kClaimExtension, FileClaim::Create::IfMissing)) {
                claim->removeFile();
            }
        }
    }

    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.written != b.written ? a.written > b.written : a.stem > b.stem;
    });
    LeftWork left;
    for (Candidate& candidate : candidates) {
        const std::string path = candidate.recordPath();
        std::string problem;
        const std::optional<std::string> bytes = readRecord(path, problem);
        if (!bytes && !exists(path)) {
            candidate.claim.removeFile();  // its window removed it after all
            continue;
        }
        if (bytes) {
            const KeptWorkRead read = readKeptWork(*bytes);
            if (read.work && isFreshStart(*read.work)) {
                removeFile(path);
                candidate.claim.removeFile();
                continue;
            }
            if (read.work) {
                left.newest.emplace(std::move(candidate.claim), path, *bytes);
                break;
            }
            problem = read.problem;
        }
        left.setAside.push_back(setAside(candidate, problem));
    }
    return left;
}

}  // namespace quarzel
