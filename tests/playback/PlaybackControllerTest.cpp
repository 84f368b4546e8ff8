// Playback control against the fake engine and a recording view: the rules read like the
// player's behaviour, without a display.
#include "playback/PlaybackController.h"

#include <aplayer/FakeEngine.h>
#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

using namespace qinglan;
using aplayer::FakeEngine;
using playback::PlaybackController;

namespace {

struct RecordingView : playback::PlaybackView {
    bool logoVisible = true;
    bool skipEnabled = false;
    bool screenshotEnabled = false;
    bool showsPause = false;
    std::string caption = "播放";
    std::string progressText;
    int fullScreenToggles = 0;
    int menus = 0;
    std::string missingCodec;

    void setLogoVisible(bool v) override { logoVisible = v; }
    void setSkipMenuEnabled(bool e) override { skipEnabled = e; }
    void setScreenshotMenuEnabled(bool e) override { screenshotEnabled = e; }
    void setPlayButtonShowsPause(bool p) override { showsPause = p; }
    std::string playLabelCaption() const override { return caption; }
    void setPlayLabelCaption(const std::string& c) override { caption = c; }
    void showProgress(int, int, const std::string& text) override { progressText = text; }
    void toggleFullScreen() override { ++fullScreenToggles; }
    void popupContextMenu() override { ++menus; }
    void showCodecMissing(const std::string& name) override { missingCodec = name; }
};

struct PlaybackFixture : ::testing::Test {
    FakeEngine engine;
    RecordingView view;
    std::map<int, std::string> settings;
    int applied = 0, advanced = 0, previous = 0, next = 0;
    std::unique_ptr<PlaybackController> controller;

    void SetUp() override {
        PlaybackController::Hooks hooks;
        hooks.setting = [this](int field) { return settings[field]; };
        hooks.applyAllSettings = [this] { ++applied; };
        hooks.advanceAtEnd = [this] { ++advanced; };
        hooks.playPrevious = [this] { ++previous; };
        hooks.playNext = [this] { ++next; };
        controller = std::make_unique<PlaybackController>(engine, view, hooks);
        // The engine's callbacks reach the controller, as the main window wires them.
        engine.APlayer_Create(
            nullptr, 0, 0, 320, 240,
            [this](uint32_t m, uintptr_t w, intptr_t l) { controller->onEngineMessage(m, w, l); },
            [this](int percent) { controller->onBuffering(percent); },
            [this](const std::string& name) { controller->onCodecMissing(name); });
        engine.clearCalls();
    }

    // Index of the first call of an operation (and id, for configuration values).
    std::ptrdiff_t indexOf(const std::string& op, int id = -1) const {
        const auto& calls = engine.calls();
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (calls[i].operation == op && (id < 0 || calls[i].id == id))
                return static_cast<std::ptrdiff_t>(i);
        return -1;
    }
};

} // namespace

TEST_F(PlaybackFixture, OpenSendsStartAndEndBeforeOpeningAndShowsThePlayingSigns) {
    settings[173] = "1";
    settings[205] = "30";
    settings[206] = "60";
    controller->openAndPlay("/videos/film.mp4");
    EXPECT_EQ(engine.configSent(102), std::vector<std::string>{"30000"});
    // The outro ends 60 s before each media's own end, whatever was open when it was typed.
    EXPECT_EQ(engine.configSent(103), std::vector<std::string>{"-60000"});
    EXPECT_LT(indexOf("APlayer_SetConfigA", 102), indexOf("APlayer_OpenA"));
    EXPECT_LT(indexOf("APlayer_SetConfigA", 103), indexOf("APlayer_OpenA"));
    EXPECT_EQ(engine.lastOpened(), "/videos/film.mp4");
    EXPECT_FALSE(view.logoVisible);
    EXPECT_TRUE(view.skipEnabled);
    EXPECT_TRUE(view.screenshotEnabled);
    EXPECT_TRUE(view.showsPause);
    EXPECT_EQ(view.caption, "暂停");
    EXPECT_TRUE(controller->progressRunning());
    EXPECT_EQ(applied, 0); // settings are re-sent a second later, not at once
}

