// The player fixture itself: whatever a test left in the process-wide state, the next one
// starts from a fresh start's state (the side panel flag is the new window's own business).
#include "app/ProcessState.h"

#include <gtest/gtest.h>

#include "PlayerFixture.h"

using namespace qinglan;

namespace {

struct PlayerFixtureCheck : test::PlayerFixture {};

TEST_F(PlayerFixtureCheck, TheNextTestStartsWithEveryWindowFlagClear) {
    auto& s = app::processState();
    // What full screen, share mode, an open popup and a folder add leave behind.
    s.fullScreen = s.geometryFrozen = s.shareMode = s.sidePanelEnabled = true;
    s.fileConfigChanged = true;
    s.currentMedia = "/v/left over.mp4";
    TearDown();
    SetUp();
    EXPECT_FALSE(s.fullScreen);
    EXPECT_FALSE(s.geometryFrozen);
    EXPECT_FALSE(s.shareMode);
    EXPECT_FALSE(s.fileConfigChanged);
    EXPECT_TRUE(s.currentMedia.empty());
}

} // namespace
