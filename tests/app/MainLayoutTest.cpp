#include "app/MainLayout.h"

#include <gtest/gtest.h>

using namespace qinglan::app;

TEST(AppMainLayout, SidePanelNeedsMoreThan620By450) {
    EXPECT_FALSE(computeMainLayout({0, 0, 620, 450}, false, 30, 200).sidePanelEnabled);
    EXPECT_FALSE(computeMainLayout({0, 0, 900, 450}, false, 30, 200).sidePanelEnabled);
    EXPECT_TRUE(computeMainLayout({0, 0, 621, 451}, false, 30, 200).sidePanelEnabled);
}

TEST(AppMainLayout, CompanionsHugTheEdges) {
    const auto l = computeMainLayout({100, 50, 725, 550}, false, 30, 201);
    EXPECT_TRUE(l.barPlaced);
    EXPECT_EQ(l.bar, (Box{101, 569, 723, 30}));
    EXPECT_EQ(l.video, (Box{0, 0, 725, 488}));
    EXPECT_EQ(l.panelLeft, 736);
    EXPECT_EQ(l.panelTop, 224); // 50 + 275 - 100.5, truncated
    EXPECT_EQ(l.maximizeButton, (Box{735, 51, 43, 20}));
    EXPECT_EQ(l.minimizeButton, (Box{690, 51, 44, 20}));
}

TEST(AppMainLayout, ShareModeLeavesTheBarAndGivesTheVideo30MorePixels) {
    const auto l = computeMainLayout({0, 0, 725, 550}, true, 30, 200);
    EXPECT_FALSE(l.barPlaced);
    EXPECT_EQ(l.video, (Box{0, 0, 725, 518}));
}

TEST(AppMainLayout, LogoFillsSmallWindowsAndIsCentredInLargeOnes) {
    EXPECT_EQ(computeMainLayout({0, 0, 300, 300}, false, 30, 200).logo, (Box{0, 0, 300, 236}));
    EXPECT_EQ(computeMainLayout({0, 0, 301, 301}, false, 30, 200).logo, (Box{22, -7, 256, 256}));
    EXPECT_EQ(computeMainLayout({0, 0, 725, 550}, false, 30, 200).logo, (Box{234, 117, 256, 256}));
}

TEST(AppMainLayout, FadeInTakes128TicksAndFadeOutStepsBy20) {
    Fade fade;
    fade.start(FadeMode::In, 0);
    int ticks = 0;
    FadeStep step;
    do {
        step = fade.tick();
        ++ticks;
        EXPECT_LE(step.applyOpacity, 255);
    } while (!step.finished && ticks < 1000);
    EXPECT_EQ(ticks, 128);

    fade.start(FadeMode::Out, 255);
    std::vector<int> applied;
    do {
        step = fade.tick();
        applied.push_back(step.applyOpacity);
    } while (!step.finished && applied.size() < 100);
    EXPECT_EQ(applied.front(), 255);
    EXPECT_EQ(applied[1], 235);
    EXPECT_EQ(applied.back(), 0);   // the last tick applies 0, then the window goes
    EXPECT_EQ(applied.size(), 14u); // 255, 235, ..., 15, then 0
}

TEST(AppMainLayout, CloseDecisionFollowsTheTwoSettings) {
    EXPECT_EQ(closeActionFor(true, true), CloseAction::FadeOutAndExit);
    EXPECT_EQ(closeActionFor(false, true), CloseAction::HideToTray);
    EXPECT_EQ(closeActionFor(false, false), CloseAction::CloseNow);
}

TEST(AppMainLayout, TheVideoLeavesTheBarStripWindowedAndCoversTheScreenInFullScreen) {
    EXPECT_EQ(videoBoxFor(725, 550, false, false), (Box{0, 0, 725, 488}));
    EXPECT_EQ(videoBoxFor(725, 550, true, false), (Box{0, 0, 725, 518}));
    EXPECT_EQ(videoBoxFor(1280, 800, false, true), (Box{0, 0, 1280, 800}));
    EXPECT_EQ(videoBoxFor(1280, 800, true, true), (Box{0, 0, 1280, 840}));
}
