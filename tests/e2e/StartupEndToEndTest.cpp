// The real player on a private X display: one main window, hand-over by a second start.
#include "e2e/PlayerProcess.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

using namespace qinglan::test;

TEST(EndToEndStartup, SecondStartHandsOverAndLeavesOneMainWindow) {
    TempDataDir data;
    PlayerProcess player(data);
    player.start({media("clip.mp4").string()});
    ASSERT_TRUE(player.waitForMainWindow());
    EXPECT_EQ(playerWindows().size(), 1u);

    qint64 ms = 0;
    EXPECT_EQ(player.runToEnd({media("orange clip.mp4").string()}, 5000, &ms), 0);
    EXPECT_LT(ms, 2000);
    EXPECT_EQ(player.runToEnd({}, 5000, &ms), 0);
    EXPECT_LT(ms, 2000);
    EXPECT_EQ(playerWindows().size(), 1u);
    EXPECT_TRUE(player.running());

    EXPECT_EQ(player.terminate(), 0);
}
