// The real engine on libmpv with null outputs, on the media the build generates.
#include "EngineTestSupport.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>
#include <fstream>

using namespace qinglan::aplayer;
using namespace qinglan::aplayer::test;
using qinglan::test::media;

namespace {

class EngineMpv : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(e.create()); }
    Engine& engine() { return *e.engine; }
    std::string clip() { return media("clip.mp4").string(); }
    EngineUnderTest e;
};

TEST_F(EngineMpv, OpensPlaysAndReportsDurationPauseAndPlay) {
    EXPECT_EQ(engine().APlayer_GetState(), StateReady);
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::MediaLoaded), "");
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::PlayResult), "");
    EXPECT_EQ(engine().APlayer_GetDuration(), 0);

    ASSERT_TRUE(e.openAndWaitPlaying(clip()));
    EXPECT_NEAR(engine().APlayer_GetDuration(), 10000, 200);
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::MediaLoaded), clip());
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::PlayResult), "1");
    ASSERT_TRUE(waitUntil([&] { return engine().APlayer_GetPosition() > 300; }));

    engine().APlayer_Pause();
    EXPECT_EQ(engine().APlayer_GetState(), StatePaused);
    spin(150);
    int held = engine().APlayer_GetPosition();
    spin(400);
    EXPECT_NEAR(engine().APlayer_GetPosition(), held, 50);

    engine().APlayer_Play();
    EXPECT_EQ(engine().APlayer_GetState(), StatePlaying);
    EXPECT_TRUE(waitUntil([&] { return engine().APlayer_GetPosition() > held + 200; }));
}

TEST_F(EngineMpv, SeeksToAPositionAndKeepsNegativeSeeksAtTheStart) {
    ASSERT_TRUE(e.openAndWaitPlaying(clip()));
    engine().APlayer_SetPosition(6000);
    EXPECT_TRUE(waitUntil([&] {
        int p = engine().APlayer_GetPosition();
        return p >= 5900 && p < 7500;
    }));
    engine().APlayer_SetPosition(-15000);
    EXPECT_TRUE(waitUntil([&] { return engine().APlayer_GetPosition() < 1500; }));
    EXPECT_EQ(engine().APlayer_GetState(), StatePlaying);
}

TEST_F(EngineMpv, PlayResultIsZeroOnlyAfterTheNaturalEndAndClearedByClose) {
    ASSERT_TRUE(e.openAndWaitPlaying(clip()));
    engine().APlayer_SetPosition(8500);
    bool sawOther = false;
    ASSERT_TRUE(waitUntil([&] {
        std::string r = engine().APlayer_GetConfigA(cfg::PlayResult);
        if (r != "0") sawOther = true;
        return r == "0";
    }));
    EXPECT_TRUE(sawOther);
    EXPECT_EQ(engine().APlayer_GetState(), StateReady);
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::MediaLoaded), "");
    EXPECT_NEAR(engine().APlayer_GetDuration(), 10000, 200);

    // A new open starts afresh: not "0" until that media ends too.
    ASSERT_TRUE(engine().APlayer_OpenA(clip()));
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::PlayResult), "1");
    ASSERT_TRUE(waitUntil([&] { return engine().APlayer_GetState() == StatePlaying; }));
    engine().APlayer_Close();
    EXPECT_EQ(engine().APlayer_GetState(), StateReady);
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::PlayResult), "");
    spin(300); // a late end-of-file of the closed media must not count
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::PlayResult), "");
    EXPECT_EQ(engine().APlayer_GetPosition(), 0);
}

TEST_F(EngineMpv, StartAndEndCutThePlayback) {
    engine().APlayer_SetConfigA(cfg::StartMs, "6000");
    engine().APlayer_SetConfigA(cfg::EndMs, "7500");
    ASSERT_TRUE(e.openAndWaitPlaying(clip()));
    int first = engine().APlayer_GetPosition();
    EXPECT_GE(first, 5900);
    EXPECT_LT(first, 7500);
    EXPECT_TRUE(
        waitUntil([&] { return engine().APlayer_GetConfigA(cfg::PlayResult) == "0"; }, 4000));
}

