// means.edb: created when missing, set aside when broken, one record per added file.
#include <medialist/ListStore.h>

#include "support/TempDataDir.h"

#include <edb/RecordDatabase.h>
#include <settings/StoreLocation.h>

#include <gtest/gtest.h>

#include <fstream>

using namespace qinglan;
using medialist::ListStore;

namespace {
std::vector<std::string> paths(ListStore& s) {
    auto p = s.paths();
    EXPECT_TRUE(p.ok()) << p.status().message();
    return p.ok() ? p.value() : std::vector<std::string>{};
}
} // namespace

TEST(ListStore, AMissingFileIsCreatedEmptyWithThePlayersPassword) {
    test::TempDataDir dir;
    ListStore store(dir.path() / "folder");
    ASSERT_TRUE(store.open().ok());
    EXPECT_TRUE(paths(store).empty());
    EXPECT_TRUE(store.takeNotices().empty());
    auto reopened = edb::RecordDatabase::open(store.file(), settings::databasePassword());
    EXPECT_TRUE(reopened.ok()) << reopened.status().message();
    EXPECT_FALSE(edb::RecordDatabase::open(store.file(), "another").ok());
}

TEST(ListStore, RecordsKeepTheOrderAddedAndRepeats) {
    test::TempDataDir dir;
    ListStore store(dir.path());
    ASSERT_TRUE(store.append({"/a/1.mp4", "/a/2.mp4"}).ok());
    ASSERT_TRUE(store.append({"/a/1.mp4", "/b/caf\xe9.avi"}).ok());
    EXPECT_EQ(paths(store),
              (std::vector<std::string>{"/a/1.mp4", "/a/2.mp4", "/a/1.mp4", "/b/caf\xe9.avi"}));
    ASSERT_TRUE(store.remove("/a/1.mp4").ok());
    EXPECT_EQ(paths(store), (std::vector<std::string>{"/a/2.mp4", "/b/caf\xe9.avi"}));
    ASSERT_TRUE(store.clear().ok());
    EXPECT_TRUE(paths(store).empty());
}

TEST(ListStore, WhatAnotherConnectionAppendsIsReadNextTime) {
    test::TempDataDir dir;
    ListStore store(dir.path());
    ASSERT_TRUE(store.append({"/a/1.mp4"}).ok());
    auto other = medialist::openListForAppending(store.file());
    ASSERT_TRUE(other.ok()) << other.status().message();
    ASSERT_TRUE(other.value().appendTexts(1, {"/b/2.mp4"}).ok());
    EXPECT_EQ(paths(store), (std::vector<std::string>{"/a/1.mp4", "/b/2.mp4"}));
}

TEST(ListStore, ABrokenFileIsSetAsideWithANoticeAndAFreshOneTakesItsPlace) {
    test::TempDataDir dir;
    const auto file = dir.path() / "means.edb";
    {
        std::ofstream junk(file, std::ios::binary);
        junk << std::string(4096, 'x');
    }
    ListStore store(dir.path());
    ASSERT_TRUE(store.open().ok());
    EXPECT_TRUE(paths(store).empty());
    const auto notices = store.takeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("means.edb"), std::string::npos);
    int setAside = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        if (e.path().filename().string().rfind("means.edb.broken-", 0) == 0) {
            ++setAside;
            EXPECT_EQ(std::filesystem::file_size(e.path()), 4096u); // kept byte for byte
        }
    EXPECT_EQ(setAside, 1);
}

TEST(ListStore, AppendingWriterCreatesAMissingFile) {
    test::TempDataDir dir;
    const auto file = dir.path() / "sub" / "means.edb";
    auto opened = medialist::openListForAppending(file);
    ASSERT_TRUE(opened.ok()) << opened.status().message();
    EXPECT_TRUE(std::filesystem::exists(file));
}