TEST_F(PlaybackFixture, SkipSwitchedOffUndoesEarlierPositions) {
    settings[173] = "0";
    controller->openAndPlay("/videos/a.mkv");
    EXPECT_EQ(engine.configSent(102), std::vector<std::string>{"0"});
    EXPECT_EQ(engine.configSent(103), std::vector<std::string>{"0"});
}

TEST_F(PlaybackFixture, OpeningAnMp3DisablesScreenshotsAndKeepsTheLyricStem) {
    controller->openAndPlay("/music/歌.MP3");
    EXPECT_FALSE(view.screenshotEnabled);
    EXPECT_EQ(controller->mediaStem(), "/music/歌.");
    controller->openAndPlay("/videos/clip");
    EXPECT_TRUE(view.screenshotEnabled);
    EXPECT_EQ(controller->mediaStem(), "/music/歌."); // untouched by a non-audio open
}

TEST_F(PlaybackFixture, ProgressShowsTheClockAndAdvancesOnlyOnTheExactEndText) {
    controller->openAndPlay("/videos/a.mp4");
    engine.setDuration(3725000);
    engine.setPosition(59999);
    engine.setConfigAnswer(7, "1");
    controller->progressTick();
    EXPECT_EQ(view.progressText, "00:00:59/01:02:05");
    EXPECT_EQ(advanced, 0);
    engine.setConfigAnswer(7, "0");
    controller->progressTick();
    EXPECT_EQ(advanced, 1);
}

TEST_F(PlaybackFixture, AMediaThatFailsToOpenShowsTheLogoAndSaysWhyOnce) {
    controller->openAndPlay("/videos/broken file.mp4");
    engine.failOpen("文件不存在");
    engine.clearCalls();
    controller->progressTick();
    controller->progressTick();
    EXPECT_TRUE(view.logoVisible);
    EXPECT_FALSE(view.skipEnabled);
    EXPECT_EQ(engine.configSent(612),
              std::vector<std::string>{"无法播放：broken file.mp4（文件不存在）"});
    EXPECT_EQ(advanced, 0);
    EXPECT_EQ(controller->onScreenTextHoldMs(), PlaybackController::kFailureHoldMs);
    // The failure's longer hold is not the volume text's: that one stays a second as ever.
    controller->stepVolume(true);
    EXPECT_EQ(controller->onScreenTextHoldMs(), PlaybackController::kOsdHoldMs);
}

TEST_F(PlaybackFixture, EachFailureNamesItsOwnFileAndReason) {
    for (const auto& [media, reason, text] :
         {std::tuple{"/videos/notes.mp4", "格式不支持", "无法播放：notes.mp4（格式不支持）"},
          {"/videos/a.mkv", "", "无法播放：a.mkv"}}) { // an engine that gives no reason
        controller->openAndPlay(media);
        if (*reason)
            engine.failOpen(reason);
        else
            engine.setConfigAnswer(7, "2");
        controller->progressTick();
        EXPECT_EQ(engine.configSent(612).back(), text);
        engine.setConfigAnswer(7, std::nullopt);
    }
    EXPECT_TRUE(controller->openNetworkStream("http://127.0.0.1:9/x.mp4"));
    engine.failOpen("网络错误");
    controller->progressTick();
    EXPECT_EQ(engine.configSent(612).back(), "无法播放：x.mp4（网络错误）");
}

TEST_F(PlaybackFixture, ClickOnTheVideoMakesOneChangePerClick) {
    controller->openAndPlay("/videos/a.mp4");
    engine.runPending(); // the media has loaded and plays
    engine.clearCalls();
    engine.sendMessage(aplayer::MessageLeftButtonDown);
    EXPECT_EQ(engine.callsOf("APlayer_Pause").size(), 1u);
    EXPECT_EQ(engine.callsOf("APlayer_Play").size(), 0u);
    engine.clearCalls();
    engine.sendMessage(aplayer::MessageLeftButtonDown);
    EXPECT_EQ(engine.callsOf("APlayer_Play").size(), 1u);
    EXPECT_EQ(engine.callsOf("APlayer_Pause").size(), 0u);
}

