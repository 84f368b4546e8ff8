// What "开始转换" sends: the transcode page's stored choices and the window's typed texts, in
// the engine's order.
#include "playback/Conversion.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

using namespace qinglan::playback;
using V = EngineValue;

namespace {

// The transcode page's defaults, with a folder of our own.
std::map<int, std::string> defaults() {
    return {{135, "1"},    {136, "0"}, {137, "1"}, {138, "0"}, {139, "640"},
            {140, "480"},  {141, "0"}, {142, "0"}, {143, "1"}, {144, "mp4"},
            {145, "/out"}, {146, "1"}, {147, "0"}, {148, "0"}, {149, "0"},
            {150, "0"},    {151, "0"}, {152, "0"}, {153, "0"}};
}

std::vector<V> sends(const std::map<int, std::string>& settings, TypedConversion typed) {
    auto s = conversionSends(
        [&](int f) {
            auto it = settings.find(f);
            return it == settings.end() ? std::string() : it->second;
        },
        typed);
    EXPECT_FALSE(s.askForName);
    return s.values;
}

} // namespace

TEST(Conversion, EmptyNameAsksForOneAndSendsNothing) {
    auto s = conversionSends([](int) { return std::string("1"); }, {"1000", "5000", ""});
    EXPECT_TRUE(s.askForName);
    EXPECT_TRUE(s.values.empty());
}

TEST(Conversion, DefaultsSendTheWholeSetUpInOrder) {
    EXPECT_EQ(sends(defaults(), {"1000", "5000", "clip"}), (std::vector<V>{{901, "0"},
                                                                           {902, "0"},
                                                                           {6, "3"},
                                                                           {803, "mp4"},
                                                                           {903, "1"},
                                                                           {905, "0"},
                                                                           {906, "0"},
                                                                           {907, "0"},
                                                                           {907, "0"},
                                                                           {907, "0"},
                                                                           {907, "0"},
                                                                           {804, "/out/clip.mp4"},
                                                                           {102, "1000"},
                                                                           {103, "5000"}}));
}

TEST(Conversion, ProcessingOffSendsOnlyTheTimesAsTyped) {
    auto s = defaults();
    s[135] = "0";
    s[136] = "1";
    EXPECT_EQ(sends(s, {"1000", "5000", "a"}), (std::vector<V>{{102, "1000"}, {103, "5000"}}));
    // Empty and non-numeric times go on as typed: the engine reads them as start and end.
    EXPECT_EQ(sends(s, {"", "abc", "a"}), (std::vector<V>{{102, ""}, {103, "abc"}}));
}

TEST(Conversion, ChoicesOfThePageReachTheirIds) {
    auto s = defaults();
    s[137] = "0";
    s[138] = "1";
    s[139] = "320";
    s[140] = "240";
    s[143] = "0";
    s[142] = "1";
    s[144] = "mkv";
    s[146] = "0";
    s[147] = "1";
    s[148] = "2";
    s[149] = "1";
    s[150] = "8";
    s[151] = "8";
    s[152] = "0";
    s[153] = "4";
    auto v = sends(s, {"", "", "a"});
    ASSERT_EQ(v.size(), 14u);
    EXPECT_EQ(v[0], (V{901, "320"}));
    EXPECT_EQ(v[1], (V{902, "240"}));
    EXPECT_EQ(v[2], (V{6, "2"}));
    EXPECT_EQ(v[3], (V{803, "mkv"}));
    EXPECT_EQ(v[4], (V{903, "0"}));
    EXPECT_EQ(v[5], (V{905, "2"}));
    EXPECT_EQ(v[6], (V{906, "1"}));
    // Top, bottom, left, right.
    EXPECT_EQ((std::vector<V>(v.begin() + 7, v.begin() + 11)),
              (std::vector<V>{{907, "8"}, {907, "8"}, {907, "0"}, {907, "4"}}));
    EXPECT_EQ(v[11], (V{804, "/out/a.mkv"}));
    s[141] = "1";
    s[142] = "0";
    EXPECT_EQ(sends(s, {"", "", "a"})[2], (V{6, "1"}));
}

TEST(Conversion, FolderGetsOneSeparator) {
    EXPECT_EQ(outputFilePath("/out", "clip", "mp4"), "/out/clip.mp4");
    EXPECT_EQ(outputFilePath("/out/", "clip", "mp4"), "/out/clip.mp4");
    EXPECT_EQ(outputFilePath("", "clip", "mp4"), "clip.mp4");
    auto s = defaults();
    s[145] = "/home/u/视频/";
    s[144] = "vob";
    EXPECT_EQ(sends(s, {"", "", "片段"})[11], (V{804, "/home/u/视频/片段.vob"}));
}

TEST(Conversion, OnlyTheSixteenFormatNamesAreSent) {
    const auto sentFormat = [](const std::string& stored) -> std::optional<std::string> {
        auto s = defaults();
        s[144] = stored;
        for (const auto& e : sends(s, {"", "", "a"}))
            if (e.id == 803) return e.value;
        return std::nullopt;
    };
    for (const char* f : {"avi", "wmv", "mpeg", "mp4", "mov", "mkv", "flv", "f4v", "m4v", "rmvb",
                          "rm", "3gp", "dat", "ts", "mts", "vob"})
        EXPECT_EQ(sentFormat(f), f);
    for (const char* f : {"", "MP4", ".mp4", "mp3", "mp4 ", "flac", "ape"})
        EXPECT_EQ(sentFormat(f), std::nullopt) << f;

    auto s = defaults();
    s[144] = "MP4";
    auto v = sends(s, {"", "", "a"});
    // No 803; the file name still carries the stored text.
    for (const auto& e : v)
        EXPECT_NE(e.id, 803);
    EXPECT_EQ(v.size(), 13u);
    EXPECT_EQ(v[10], (V{804, "/out/a.MP4"}));
}