TEST_F(EngineMpv, NegativeEndStopsThatLongBeforeTheMediasEnd) {
    engine().APlayer_SetConfigA(cfg::StartMs, "000");
    engine().APlayer_SetConfigA(cfg::EndMs, "-8500");
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(engine().APlayer_OpenA(clip()));
    ASSERT_TRUE(
        waitUntil([&] { return engine().APlayer_GetConfigA(cfg::PlayResult) == "0"; }, 6000));
    // 1.5 s of media, not 10 s.
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_GT(t.elapsed(), 1000);
}

TEST_F(EngineMpv, AnEndBeforeTheStartPlaysTheMediaWhole) {
    engine().APlayer_SetConfigA(cfg::StartMs, "3000");
    engine().APlayer_SetConfigA(cfg::EndMs, "-30000"); // outro longer than the media
    ASSERT_TRUE(e.openAndWaitPlaying(clip()));
    spin(1200);
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::PlayResult), "1");
    EXPECT_EQ(engine().APlayer_GetState(), StatePlaying);
    EXPECT_GT(engine().APlayer_GetPosition(), 3500);
}

TEST_F(EngineMpv, MuteVolumeAndAspectReachMpv) {
    ASSERT_TRUE(e.openAndWaitPlaying(clip()));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::Mute, "1"));
    EXPECT_EQ(e.engine->mpvProperty("mute"), "yes");
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::Mute, "0"));
    EXPECT_EQ(e.engine->mpvProperty("mute"), "no");

    engine().APlayer_SetVolume(350);
    EXPECT_EQ(std::atof(e.engine->mpvProperty("volume").c_str()), 350.0);
    engine().APlayer_SetVolume(5000);
    EXPECT_EQ(std::atof(e.engine->mpvProperty("volume").c_str()), 1000.0);

    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::Aspect, "4;3"));
    auto aspect = [&] { return std::atof(e.engine->mpvProperty("video-params/aspect").c_str()); };
    EXPECT_TRUE(waitUntil([&] { return std::abs(aspect() - 4.0 / 3.0) < 0.01; }));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::Aspect, "0;0"));
    EXPECT_TRUE(waitUntil([&] { return std::abs(aspect() - 16.0 / 9.0) < 0.01; }));
    EXPECT_FALSE(engine().APlayer_SetConfigA(cfg::Aspect, "wide"));
}

TEST_F(EngineMpv, SubtitleFileIsShownOnceEvenWhenSentAgain) {
    ASSERT_TRUE(e.openAndWaitPlaying(clip()));
    engine().APlayer_SetConfigA(cfg::SubtitleShow, "1");
    engine().APlayer_SetConfigA(cfg::SubtitleFont, "@黑体;18;16777215;1");
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::SubtitleFile, media("clip.srt").string()));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::SubtitleFile, media("clip.srt").string()));
    EXPECT_EQ(std::atof(e.engine->mpvProperty("sub-font-size").c_str()), 54.0);
    EXPECT_EQ(e.engine->mpvProperty("track-list/count"), "3"); // video, audio, one subtitle
    engine().APlayer_SetPosition(1000);
    EXPECT_TRUE(
        waitUntil([&] { return e.engine->mpvProperty("sub-text") == "青岚播放器 字幕测试"; }));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::SubtitleShow, "0"));
    EXPECT_EQ(e.engine->mpvProperty("sub-visibility"), "no");

    // The same file as the second subtitle moves to the second place.
    std::string track = e.engine->mpvProperty("sid");
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::Subtitle2Show, "1"));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::Subtitle2File, media("clip.srt").string()));
    EXPECT_EQ(e.engine->mpvProperty("secondary-sid"), track);
    EXPECT_EQ(e.engine->mpvProperty("sid"), "no");
    EXPECT_EQ(e.engine->mpvProperty("track-list/count"), "3");
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::SubtitleDelay, "7500;1000;1000"));
    EXPECT_EQ(std::atof(e.engine->mpvProperty("sub-delay").c_str()), 2.5);
}