TEST_F(PlaybackFixture, VideoMouseMessagesReachFullScreenAndTheMenu) {
    engine.sendMessage(aplayer::MessageLeftButtonDoubleClick);
    EXPECT_EQ(view.fullScreenToggles, 1);
    EXPECT_EQ(engine.callsOf("APlayer_Play").size(), 1u);
    engine.sendMessage(aplayer::MessageRightButtonUp);
    EXPECT_EQ(view.menus, 1);
    engine.sendMessage(aplayer::MessageRightButtonDown); // ignored
    EXPECT_EQ(view.menus, 1);
}

TEST_F(PlaybackFixture, PanelToggleFollowsItsOwnCaptionNotTheEngine) {
    controller->stop();
    view.caption = "暂停";
    controller->togglePlayPauseFromPanel();
    EXPECT_EQ(view.caption, "播放");
    EXPECT_FALSE(view.showsPause);
    EXPECT_EQ(engine.callsOf("APlayer_Pause").size(), 1u);
    controller->togglePlayPauseFromPanel();
    EXPECT_EQ(view.caption, "暂停");
    EXPECT_TRUE(view.showsPause);
}

TEST_F(PlaybackFixture, StopShowsTheLogoAndClosesTheMedia) {
    controller->openAndPlay("/videos/a.mp4");
    controller->stop();
    EXPECT_TRUE(view.logoVisible);
    EXPECT_FALSE(view.skipEnabled);
    EXPECT_EQ(engine.callsOf("APlayer_Close").size(), 1u);
}

TEST_F(PlaybackFixture, SeeksByBarAndByHotkeyWithoutBounds) {
    controller->seekToBarPosition(42);
    EXPECT_EQ(engine.callsOf("APlayer_SetPosition").back().id, 42000);
    engine.setPosition(5000);
    controller->seekRelative(-20000);
    EXPECT_EQ(engine.callsOf("APlayer_SetPosition").back().id, -15000);
}

TEST_F(PlaybackFixture, VolumeStepsShowTheirTextAndStopAtTheBounds) {
    controller->stepVolume(true);
    EXPECT_EQ(engine.volume(), 101);
    const auto seq = engine.configSequence();
    const std::vector<std::pair<int, std::string>> expected{
        {602, "1"}, {606, "100"}, {607, "70"}, {621, "1"}, {608, "200"}, {612, "音量：101%"}};
    EXPECT_EQ(seq, expected);
    for (int i = 0; i < 2000; ++i)
        controller->stepVolume(false);
    EXPECT_EQ(controller->volumeOffset(), -100);
    engine.clearCalls();
    controller->stepVolume(false); // already at 0 %
    EXPECT_TRUE(engine.calls().empty());
}

// The screenshot's message and the volume text share the one on-screen text: whichever came
// last stays for its own time, the other's pending hide does not cut it short.
TEST_F(PlaybackFixture, EachOnScreenTextKeepsItsOwnTime) {
    controller->stepVolume(true);
    EXPECT_GT(controller->onScreenTextHoldMs(), 0);
    controller->showOnScreenText("截图成功");
    EXPECT_EQ(controller->onScreenTextHoldMs(), 0) << "the volume's hide would cut the message";

    controller->stepVolume(true); // the volume replaces the message ...
    engine.clearCalls();
    controller->hideOnScreenText("截图成功"); // ... so the message's hide leaves it alone
    EXPECT_TRUE(engine.configSent(602).empty());
    controller->showOnScreenText("截图成功");
    controller->hideOnScreenText("截图成功");
    EXPECT_EQ(engine.configSent(602).back(), "0");
}

TEST_F(PlaybackFixture, DroppedSubtitleIsAppliedWithoutRestartingPlayback) {
    controller->openAndPlay("/videos/a.mp4");
    engine.clearCalls();
    EXPECT_TRUE(controller->dropFile("/videos/A.SRT"));
    EXPECT_EQ(controller->subtitleFile(), "/videos/A.SRT");
    EXPECT_EQ(applied, 1);
    EXPECT_TRUE(engine.callsOf("APlayer_OpenA").empty());
    EXPECT_FALSE(controller->dropFile("/videos/b.mkv"));
    EXPECT_EQ(engine.lastOpened(), "/videos/b.mkv");
    EXPECT_TRUE(controller->subtitleFile().empty()); // a new media forgets the subtitle
}

