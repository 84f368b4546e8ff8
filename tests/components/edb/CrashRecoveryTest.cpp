// A file that a crash left in the middle of a transaction is the user's file, not a broken one:
// open() rolls it back to its last commit and opens it, and recovery never sets it aside.
#include "edb/RecordDatabase.h"
#include "edb/Recovery.h"

#include "support/TempDataDir.h"

#include <gtest/gtest.h>

#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlite3.h>

#include <csignal>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace qinglan::edb;
namespace fs = std::filesystem;

namespace {

const std::string kPassword = "pa55word!x";

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t bigEndian32(const std::string& s, std::size_t at) {
    auto b = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + i]));
    };
    return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}

// SQLite's lock bytes (see os_unix.c): readers hold a read lock on the shared range.
constexpr off_t kPendingByte = 0x40000000;
constexpr off_t kSharedFirst = kPendingByte + 2;
constexpr off_t kSharedSize = 510;

class EdbCrashRecovery : public ::testing::Test {
protected:
    qinglan::test::TempDataDir dir;
    fs::path file = dir.path() / "means.edb";
    fs::path journal = dir.path() / "means.edb-journal";

    // A committed database of many pages; returns its bytes.
    std::string committed() {
        auto db = RecordDatabase::create(file, kPassword);
        std::vector<std::string> many;
        for (int i = 0; i < 300; ++i)
            many.push_back(name(i));
        EXPECT_TRUE(db.value().appendTexts(1, many).ok());
        return bytesOf(file);
    }

    // A child process starts a transaction that rewrites every record, lets SQLite spill the
    // changed pages into the file itself, and is killed before it commits: what kill -9 in the
    // middle of a write leaves behind.
    void crashInTheMiddleOfAWrite() {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            sqlite3* db = nullptr;
            sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
            sqlite3_key(db, kPassword.data(), static_cast<int>(kPassword.size()));
            sqlite3_exec(db, "PRAGMA cache_size = 2", nullptr, nullptr, nullptr);
            sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            sqlite3_exec(db,
                         "UPDATE edb_fields SET value = value || ' (renamed, and longer)';"
                         "UPDATE edb_records SET id = id + 100000;"
                         "UPDATE edb_info SET value = value || ' changed';",
                         nullptr, nullptr, nullptr);
            raise(SIGKILL);
            _exit(1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
    }

    // The page numbers whose original content the journal holds. Each time SQLite syncs the
    // journal in the middle of a transaction it starts a new segment with its own header.
    std::set<std::uint32_t> journalledPages() {
        static const std::string kMagic("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8);
        std::string j = bytesOf(journal);
        std::set<std::uint32_t> pages;
        std::size_t header = 0;
        while (header + 28 <= j.size() && j.compare(header, 8, kMagic) == 0) {
            std::uint32_t records = bigEndian32(j, header + 8),
                          sector = bigEndian32(j, header + 20),
                          pageSize = bigEndian32(j, header + 24);
            std::size_t at = header + sector;
            for (std::uint32_t i = 0; i < records && at + 4 <= j.size();
                 ++i, at += 4 + pageSize + 4)
                pages.insert(bigEndian32(j, at));
            header = (at + sector - 1) / sector * sector;
        }
        return pages;
    }

    static std::string name(int i) {
        return "/videos/a fairly long file name number " + std::to_string(i) + ".mkv";
    }

    // Every record as the last commit left it. (Not byte for byte: SQLCipher encrypts each
    // page afresh, with a new IV, when it copies it into the journal.)
    void expectOriginalContent(RecordDatabase& db) {
        auto all = db.readFieldOfAll(1);
        ASSERT_TRUE(all.ok()) << all.status().message();
        ASSERT_EQ(all.value().size(), 300u);
        for (int i = 0; i < 300; ++i)
            ASSERT_EQ(all.value()[static_cast<std::size_t>(i)].toText(), name(i));
        EXPECT_EQ(db.read(1).value().toText(), name(0));
        EXPECT_TRUE(db.checkIntegrity().ok());
    }
};

TEST_F(EdbCrashRecovery, AHotJournalIsRolledBackAndTheFileOpens) {
    std::string before = committed();
    crashInTheMiddleOfAWrite();
    ASSERT_TRUE(fs::exists(journal));
    ASSERT_TRUE(bytesOf(file) != before) << "the crash must have reached the file itself";

    auto opened = RecordDatabase::open(file, kPassword);
    ASSERT_TRUE(opened.ok()) << opened.status().message();
    expectOriginalContent(opened.value());
    EXPECT_FALSE(fs::exists(journal));
    opened.value().close();
}

TEST_F(EdbCrashRecovery, RecoveryOpensACrashedFileInsteadOfSettingItAside) {
    committed();
    crashInTheMiddleOfAWrite();
    auto recovered = openOrRecover(file, kPassword, {});
    ASSERT_TRUE(recovered.ok()) << recovered.status().message();
    EXPECT_FALSE(recovered.value().created);
    EXPECT_TRUE(recovered.value().setAsidePath.empty());
    expectOriginalContent(recovered.value().db);
    for (auto& e : fs::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename().string().find(".broken-"), std::string::npos) << e.path();
}

// A transaction that shrinks the file (compaction) truncates it before the journal is deleted;
// a crash between the two leaves a file shorter than its header says, which the rollback makes
// whole again. Its length is judged after the rollback, not before.
TEST_F(EdbCrashRecovery, AFileCutShortBeforeItsRollbackIsNotTakenForATruncatedOne) {
    std::string before = committed();
    crashInTheMiddleOfAWrite();
    const std::uint32_t originalPages = static_cast<std::uint32_t>(before.size() / 1024);
    auto inJournal = journalledPages();
    std::uint32_t keep = originalPages;
    while (keep > 1 && inJournal.count(keep))
        --keep;
    ASSERT_LT(keep, originalPages) << "the last page must be in the journal";
    fs::resize_file(file, std::uintmax_t{keep} * 1024);

    auto opened = RecordDatabase::open(file, kPassword);
    ASSERT_TRUE(opened.ok()) << opened.status().message();
    expectOriginalContent(opened.value());
}

// Rolling back a hot journal needs the exclusive lock; while another program still reads the
// file, the opener waits for it (as for any lock) instead of calling the file unreadable.
TEST_F(EdbCrashRecovery, AHotJournalBehindAnotherReadersLockIsWaitedFor) {
    committed();
    crashInTheMiddleOfAWrite();
    ASSERT_TRUE(fs::exists(journal));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t reader = fork();
    ASSERT_GE(reader, 0);
    if (reader == 0) {
        int fd = ::open(file.c_str(), O_RDWR);
        struct flock lock {};
        lock.l_type = F_RDLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = kSharedFirst;
        lock.l_len = kSharedSize;
        char ok = fcntl(fd, F_SETLK, &lock) == 0 ? '1' : '0';
        (void)!write(ready[1], &ok, 1);
        usleep(400 * 1000);
        _exit(0);
    }
    close(ready[1]);
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    close(ready[0]);
    ASSERT_EQ(ok, '1');

    auto opened = RecordDatabase::open(file, kPassword);
    int status = 0;
    waitpid(reader, &status, 0);
    ASSERT_TRUE(opened.ok()) << opened.status().message();
    expectOriginalContent(opened.value());
    EXPECT_FALSE(fs::exists(journal));
}

} // namespace
