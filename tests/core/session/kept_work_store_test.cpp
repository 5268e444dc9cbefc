// The window's kept work in a real folder: each window's record written whole under a name of
// its own, an open window's record never offered, the newest left record offered, a damaged
// one set aside and never deleted, and nothing left after a clean end.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "common/system_error.h"
#include "common/win1252.h"
#include "files/data_file.h"
#include "files/program_file.h"
#include "model/data_table.h"
#include "session/kept_work.h"
#include "session/kept_work_store.h"
#include "temp_folder.h"

namespace quarzel {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

std::string recordOf(const std::string& program) {
    DataTable table;
    table.setValue(3, "12");
    table.setComment(3, fromUtf8("Zähler"));
    return keptWorkRecord(program, table);
}

// A window that wrote `record` and then went without a clean end; its record's path.
std::string leaveRecord(const TempFolder& folder, const std::string& record) {
    KeptWorkStore store(folder.path().u8string());
    store.write(record);
    return store.recordPath();
}

// Dates a record's last write back; false where the file system keeps no such time of its own
// (WebAssembly under Node cannot set it), and then the order of two records cannot be tested.
bool setWritten(const std::string& path, int secondsAgo) {
    const fs::file_time_type wanted =
        fs::file_time_type::clock::now() - std::chrono::seconds(secondsAgo);
    std::error_code error;
    fs::last_write_time(fs::u8path(path), wanted, error);
    const fs::file_time_type read = fs::last_write_time(fs::u8path(path), error);
    return !error && read <= wanted + std::chrono::seconds(1) &&
           read >= wanted - std::chrono::seconds(1);
}

TEST(KeptWorkStoreTest, EachWindowWritesItsOwnRecordWhole) {
    const TempFolder folder;
    const std::string inside = (folder.path() / "Quarzel 3").u8string();  // made by the write
    KeptWorkStore first(inside);
    KeptWorkStore second(inside);
    EXPECT_EQ(first.recordPath(), "") << "no file before the first record";
    first.write(recordOf("LAD 1\r\n"));
    second.write(recordOf("LAD 2\r\n"));
    first.write(recordOf("LAD 3\r\n"));
    ASSERT_NE(first.recordPath(), second.recordPath());
    EXPECT_EQ(fs::u8path(first.recordPath()).parent_path(), fs::u8path(inside));
    EXPECT_EQ(readBytes(first.recordPath()), recordOf("LAD 3\r\n"));
    EXPECT_EQ(readBytes(second.recordPath()), recordOf("LAD 2\r\n"));
    // A record and a claim each, no temporary file left.
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::u8path(inside)), fs::directory_iterator()),
              4);
}

TEST(KeptWorkStoreTest, OnlyARecordWhoseWindowIsGoneIsOffered) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "WebAssembly under Node has no file locks; the page keeps its work elsewhere";
#endif
    const TempFolder folder;
    std::optional<KeptWorkStore> open(folder.path().u8string());
    open->write(recordOf("STP\r\n"));
    const std::string path = open->recordPath();
    EXPECT_FALSE(findLeftWork(folder.path().u8string()).newest) << "its window is still open";

    open.reset();  // as a kill would end it: the record stays
    LeftWork left = findLeftWork(folder.path().u8string());
    ASSERT_TRUE(left.newest);
    EXPECT_EQ(left.newest->path(), path);
    EXPECT_EQ(left.newest->record(), recordOf("STP\r\n"));
    // While one starting window holds it, a second one starting meanwhile does not offer it.
    EXPECT_FALSE(findLeftWork(folder.path().u8string()).newest);
}

TEST(KeptWorkStoreTest, TheNewestOfTwoIsOfferedAndTheOtherKept) {
    const TempFolder folder;
    const std::string first = leaveRecord(folder, recordOf("LAD 1\r\n"));
    const std::string second = leaveRecord(folder, recordOf("LAD 2\r\n"));
    // The time of the last write decides, not the name.
    if (!setWritten(first, 5) || !setWritten(second, 60)) {
        GTEST_SKIP() << "this file system cannot date a file back";
    }
    {
        LeftWork left = findLeftWork(folder.path().u8string());
        ASSERT_TRUE(left.newest);
        EXPECT_EQ(left.newest->record(), recordOf("LAD 1\r\n"));
        left.newest->remove();  // "Nein"
    }
    LeftWork left = findLeftWork(folder.path().u8string());
    ASSERT_TRUE(left.newest);
    EXPECT_EQ(left.newest->record(), recordOf("LAD 2\r\n"));
}