TEST_F(EngineMpv, PictureAndSoundSettingsKeepThePlaybackGoing) {
    ASSERT_TRUE(e.openAndWaitPlaying(clip()));
    // The null output, like x11, ignores mpv's own colour controls: a filter does the work.
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::Brightness, "73"));
    EXPECT_EQ(e.engine->mpvProperty("current-vo"), "null");
    EXPECT_EQ(e.engine->mpvProperty("brightness"), "0");
    EXPECT_NE(e.engine->mpvProperty("vf").find("lutyuv=y=val*1+100.74"), std::string::npos);
    EXPECT_FALSE(engine().APlayer_SetConfigA(cfg::Hue, "x"));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::FlipHorizontal, "1"));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::Comparison, "1"));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::RotateDegrees, "45"));
    // A 45 degree turn makes the picture's bounding box wider than the source.
    EXPECT_TRUE(waitUntil(
        [&] { return std::atoi(e.engine->mpvProperty("video-out-params/w").c_str()) > 640; }));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::RotateDegrees, "90"));
    EXPECT_EQ(e.engine->mpvProperty("video-rotate"), "90");
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::ChannelMap, "1"));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::VolumeLevelling, "1"));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::Surround, "1"));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::SurroundDepth, "20"));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::ChannelDelay, "300"));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::HardwareDecoding, "1"));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::Avx2, "0"));
    EXPECT_NE(e.engine->mpvProperty("af").find("extrastereo"), std::string::npos);
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::MultichannelMode, "3"));
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::MultichannelVolume, "20"));
    EXPECT_EQ(e.engine->mpvProperty("audio-channels"), "5.1");
    EXPECT_NE(e.engine->mpvProperty("af").find("volume=2dB"), std::string::npos);

    int before = engine().APlayer_GetPosition();
    EXPECT_TRUE(waitUntil([&] { return engine().APlayer_GetPosition() > before + 500; }));
    EXPECT_EQ(engine().APlayer_GetState(), StatePlaying);
    engine().APlayer_SetConfigA(cfg::Avx2, "1");
}

TEST_F(EngineMpv, AnAudioIndexTheMediaLacksKeepsTheSound) {
    ASSERT_TRUE(e.openAndWaitPlaying(clip()));
    EXPECT_FALSE(engine().APlayer_SetConfigA(cfg::AudioTrack, "3"));
    EXPECT_EQ(e.engine->mpvProperty("aid"), "1");
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::AudioTrack, "0"));
    EXPECT_EQ(e.engine->mpvProperty("aid"), "1");
}

TEST_F(EngineMpv, OnScreenTextShowsAndHides) {
    ASSERT_TRUE(e.openAndWaitPlaying(clip()));
    for (auto [id, v] : std::initializer_list<std::pair<int, const char*>>{
             {602, "1"}, {606, "100"}, {607, "70"}, {621, "1"}, {608, "200"}, {612, "音量：100%"}})
        EXPECT_TRUE(engine().APlayer_SetConfigA(id, v)) << id;
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::OsdShow, "0"));
}

TEST_F(EngineMpv, UnknownAndLaterIdsAreStoredAndReadBack) {
    EXPECT_TRUE(engine().APlayer_SetConfigA(9999, "anything"));
    EXPECT_EQ(engine().APlayer_GetConfigA(9999), "anything");
    EXPECT_TRUE(engine().APlayer_SetConfigA(1305, "/music/a.lrc"));
    EXPECT_EQ(engine().APlayer_GetConfigA(1305), "/music/a.lrc");
    EXPECT_TRUE(engine().APlayer_SetConfigA(2402, "4"));
    EXPECT_EQ(engine().APlayer_GetConfigA(2402), "4");
    // The renderer is kept but cannot replace the null output of this test.
    EXPECT_TRUE(engine().APlayer_SetConfigA(cfg::Renderer, "2"));
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::Renderer), "2");
}