TEST_F(PlaybackFixture, NetworkOpenTakesHttpAndHttpsAndIgnoresTheRest) {
    EXPECT_FALSE(controller->openNetworkStream("HTTP://host/live"));
    EXPECT_FALSE(controller->openNetworkStream("rtmp://host/live"));
    EXPECT_TRUE(engine.callsOf("APlayer_OpenA").empty());
    EXPECT_TRUE(controller->openNetworkStream("https://host/live.m3u8"));
    EXPECT_EQ(engine.lastOpened(), "https://host/live.m3u8");
    EXPECT_TRUE(controller->progressRunning());
}

TEST_F(PlaybackFixture, NetworkStreamIsNotCutByTheLastFilesSkip) {
    settings = {{173, "1"}, {205, "30"}, {206, "60"}};
    controller->openAndPlay("/videos/local.mp4");
    EXPECT_EQ(engine.configSent(103).back(), "-60000");
    controller->openNetworkStream("http://host/live");
    EXPECT_EQ(engine.configSent(102).back(), "0");
    EXPECT_EQ(engine.configSent(103).back(), "0");
}

// "开始转换" sends the typed span; the wiring then tells the controller.
struct TypedCut : PlaybackFixture {
    void startConversion(const char* startMs, const char* endMs, const char* mode = nullptr) {
        if (mode) engine.APlayer_SetConfigA(6, mode);
        engine.APlayer_SetConfigA(102, startMs);
        engine.APlayer_SetConfigA(103, endMs);
        controller->cutPointsSentForNextOpen();
    }
    // The cut points the engine holds when it is asked to open, for each open in turn.
    std::vector<std::pair<std::string, std::string>> cutAtEachOpen() const {
        std::vector<std::pair<std::string, std::string>> out;
        std::string start, end;
        for (const auto& c : engine.calls()) {
            if (c.operation == "APlayer_SetConfigA" && c.id == 102) start = c.value;
            if (c.operation == "APlayer_SetConfigA" && c.id == 103) end = c.value;
            if (c.operation == "APlayer_OpenA") out.emplace_back(start, end);
        }
        return out;
    }
    using Cuts = std::vector<std::pair<std::string, std::string>>;
};

TEST_F(TypedCut, HoldsForTheNextOpenOnlyInPlayModeAndWhileConverting) {
    settings[173] = "0";
    for (const char* mode : {"1", "2", "3"}) {
        SCOPED_TRACE(mode);
        engine.clearCalls();
        startConversion("1000", "5000", mode);
        controller->openAndPlay("/videos/a.mp4"); // plays (or converts) only the typed span
        controller->openAndPlay("/videos/b.mp4"); // whole again
        controller->openAndPlay("/videos/c.mp4");
        EXPECT_EQ(cutAtEachOpen(), (Cuts{{"1000", "5000"}, {"0", "0"}, {"0", "0"}}));
        EXPECT_FALSE(controller->cutPendingForNextOpen());
    }
    // The network open is an open too: the span is its own, and gone afterwards.
    engine.clearCalls();
    startConversion("", "3000");
    controller->openNetworkStream("http://host/a.mp4");
    controller->openNetworkStream("http://host/b.mp4");
    EXPECT_EQ(cutAtEachOpen(), (Cuts{{"", "3000"}, {"0", "0"}}));
}

TEST_F(TypedCut, SkipPositionsReplaceItAndItIsGoneAfterThatOpen) {
    settings = {{173, "1"}, {205, "30"}, {206, "60"}};
    startConversion("1000", "5000");
    controller->openAndPlay("/videos/a.mp4");
    settings[173] = "0";
    controller->openAndPlay("/videos/b.mp4");
    EXPECT_EQ(cutAtEachOpen(), (Cuts{{"30000", "-60000"}, {"0", "0"}}));
}

TEST_F(PlaybackFixture, BufferingAndMissingCodecReachTheUser) {
    engine.sendBuffering(40);
    EXPECT_EQ(engine.configSent(612).back(), "缓冲：40%");
    engine.sendBuffering(100);
    EXPECT_EQ(engine.configSent(602).back(), "0");
    engine.sendCodecMissing("avs2");
    EXPECT_EQ(view.missingCodec, "avs2");
}

TEST_F(PlaybackFixture, PreviousAndNextAskTheList) {
    controller->previous();
    controller->next();
    controller->next();
    EXPECT_EQ(previous, 1);
    EXPECT_EQ(next, 2);
}
