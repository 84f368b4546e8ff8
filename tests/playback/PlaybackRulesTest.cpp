#include "playback/PlaybackRules.h"

#include <gtest/gtest.h>

using namespace qinglan::playback;

TEST(PlaybackRules, FormatClockPadsAndLetsHoursGrow) {
    EXPECT_EQ(formatClock(0), "00:00:00");
    EXPECT_EQ(formatClock(59), "00:00:59");
    EXPECT_EQ(formatClock(60), "00:01:00");
    EXPECT_EQ(formatClock(3600), "01:00:00");
    EXPECT_EQ(formatClock(3725), "01:02:05");
    EXPECT_EQ(formatClock(360000), "100:00:00");
}

TEST(PlaybackRules, AudioIsToldByExtensionInAnyCase) {
    EXPECT_TRUE(isAudioMedia("/music/Song.MP3"));
    EXPECT_TRUE(isAudioMedia("/music/a.Flac"));
    EXPECT_TRUE(isAudioMedia("x.ape"));
    EXPECT_TRUE(isAudioMedia("x.WAV"));
    EXPECT_FALSE(isAudioMedia("/video/film.mp4"));
    EXPECT_FALSE(isAudioMedia("/video/mp3"));
    EXPECT_EQ(mediaStemFor("/music/歌.Mp3"), std::optional<std::string>("/music/歌."));
    EXPECT_EQ(mediaStemFor("/music/noextension"), std::nullopt);
}

TEST(PlaybackRules, SubtitleDropsAreToldByExtension) {
    for (const char* p : {"a.srt", "a.SRT", "b.ass", "c.Ssa", "d.sub", "e.pgs", "f.smi"})
        EXPECT_TRUE(isSubtitleFile(p)) << p;
    EXPECT_FALSE(isSubtitleFile("movie.mkv"));
    EXPECT_FALSE(isSubtitleFile("srt"));
}

TEST(PlaybackRules, NetworkOpenTakesHttpAndHttpsOnly) {
    EXPECT_TRUE(isAcceptedNetworkAddress("http://host/live.m3u8"));
    EXPECT_TRUE(isAcceptedNetworkAddress("http://"));
    EXPECT_TRUE(isAcceptedNetworkAddress("https://host/v.mp4"));
    EXPECT_FALSE(isAcceptedNetworkAddress("HTTP://host/v.mp4"));
    EXPECT_FALSE(isAcceptedNetworkAddress("ftp://host/v.mp4"));
    EXPECT_FALSE(isAcceptedNetworkAddress(" http://host"));
    EXPECT_FALSE(isAcceptedNetworkAddress(""));
}

TEST(PlaybackRules, OutroEndsRelativeToEachMediasOwnEnd) {
    auto p = skipPositions("30", "60");
    EXPECT_EQ(p.start, "30000");
    EXPECT_EQ(p.end, "-60000");
    // The intro is passed as typed; an outro that is no number plays to the end.
    p = skipPositions("", "abc");
    EXPECT_EQ(p.start, "000");
    EXPECT_EQ(p.end, "0");
    EXPECT_EQ(skipPositions("0", "0").end, "0");
    EXPECT_EQ(leadingNumber(" 12abc"), 12);
    EXPECT_EQ(leadingNumber("-7"), -7);
}

TEST(PlaybackRules, VolumeStepStaysWithinBounds) {
    EXPECT_EQ(stepVolumeOffset(0, true), 1);
    EXPECT_EQ(stepVolumeOffset(0, false), -1);
    EXPECT_EQ(stepVolumeOffset(900, true), 900);    // 1000 % is the top
    EXPECT_EQ(stepVolumeOffset(-100, false), -100); // 0 % is the bottom
    EXPECT_EQ(volumeOnScreenText(-100), "音量：0%");
    EXPECT_EQ(volumeOnScreenText(25), "音量：125%");
}
