// Every kind of bad file gives a clear error value and stays byte-identical.
#include "edb/RecordDatabase.h"
#include "edb/Recovery.h"

#include "support/TempDataDir.h"

#include <gtest/gtest.h>

#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlite3.h>

#include <fstream>
#include <iterator>

using namespace qinglan::edb;
namespace fs = std::filesystem;

namespace {

const std::string kPassword = "pa55word!x";

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class EdbBadFile : public ::testing::Test {
protected:
    qinglan::test::TempDataDir dir;
    fs::path file = dir.path() / "mote.edb";

    // A real database with enough records to span many pages.
    std::string goodBytes() {
        {
            auto db = RecordDatabase::create(file, kPassword);
            std::vector<std::string> many;
            for (int i = 0; i < 400; ++i)
                many.push_back("/videos/some fairly long file name " + std::to_string(i) + ".mkv");
            EXPECT_TRUE(db.value().appendTexts(1, many).ok());
        }
        return bytesOf(file);
    }

    // Opens `file` and checks the error code and that nothing changed on disk.
    void expectRefused(ErrorCode expected, const std::string& password = kPassword) {
        std::string before = bytesOf(file);
        auto opened = RecordDatabase::open(file, password);
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(opened.code(), expected) << opened.status().message();
        EXPECT_FALSE(opened.status().message().empty());
        EXPECT_EQ(opened.status().message().find('\n'), std::string::npos);
        EXPECT_TRUE(bytesOf(file) == before) << "the file was modified";
        EXPECT_FALSE(fs::exists(file.string() + "-journal"));
    }
};

TEST_F(EdbBadFile, MissingFileIsReportedAndNotCreated) {
    auto opened = RecordDatabase::open(file, kPassword);
    EXPECT_EQ(opened.code(), ErrorCode::Missing);
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(EdbBadFile, WrongPassword) {
    goodBytes();
    expectRefused(ErrorCode::WrongPassword, "another one");
    expectRefused(ErrorCode::WrongPassword, "");
    EXPECT_TRUE(RecordDatabase::open(file, kPassword).ok());
}

TEST_F(EdbBadFile, ForeignContent) {
    writeBytes(file, "");
    expectRefused(ErrorCode::NotADatabase);
    writeBytes(file, "just some text, not a database\n");
    expectRefused(ErrorCode::NotADatabase);
    // A plain SQLite header.
    writeBytes(file, std::string("SQLite format 3\0", 16) + std::string(4080, '\0'));
    expectRefused(ErrorCode::NotADatabase);
    // Page-sized noise cannot be told from another password.
    std::string noise(4096, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919) % 251);
    writeBytes(file, noise);
    expectRefused(ErrorCode::WrongPassword);
}

TEST_F(EdbBadFile, EncryptedDatabaseThatIsNotARecordDatabase) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    sqlite3_key(db, kPassword.data(), static_cast<int>(kPassword.size()));
    ASSERT_EQ(
        sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES(1);", nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    expectRefused(ErrorCode::NotADatabase);

    fs::remove(file);
    fs::create_directory(file);
    EXPECT_FALSE(RecordDatabase::open(file, kPassword).ok());
    EXPECT_TRUE(fs::is_directory(file));
}

TEST_F(EdbBadFile, TruncatedFiles) {
    std::string good = goodBytes();
    ASSERT_GT(good.size(), 8192u);
    for (std::size_t size : {good.size() / 2, good.size() - 1024, good.size() - 100,
                             std::size_t{1024}, std::size_t{500}}) {
        SCOPED_TRACE(size);
        writeBytes(file, good.substr(0, size));
        std::string before = bytesOf(file);
        auto opened = RecordDatabase::open(file, kPassword);
        ASSERT_FALSE(opened.ok());
        EXPECT_TRUE(opened.code() == ErrorCode::Corrupt || opened.code() == ErrorCode::NotADatabase)
            << opened.status().message();
        EXPECT_TRUE(bytesOf(file) == before);
    }
}

TEST_F(EdbBadFile, CorruptedPages) {
    std::string good = goodBytes();
    // Offsets inside the encrypted part of a page: the last bytes of each page are unused padding.
    std::size_t middlePage = good.size() / 2 / 1024 * 1024;
    for (std::size_t at :
         {std::size_t{20}, std::size_t{1024 + 300}, middlePage + 500, good.size() - 1024 + 100}) {
        SCOPED_TRACE(at);
        std::string bad = good;
        bad[at] = static_cast<char>(bad[at] ^ 0x5A);
        writeBytes(file, bad);
        std::string before = bytesOf(file);
        auto opened = RecordDatabase::open(file, kPassword);
        ASSERT_FALSE(opened.ok());
        EXPECT_TRUE(opened.code() == ErrorCode::Corrupt ||
                    opened.code() == ErrorCode::WrongPassword)
            << opened.status().message();
        EXPECT_TRUE(bytesOf(file) == before);
    }
}

TEST_F(EdbBadFile, RecoverySetsTheBrokenFileAsideAndStartsFresh) {
    std::string good = goodBytes();
    writeBytes(file, good.substr(0, good.size() / 2));
    std::string broken = bytesOf(file);
    auto fill = [](RecordDatabase& db) { return db.append({{1, "fresh"}}); };

    auto recovered = openOrRecover(file, kPassword, fill);
    ASSERT_TRUE(recovered.ok()) << recovered.status().message();
    EXPECT_TRUE(recovered.value().created);
    EXPECT_EQ(recovered.value().openError.code(), ErrorCode::Corrupt);
    fs::path aside = recovered.value().setAsidePath;
    EXPECT_EQ(aside.parent_path(), file.parent_path());
    EXPECT_EQ(aside.filename().string().rfind("mote.edb.broken-", 0), 0u) << aside;
    EXPECT_EQ(aside.filename().string().size(),
              std::string("mote.edb.broken-20240101-120000").size());
    EXPECT_TRUE(bytesOf(aside) == broken);
    EXPECT_EQ(recovered.value().db.read(1).value().toText(), "fresh");
    recovered.value().db.close();

    // A second broken file in the same second does not overwrite the first copy.
    writeBytes(file, "garbage");
    auto again = openOrRecover(file, kPassword, fill);
    ASSERT_TRUE(again.ok());
    EXPECT_NE(again.value().setAsidePath, aside);
    EXPECT_TRUE(bytesOf(aside) == broken);
    EXPECT_EQ(bytesOf(again.value().setAsidePath), "garbage");

    // A good file is opened as it is; only the temporary files of creation are gone.
    auto plain = openOrRecover(file, kPassword, fill);
    ASSERT_TRUE(plain.ok());
    EXPECT_FALSE(plain.value().created);
    EXPECT_TRUE(plain.value().setAsidePath.empty());
    int files = 0;
    for (auto& e : fs::directory_iterator(file.parent_path()))
        if (e.path().filename().string().rfind("mote.edb", 0) == 0) ++files;
    EXPECT_EQ(files, 3);
}

TEST_F(EdbBadFile, RecoveryCreatesAMissingFileAndItsFolder) {
    fs::path deep = dir.path() / "a" / "b" / "means.edb";
    auto recovered = openOrRecover(deep, kPassword, {});
    ASSERT_TRUE(recovered.ok()) << recovered.status().message();
    EXPECT_TRUE(recovered.value().created);
    EXPECT_TRUE(recovered.value().setAsidePath.empty());
    EXPECT_EQ(recovered.value().db.count().value(), 0);
}

TEST_F(EdbBadFile, FileIsNotPlainSqlite) {
    std::string good = goodBytes();
    EXPECT_NE(good.substr(0, 15), "SQLite format 3");
    EXPECT_EQ(good.find("/videos/some fairly long"), std::string::npos);
}

} // namespace
