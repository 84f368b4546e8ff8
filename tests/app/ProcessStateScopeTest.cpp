// Each main-window test's state is its own: whatever one left behind (full screen, share mode,
// an open popup, a folder add, the media, the settings file), the next starts as a new process.
#include "app/ProcessState.h"

#include <gtest/gtest.h>

#include "PlayerFixture.h"

using namespace qinglan;

namespace {

void leaveEverythingSet(app::ProcessState& s) {
    s.fullScreen = s.geometryFrozen = s.shareMode = s.sidePanelEnabled = true;
    s.fileConfigChanged = true;
    s.currentMedia = "/v/left over.mp4";
}

void expectFresh(const app::ProcessState& s) {
    EXPECT_FALSE(s.fullScreen);
    EXPECT_FALSE(s.geometryFrozen);
    EXPECT_FALSE(s.shareMode);
    EXPECT_FALSE(s.sidePanelEnabled);
    EXPECT_FALSE(s.fileConfigChanged);
    EXPECT_TRUE(s.currentMedia.empty());
    EXPECT_EQ(s.store, nullptr);
}

struct PlayerFixtureCheck : test::PlayerFixture {};

} // namespace

TEST(ProcessStateScope, ALaterScopeStartsFreshAndAnInnerOneGivesTheOuterBack) {
    app::ProcessState* first = nullptr;
    {
        app::ProcessStateScope scope;
        first = &app::processState();
        leaveEverythingSet(*first);
    }
    app::ProcessStateScope outer;
    auto& s = app::processState();
    expectFresh(s);
    s.currentMedia = "/v/outer.mp4";
    {
        app::ProcessStateScope inner;
        EXPECT_NE(&app::processState(), &s);
        expectFresh(app::processState());
        leaveEverythingSet(app::processState());
    }
    EXPECT_EQ(&app::processState(), &s);
    EXPECT_EQ(s.currentMedia, "/v/outer.mp4");
    EXPECT_FALSE(s.fullScreen);
}

TEST_F(PlayerFixtureCheck, TheWindowWorksOnTheFixturesOwnState) {
    // The window opened the settings file of this test's data folder into this test's state.
    ASSERT_NE(app::processState().store, nullptr);
    leaveEverythingSet(app::processState());
}

TEST_F(PlayerFixtureCheck, TheNextTestStartsWithEveryWindowFlagClear) {
    // The side panel flag is the new window's own business; the rest is as a new process has it.
    const auto& s = app::processState();
    EXPECT_FALSE(s.fullScreen);
    EXPECT_FALSE(s.geometryFrozen);
    EXPECT_FALSE(s.shareMode);
    EXPECT_FALSE(s.fileConfigChanged);
    EXPECT_TRUE(s.currentMedia.empty());
}
