#include "settings/SettingsStore.h"
#include "settings/SettingsActions.h"
#include "settings/SettingsRecord.h"
#include "settings/StoreLocation.h"

#include "edb/RecordDatabase.h"
#include "support/TempDataDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

using namespace qinglan::settings;
namespace edb = qinglan::edb;
namespace fs = std::filesystem;

namespace {

std::string bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SettingsStoreTest : public ::testing::Test {
protected:
    qinglan::test::TempDataDir dir;
    fs::path folder = dir.playerDataDir();
    fs::path file = folder / "mote.edb";

    SettingsValue stored(int field) {
        SettingsStore other(folder);
        return other.read(field).value();
    }
    // Writes a raw value the way another program could have stored it.
    void putRaw(int field, const edb::FieldValue& v) {
        auto db = edb::RecordDatabase::open(file, databasePassword());
        ASSERT_TRUE(db.ok());
        ASSERT_TRUE(db.value().write(field, v).ok());
    }
};

TEST_F(SettingsStoreTest, FirstRunCreatesTheFileInTheDataHome) {
    SettingsStore store(dataDirectory("/nonexistent-program-dir"), Rect{100, 50, 1600, 900});
    EXPECT_EQ(store.file(), dir.path() / "data" / "qinglan" / "mote.edb");
    ASSERT_TRUE(store.open().ok());
    EXPECT_TRUE(fs::exists(store.file()));
    EXPECT_TRUE(store.takeNotices().empty());
    auto v = [&](int n) { return store.read(n).value(); };
    // Main window centred on the work area, list window at (50, 50).
    EXPECT_EQ(v(168), SettingsValue(100 + (1600 - 725) / 2));
    EXPECT_EQ(v(169), SettingsValue(50 + (900 - 550) / 2));
    EXPECT_EQ(v(170), SettingsValue(725));
    EXPECT_EQ(v(171), SettingsValue(550));
    EXPECT_EQ(v(165), SettingsValue(50));
    EXPECT_EQ(v(166), SettingsValue(50));
    EXPECT_EQ(v(174), SettingsValue(218));
    EXPECT_EQ(v(175), SettingsValue(355));
    EXPECT_EQ(v(172), SettingsValue(-1));
    EXPECT_EQ(v(167), SettingsValue("0"));
    EXPECT_EQ(v(173), SettingsValue("0"));
    EXPECT_EQ(v(204), SettingsValue("1"));
    for (int n : {205, 206, 207})
        EXPECT_EQ(v(n), SettingsValue("0")) << n;
}

TEST_F(SettingsStoreTest, FilesLiveNextToTheProgramOnlyWhenAMoteEdbIsThere) {
    fs::path program = dir.path() / "program";
    fs::create_directories(program);
    EXPECT_EQ(dataDirectory(program), dir.path() / "data" / "qinglan");
    std::ofstream(program / "mote.edb") << "x";
    EXPECT_EQ(dataDirectory(program), program);

    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", dir.path().c_str(), 1);
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(dataDirectory(dir.path() / "elsewhere"), dir.path() / ".local" / "share" / "qinglan");
    setenv("XDG_DATA_HOME", "relative/path", 1); // not absolute: ignored
    EXPECT_EQ(dataDirectory(dir.path() / "elsewhere"), dir.path() / ".local" / "share" / "qinglan");
    setenv("HOME", home.c_str(), 1);
}

TEST_F(SettingsStoreTest, SpecialFolderIsTheDesktopWhenItExistsElseHome) {
    fs::path desktop = dir.path() / "桌面 folder";
    std::ofstream(dir.path() / "config" / "user-dirs.dirs")
        << "XDG_DESKTOP_DIR=\"" << desktop.string() << "\"\n";
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", (dir.path() / "home").c_str(), 1);
    EXPECT_EQ(defaultSaveFolder(), dir.path() / "home");
    fs::create_directories(desktop);
    EXPECT_EQ(defaultSaveFolder(), desktop);

    SettingsStore store(folder);
    EXPECT_EQ(store.read(145).value().toText(), desktop.string());
    EXPECT_EQ(store.read(164).value().toText(), desktop.string());
    setenv("HOME", home.c_str(), 1);
}

TEST_F(SettingsStoreTest, WritesAreInTheFileAtOnceAndTyped) {
    SettingsStore store(folder);
    ASSERT_TRUE(store.write(99, "1").ok());
    ASSERT_TRUE(store.write(170, 1024).ok());
    // The other kind is converted to the field's type.
    ASSERT_TRUE(store.write(171, "768.9").ok());
    ASSERT_TRUE(store.write(37, 60).ok());
    EXPECT_EQ(stored(99), SettingsValue("1"));
    EXPECT_EQ(stored(170), SettingsValue(1024));
    EXPECT_EQ(stored(171), SettingsValue(768));
    EXPECT_EQ(stored(37), SettingsValue("60"));
    EXPECT_EQ(store.write(208, "x").code(), edb::ErrorCode::InvalidArgument);
    EXPECT_EQ(store.read(0).code(), edb::ErrorCode::InvalidArgument);
}

TEST_F(SettingsStoreTest, LoadTruncatesAnyNumberInIntegerFields) {
    { SettingsStore(folder).open(); }
    putRaw(170, 812.99);
    putRaw(171, -3.7);
    putRaw(168, "  -41.5 ");
    putRaw(169, std::int64_t{1} << 40);
    putRaw(62, "not a number");
    putRaw(60, edb::FieldValue{}); // absent
    putRaw(7, std::int32_t{1200}); // a number in a text field reads as its text
    SettingsStore store(folder);
    SettingsRecord record;
    ASSERT_TRUE(record.load(store).ok());
    EXPECT_EQ(record.integer(170), 812);
    EXPECT_EQ(record.integer(171), -3);
    EXPECT_EQ(record.integer(168), -41);
    EXPECT_EQ(record.integer(169), INT32_MAX);
    EXPECT_EQ(record.integer(62), 0);
    EXPECT_EQ(record.get(60), SettingsValue(0));
    EXPECT_EQ(record.text(7), "1200");
}

TEST_F(SettingsStoreTest, RecordHoldsTheLoadSetOnly) {
    SettingsStore store(folder);
    std::vector<std::pair<int, SettingsValue>> distinct;
    for (int n = 1; n <= kFieldCount; ++n)
        distinct.emplace_back(n, isIntegerField(n) ? SettingsValue(1000 + n)
                                                   : SettingsValue("v" + std::to_string(n)));
    ASSERT_TRUE(store.writeFields(distinct).ok());
    SettingsRecord record;
    EXPECT_FALSE(record.isLoaded());
    EXPECT_EQ(record.text(6), "");
    ASSERT_TRUE(record.load(store).ok());
    for (int n = 1; n <= kFieldCount; ++n) {
        bool held = n != 165 && n != 166 && n != 206;
        EXPECT_EQ(record.get(n),
                  held ? distinct[static_cast<std::size_t>(n - 1)].second : SettingsValue())
            << n;
    }
    // Flags count as on only when exactly "1".
    ASSERT_TRUE(store.writeFields({{1, "1"}, {2, " 1"}, {3, "01"}, {4, "true"}}).ok());
    ASSERT_TRUE(record.load(store).ok());
    EXPECT_TRUE(record.isOn(1));
    EXPECT_FALSE(record.isOn(2));
    EXPECT_FALSE(record.isOn(3));
    EXPECT_FALSE(record.isOn(4));
}

TEST_F(SettingsStoreTest, SaveWindowGeometryIsSkippedInFullScreenOrAfterAListChange) {
    SettingsStore store(folder, Rect{0, 0, 1000, 800});
    SettingsRecord record;
    ASSERT_TRUE(record.load(store).ok());
    std::string before = bytesOf(store.file());
    const Rect main{10, 20, 800, 600}, list{900, 30, 200, 400};

    for (auto [frozen, changed] : {std::pair{true, false}, {false, true}, {true, true}}) {
        ASSERT_TRUE(saveWindowGeometry(store, record, frozen, changed, main, list).ok());
        EXPECT_TRUE(bytesOf(store.file()) == before);
        EXPECT_EQ(record.integer(168), (1000 - 725) / 2);
    }

    ASSERT_TRUE(saveWindowGeometry(store, record, false, false, main, list).ok());
    std::vector<std::pair<int, int>> expected = {{168, 10},  {169, 20}, {170, 800}, {171, 600},
                                                 {165, 900}, {166, 30}, {174, 200}, {175, 400}};
    for (auto [n, value] : expected)
        EXPECT_EQ(stored(n), SettingsValue(value)) << n;
    // The record was reloaded, so leaving full screen restores what was just saved.
    EXPECT_EQ(record.integer(168), 10);
    EXPECT_EQ(record.integer(171), 600);
}

TEST_F(SettingsStoreTest, RestorePageDefaultsWritesThatPageOnly) {
    SettingsStore store(folder);
    // Choose the left channel, change another page and the window state.
    ASSERT_TRUE(
        store.writeFields({{98, "0"}, {99, "1"}, {102, "300"}, {115, "90"}, {55, "10"}, {170, 999}})
            .ok());
    ASSERT_TRUE(restorePageDefaults(store, Page::Sound).ok());
    EXPECT_EQ(stored(98), SettingsValue("1"));
    EXPECT_EQ(stored(99), SettingsValue("0"));
    EXPECT_EQ(stored(102), SettingsValue("0"));
    EXPECT_EQ(stored(115), SettingsValue("20"));
    EXPECT_EQ(stored(55), SettingsValue("10"));
    EXPECT_EQ(stored(170), SettingsValue(999));

    ASSERT_TRUE(
        store.writeFields({{196, 200}, {133, "0"}, {62, 65}, {187, "A"}, {145, "/x"}, {164, "/y"}})
            .ok());
    ASSERT_TRUE(restorePageDefaults(store, Page::General).ok());
    ASSERT_TRUE(restorePageDefaults(store, Page::Hotkey).ok());
    ASSERT_TRUE(restorePageDefaults(store, Page::Screenshot, "/special").ok());
    EXPECT_EQ(stored(196), SettingsValue(70));
    EXPECT_EQ(stored(133), SettingsValue("1"));
    EXPECT_EQ(stored(62), SettingsValue(38));
    EXPECT_EQ(stored(187), SettingsValue("↑"));
    EXPECT_EQ(stored(164), SettingsValue("/special"));
    EXPECT_EQ(stored(145), SettingsValue("/x")); // transcode page not restored
}

// A start that could not open the file tells the user that this run neither reads nor saves
// settings; the store keeps that promise even once the file could be opened.
TEST_F(SettingsStoreTest, AStoreKeptClosedLeavesTheFileAloneForTheRestOfTheRun) {
    // The data folder is blocked by a plain file, so the start cannot open or create mote.edb.
    fs::create_directories(folder.parent_path());
    std::ofstream(folder) << "in the way";
    SettingsStore store(folder);
    SettingsRecord record;
    const edb::Status failed = record.load(store);
    ASSERT_FALSE(failed.ok());
    store.keepClosedForThisRun(failed);
    EXPECT_TRUE(store.isKeptClosed());

    // The obstacle goes away; the store still neither creates the file...
    fs::remove(folder);
    fs::create_directories(folder);
    auto written = store.write(99, "1");
    EXPECT_FALSE(written.ok());
    EXPECT_EQ(written.code(), failed.code());
    EXPECT_NE(written.message().find(failed.message()), std::string::npos) << written.message();
    EXPECT_FALSE(store.writeFields({{170, 1024}, {171, 768}}).ok());
    EXPECT_FALSE(store.read(6).ok());
    EXPECT_FALSE(store.readAll().ok());
    EXPECT_FALSE(store.open().ok());
    EXPECT_FALSE(record.load(store).ok());
    EXPECT_FALSE(store.isOpen());
    EXPECT_FALSE(fs::exists(file));

    // ...nor sets aside a bad file that appears...
    std::ofstream(file) << "not a settings file";
    EXPECT_FALSE(store.write(99, "1").ok());
    EXPECT_EQ(bytesOf(file), "not a settings file");

    // ...nor writes to a good one, which another start could open.
    fs::remove(file);
    { ASSERT_TRUE(SettingsStore(folder).open().ok()); }
    const std::string good = bytesOf(file);
    EXPECT_FALSE(store.write(99, "1").ok());
    EXPECT_FALSE(saveWindowGeometry(store, record, false, false, {1, 2, 3, 4}, {5, 6, 7, 8}).ok());
    EXPECT_TRUE(bytesOf(file) == good);
    EXPECT_EQ(stored(99), SettingsValue("0"));
    EXPECT_TRUE(store.takeNotices().empty());
    for (const auto& e : fs::directory_iterator(folder))
        EXPECT_EQ(e.path().filename(), "mote.edb") << e.path();
}

// Kept closed after it was opened (say the load failed after the open), the store stops at
// once; the run goes on with what the record already holds.
TEST_F(SettingsStoreTest, KeepingAnOpenStoreClosedStopsItsWrites) {
    SettingsStore store(folder);
    SettingsRecord record;
    ASSERT_TRUE(record.load(store).ok());
    const std::string before = bytesOf(file);
    store.keepClosedForThisRun({edb::ErrorCode::Busy, "locked"});
    EXPECT_EQ(store.write(6, "宋体").code(), edb::ErrorCode::Busy);
    EXPECT_TRUE(bytesOf(file) == before);
    EXPECT_EQ(record.text(6), "黑体");
}

class SettingsBrokenFile : public SettingsStoreTest {
protected:
    void expectSetAside(const std::string& brokenBytes, const char* reason) {
        fs::create_directories(folder);
        {
            std::ofstream out(file, std::ios::binary);
            out << brokenBytes;
        }
        SettingsStore store(folder);
        ASSERT_TRUE(store.open().ok());
        auto notices = store.takeNotices();
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_NE(notices[0].find(reason), std::string::npos) << notices[0];
        EXPECT_TRUE(store.takeNotices().empty()); // told once

        std::vector<fs::path> aside;
        for (auto& e : fs::directory_iterator(folder))
            if (e.path().filename().string().rfind("mote.edb.broken-", 0) == 0)
                aside.push_back(e.path());
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_TRUE(bytesOf(aside[0]) == brokenBytes);
        EXPECT_NE(notices[0].find(aside[0].string()), std::string::npos);
        EXPECT_EQ(store.read(6).value(), SettingsValue("黑体"));
        EXPECT_EQ(store.read(170).value(), SettingsValue(725));
    }
};

TEST_F(SettingsBrokenFile, GarbageIsSetAside) {
    expectSetAside("this is not a settings file\n", "不是");
}

TEST_F(SettingsBrokenFile, WrongPasswordIsSetAside) {
    fs::path other = dir.path() / "other.edb";
    {
        auto db = edb::RecordDatabase::create(other, "someone else's");
        ASSERT_TRUE(db.value().append({{1, "theirs"}}).ok());
    }
    expectSetAside(bytesOf(other), "密码");
}

TEST_F(SettingsBrokenFile, TruncatedFileIsSetAside) {
    { SettingsStore(folder).open(); }
    std::string good = bytesOf(file);
    fs::remove(file);
    expectSetAside(good.substr(0, good.size() - 1024), "损坏");
}

} // namespace