TEST(KeptWorkStoreTest, NothingIsLeftAfterACleanEndOrARecordDealtWith) {
    const TempFolder folder;
    {
        KeptWorkStore store(folder.path().u8string());
        store.write(recordOf("STP\r\n"));
        store.remove();
        EXPECT_TRUE(folder.entries().empty());
        store.write(recordOf("LAD 4\r\n"));  // shown again after a close: kept again
        EXPECT_EQ(readBytes(store.recordPath()), recordOf("LAD 4\r\n"));
    }
    LeftWork left = findLeftWork(folder.path().u8string());
    ASSERT_TRUE(left.newest);
    left.newest->remove();
    EXPECT_TRUE(folder.entries().empty());
    EXPECT_FALSE(findLeftWork(folder.path().u8string()).newest);
}

TEST(KeptWorkStoreTest, AFreshStartsRecordAndAnOrphanedClaimGoUnoffered) {
    const TempFolder folder;
    leaveRecord(folder, keptWorkRecord("", DataTable()));
    // As a window killed between taking its name and writing its first record leaves it.
    fs::remove(fs::u8path(leaveRecord(folder, recordOf("STP\r\n"))));
    const LeftWork left = findLeftWork(folder.path().u8string());
    EXPECT_FALSE(left.newest);
    EXPECT_TRUE(left.setAside.empty());
    EXPECT_TRUE(folder.entries().empty());
}

TEST(KeptWorkStoreTest, ADamagedRecordIsSetAsideAndTheNextOneOffered) {
    const std::string sound = recordOf("LAD 7\r\n");
    std::string changed = sound;
    changed[sound.size() / 2] ^= 0x01;
    struct Row {
        const char* name;
        std::string bytes;
        const char* problem;
    };
    const Row rows[] = {
        {"cut short", sound.substr(0, sound.size() / 2), "unvollständig"},
        {"a byte changed", changed, "Prüfsumme falsch"},
        {"no record at all", "Hallo", "unbekanntes Format"},
        {"larger than any record",
         std::string(kMaxProgramFileBytes + kMaxDataFileBytes + 2048, 'x'), "zu groß"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TempFolder folder;
        const std::string older = leaveRecord(folder, sound);
        const std::string damaged = leaveRecord(folder, sound);
        writeBytes(damaged, row.bytes);
        if (!setWritten(older, 60)) {
            GTEST_SKIP() << "this file system cannot date a file back";
        }

        LeftWork left = findLeftWork(folder.path().u8string());
        ASSERT_EQ(left.setAside.size(), 1u);
        EXPECT_EQ(left.setAside[0].problem, row.problem);
        EXPECT_FALSE(fs::exists(fs::u8path(damaged)));
        EXPECT_EQ(readBytes(left.setAside[0].path), row.bytes) << "kept as it was";
        ASSERT_TRUE(left.newest);
        EXPECT_EQ(left.newest->record(), sound);
    }
}

TEST(KeptWorkStoreTest, ARecordSetAsideNeverReplacesOneSetAsideBefore) {
    const TempFolder folder;
    const std::string damaged = leaveRecord(folder, "beschädigt 1");
    const std::string first = findLeftWork(folder.path().u8string()).setAside.at(0).path;
    writeBytes(damaged, "beschädigt 2");  // the same window's name, damaged again
    const std::string second = findLeftWork(folder.path().u8string()).setAside.at(0).path;
    EXPECT_NE(first, second);
    EXPECT_EQ(readBytes(first), "beschädigt 1");
    EXPECT_EQ(readBytes(second), "beschädigt 2");
}

TEST(KeptWorkStoreTest, AFolderThatCannotBeMadeIsReported) {
    const TempFolder folder;
    writeBytes(folder.file("datei"), "");
    KeptWorkStore store(folder.file("datei/Quarzel 3"));
    try {
        store.write(recordOf("STP\r\n"));
        FAIL() << "written into a file";
    } catch (const SystemError& error) {
        EXPECT_EQ(
            error.text().rfind(
                "Datei \"" + folder.file("datei/Quarzel 3") + "\" kann nicht erstellt werden.", 0),
            0u)
            << error.text();
    }
    EXPECT_TRUE(findLeftWork(folder.file("fehlt")).setAside.empty()) << "no folder, nothing left";
}

}  // namespace
}  // namespace quarzel
