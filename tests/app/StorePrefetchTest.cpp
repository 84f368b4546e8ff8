// The record files opened beside the toolkit's start-up: the same connections the window
// thread would have made, and never a write to a file that does not open.
#include "app/StorePrefetch.h"
#include "support/TempDataDir.h"

#include <medialist/ListStore.h>
#include <settings/SettingsRecord.h>
#include <settings/SettingsStore.h>
#include <settings/StoreLocation.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace qinglan;

namespace {

std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

TEST(StorePrefetch, OpenedFilesAreTakenOverAsIfOpenedOnTheWindowThread) {
    test::TempDataDir data;
    const auto folder = data.playerDataDir();
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(settings::SettingsStore::createFile(folder / settings::kSettingsFileName).ok());
    {
        settings::SettingsStore store(folder);
        ASSERT_TRUE(store.write(205, "42").ok());
        medialist::ListStore list(folder);
        ASSERT_TRUE(list.append({"/videos/第一集.mp4"}).ok());
    }

    app::StorePrefetch prefetch;
    prefetch.start(folder);
    EXPECT_FALSE(prefetch.takeSettings(folder / "elsewhere")); // another folder's: not given
    prefetch.start(folder);
    auto settingsDb = prefetch.takeSettings(folder);
    auto listDb = prefetch.takeList(folder);
    ASSERT_TRUE(settingsDb && settingsDb->isOpen());
    ASSERT_TRUE(listDb && listDb->isOpen());
    EXPECT_FALSE(prefetch.takeSettings(folder)); // once

    settings::SettingsStore store(folder);
    ASSERT_TRUE(store.adopt(std::move(*settingsDb)).ok());
    EXPECT_TRUE(store.isOpen());
    settings::SettingsRecord record;
    ASSERT_TRUE(record.load(store).ok());
    EXPECT_EQ(record.text(205), "42");
    ASSERT_TRUE(store.write(205, "43").ok()); // the adopted connection writes as its own

    medialist::ListStore list(folder);
    list.adopt(std::move(*listDb));
    auto paths = list.paths();
    ASSERT_TRUE(paths.ok());
    EXPECT_EQ(paths.value(), std::vector<std::string>{"/videos/第一集.mp4"});
}

TEST(StorePrefetch, MissingAndForeignFilesAreLeftToTheWindowThreadUntouched) {
    test::TempDataDir data;
    const auto folder = data.playerDataDir();
    std::filesystem::create_directories(folder);
    {
        std::ofstream(folder / settings::kSettingsFileName, std::ios::binary)
            << "not a record database, but somebody's file";
    }
    const std::string before = bytesOf(folder / settings::kSettingsFileName);

    app::StorePrefetch prefetch;
    prefetch.start(folder);
    EXPECT_FALSE(prefetch.takeSettings(folder));
    EXPECT_FALSE(prefetch.takeList(folder));
    EXPECT_EQ(bytesOf(folder / settings::kSettingsFileName), before);
    EXPECT_FALSE(std::filesystem::exists(folder / settings::kListFileName));
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename(), settings::kSettingsFileName) << entry.path();
}