TEST_F(EngineMpv, AChinesePathPlays) {
    std::string path = media("中文 目录/青岚 测试.mp4").string();
    ASSERT_TRUE(e.openAndWaitPlaying(path));
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::MediaLoaded), path);
    EXPECT_NEAR(engine().APlayer_GetDuration(), 10000, 200);
}

TEST_F(EngineMpv, AMissingDecoderIsReportedWithTheCodecName) {
    ASSERT_TRUE(engine().APlayer_OpenA(media("no-decoder avs2.avi").string()));
    EXPECT_TRUE(waitUntil([&] { return !e.missingCodecs.empty(); }));
    // The sound still plays, and the codec is reported once.
    EXPECT_TRUE(waitUntil([&] {
        return engine().APlayer_GetState() == StatePlaying &&
               std::abs(engine().APlayer_GetDuration() - 3000) < 200;
    }));
    ASSERT_EQ(e.missingCodecs.size(), 1u);
    EXPECT_EQ(e.missingCodecs[0], "avs2");
    EXPECT_TRUE(waitUntil([&] { return engine().APlayer_GetConfigA(cfg::PlayResult) == "0"; }));
    EXPECT_EQ(e.missingCodecs.size(), 1u);
}

TEST(EngineMpvLifetime, ClosingTheWindowFirstStopsTheEngineCleanly) {
    EngineUnderTest e;
    ASSERT_TRUE(e.create());
    ASSERT_TRUE(e.openAndWaitPlaying(media("clip.mp4").string()));
    e.parent.reset(); // takes the video window with it; mpv must stop first
    EXPECT_EQ(e.engine->APlayer_GetWindow(), nullptr);
    EXPECT_EQ(e.engine->APlayer_GetState(), StateReady);
    EXPECT_FALSE(e.engine->APlayer_OpenA(media("clip.mp4").string()));
    EXPECT_TRUE(e.engine->APlayer_SetConfigA(cfg::Mute, "1")); // stored, harmless
}

TEST_F(EngineMpv, AFileThatDoesNotExistFailsWithoutEndingAsPlayed) {
    ASSERT_TRUE(engine().APlayer_OpenA(media("does not exist.mp4").string()));
    EXPECT_TRUE(waitUntil([&] { return engine().APlayer_GetConfigA(cfg::PlayResult) == "2"; }));
    EXPECT_EQ(engine().APlayer_GetState(), StateReady);
    EXPECT_FALSE(engine().APlayer_OpenA(""));
}

TEST_F(EngineMpv, AFailedOpenSaysWhyUntilTheNextOpenOrClose) {
    QTemporaryDir dir;
    const std::string notMedia = dir.filePath("notes.mp4").toStdString();
    std::ofstream(notMedia) << "这不是视频，只是几行文字。\nplain text, no media at all\n";
    const auto failsWith = [&](const std::string& path) {
        EXPECT_TRUE(engine().APlayer_OpenA(path)) << path;
        EXPECT_EQ(engine().APlayer_GetConfigA(cfg::FailureReason), "") << "before it failed";
        EXPECT_TRUE(
            waitUntil([&] { return engine().APlayer_GetConfigA(cfg::PlayResult) == "2"; }, 15000))
            << path;
        return engine().APlayer_GetConfigA(cfg::FailureReason);
    };
    EXPECT_EQ(failsWith(media("does not exist.mp4").string()), "文件不存在");
    EXPECT_EQ(failsWith(notMedia), "格式不支持");
    // Nothing listens on the discard port: the connection is refused at once.
    EXPECT_EQ(failsWith("http://127.0.0.1:9/x.mp4"), "网络错误");

    ASSERT_TRUE(e.openAndWaitPlaying(clip()));
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::FailureReason), "");
    EXPECT_EQ(failsWith("file://" + media("gone too.mp4").string()), "文件不存在");
    engine().APlayer_Close();
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::PlayResult), "");
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::FailureReason), "");
}

} // namespace
