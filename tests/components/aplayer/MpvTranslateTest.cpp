#include "aplayer/MpvTranslate.h"
#include "aplayer/ConfigTable.h"

#include <gtest/gtest.h>

#include <set>

using namespace qinglan::aplayer;

TEST(EngineTranslate, ColorrefIsBlueGreenRedFromTheLowByte) {
    EXPECT_EQ(colorrefToMpvColor("16777215"), "#FFFFFF");
    EXPECT_EQ(colorrefToMpvColor("255"), "#FF0000");
    EXPECT_EQ(colorrefToMpvColor("65280"), "#00FF00");
    EXPECT_EQ(colorrefToMpvColor("16711680"), "#0000FF");
    EXPECT_EQ(colorrefToMpvColor("0"), "#000000");
    // 0x1E5AC8 as a colour value means red 0xC8, green 0x5A, blue 0x1E.
    EXPECT_EQ(colorrefToMpvColor(std::to_string(0x1E5AC8)), "#C85A1E");
    EXPECT_EQ(colorrefToMpvColor("16777216"), std::nullopt);
    EXPECT_EQ(colorrefToMpvColor("-1"), std::nullopt);
    EXPECT_EQ(colorrefToMpvColor("white"), std::nullopt);
    EXPECT_EQ(colorrefToMpvColor(""), std::nullopt);
}

TEST(EngineTranslate, AspectPairsBecomeRatiosAndZeroMeansTheMediasOwn) {
    EXPECT_EQ(aspectOverride("0;0"), "-1");
    EXPECT_EQ(aspectOverride("4;3"), "4:3");
    EXPECT_EQ(aspectOverride("9;16"), "9:16");
    EXPECT_EQ(aspectOverride("2.35;1"), "2.35:1");
    EXPECT_EQ(aspectOverride("16;10"), "16:10");
    EXPECT_EQ(aspectOverride("4:3"), std::nullopt);
    EXPECT_EQ(aspectOverride("4;0"), std::nullopt);
    EXPECT_EQ(aspectOverride("-4;3"), std::nullopt);
    EXPECT_EQ(aspectOverride("4;3;1"), std::nullopt);
    EXPECT_EQ(aspectOverride(""), std::nullopt);
}

TEST(EngineTranslate, ColourControlsAreCentredOnFifty) {
    EXPECT_EQ(colourControl("50"), 0);
    EXPECT_EQ(colourControl("0"), -100);
    EXPECT_EQ(colourControl("100"), 100);
    EXPECT_EQ(colourControl("73"), 46);
    EXPECT_EQ(colourControl("150"), 100);
    EXPECT_EQ(colourControl("x"), std::nullopt);
}

TEST(EngineTranslate, StartAndEndInMilliseconds) {
    EXPECT_EQ(startOption("30000"), "30.000");
    EXPECT_EQ(startOption("000"), "none");
    EXPECT_EQ(startOption(""), "none");
    EXPECT_EQ(startOption("1500"), "1.500");
    EXPECT_EQ(endOption("540000"), "540.000");
    EXPECT_EQ(endOption("-5000"), "-5.000");
    EXPECT_EQ(endOption("0"), "none");
    EXPECT_EQ(endOption("abc"), "none");

    EXPECT_EQ(resolveEnd("-3000", 10.0), 7.0);
    EXPECT_EQ(resolveEnd("-30000", 10.0), std::nullopt); // before the media's start
    EXPECT_EQ(resolveEnd("4000", 10.0), 4.0);
    EXPECT_EQ(resolveStart("12000", 10.0), std::nullopt); // beyond the end
    EXPECT_EQ(resolveStart("2000", 10.0), 2.0);
}

TEST(EngineTranslate, RendererAlwaysNamesAnOutputWithFallback) {
    EXPECT_EQ(rendererVideoOutput("1", true), "xv,x11");
    EXPECT_EQ(rendererVideoOutput("2", true), "x11");
    EXPECT_EQ(rendererVideoOutput("3", true), "gpu,x11");
    EXPECT_EQ(rendererVideoOutput("4", true), "gpu-next,gpu,x11");
    EXPECT_EQ(rendererVideoOutput("3", false), "x11");
    EXPECT_EQ(rendererVideoOutput("0", true), std::nullopt);
    EXPECT_EQ(rendererVideoOutput("", true), std::nullopt);
}

TEST(EngineTranslate, HardwareDecodingModes) {
    EXPECT_EQ(hardwareDecoding(false, "1"), "no");
    EXPECT_EQ(hardwareDecoding(true, "0"), "auto-copy-safe");
    EXPECT_EQ(hardwareDecoding(true, "1"), "auto-safe");
}

TEST(EngineTranslate, RightAnglesRotateCheaplyOtherAnglesThroughAFilter) {
    auto r90 = rotation("90");
    ASSERT_TRUE(r90);
    EXPECT_EQ(r90->videoRotate, 90);
    EXPECT_TRUE(r90->filter.empty());
    EXPECT_EQ(rotation("360")->videoRotate, 0);
    EXPECT_EQ(rotation("-90")->videoRotate, 270);
    auto r45 = rotation("45");
    ASSERT_TRUE(r45);
    EXPECT_EQ(r45->videoRotate, 0);
    EXPECT_NE(r45->filter.find("rotate=a=45*PI/180"), std::string::npos);
    EXPECT_EQ(rotation("abc"), std::nullopt);
}

TEST(EngineTranslate, ColourControlsAsAFilterFollowTheGpuOutputs) {
    EXPECT_TRUE(outputAppliesColourControls("gpu"));
    EXPECT_TRUE(outputAppliesColourControls("gpu-next"));
    EXPECT_FALSE(outputAppliesColourControls("x11"));
    EXPECT_FALSE(outputAppliesColourControls("xv"));
    EXPECT_FALSE(outputAppliesColourControls("null"));
    EXPECT_FALSE(outputAppliesColourControls(""));

    EXPECT_EQ(colourControlGraph({}), "");
    // Brightness +0.4 of full scale: 0.4 * 219 luma steps, black stays the reference.
    EXPECT_EQ(colourControlGraph({40, 0, 0, 0}), "lutyuv=y=val*1+87.6");
    EXPECT_EQ(colourControlGraph({-100, 0, 0, 0}), "lutyuv=y=val*1-219");
    // Contrast 1.5 keeps black (16) where it is and scales the colour with the light.
    EXPECT_EQ(colourControlGraph({0, 50, 0, 0}), "lutyuv=y=val*1.5-8,hue=h=0:s=1.5");
    EXPECT_EQ(colourControlGraph({0, -100, 0, 0}), "lutyuv=y=val*0+16,hue=h=0:s=0");
    EXPECT_EQ(colourControlGraph({0, 0, 100, 0}), "hue=h=0:s=2");
    EXPECT_EQ(colourControlGraph({0, 0, -100, 0}), "hue=h=0:s=0");
    EXPECT_EQ(colourControlGraph({0, 0, 0, 100}), "hue=h=180:s=1");
    EXPECT_EQ(colourControlGraph({0, 0, 0, -50}), "hue=h=-90:s=1");
    // Out of range values are held at the ends.
    EXPECT_EQ(colourControlGraph({0, 0, 0, 400}), colourControlGraph({0, 0, 0, 100}));
}

TEST(EngineTranslate, VideoFiltersInAFixedOrder) {
    EXPECT_EQ(videoFilterChain({}), "");
    VideoFilterSettings s;
    s.flipHorizontal = s.flipVertical = true;
    s.rotateFilter = "rotate=a=1";
    EXPECT_EQ(videoFilterChain(s), "lavfi=[hflip],lavfi=[vflip],lavfi=[rotate=a=1]");
    s = {};
    s.enhance = true;
    EXPECT_EQ(videoFilterChain(s), "lavfi=[" + std::string(enhancementGraph()) + "]");
    s.compare = true; // comparison shows both halves; the enhancement is in it once
    std::string chain = videoFilterChain(s);
    EXPECT_NE(chain.find("hstack"), std::string::npos);
    EXPECT_EQ(chain.find(std::string(enhancementGraph())),
              chain.rfind(std::string(enhancementGraph())));
    // The colour controls come last, on the finished picture.
    s = {};
    s.flipHorizontal = true;
    s.colourGraph = "hue=h=90:s=1";
    EXPECT_EQ(videoFilterChain(s), "lavfi=[hflip],lavfi=[hue=h=90:s=1]");
}

TEST(EngineTranslate, ChannelMapsAndAudioChain) {
    EXPECT_EQ(audioFilterChain({}), "");
    AudioFilterSettings s;
    s.channelMap = 1;
    EXPECT_NE(audioFilterChain(s).find("pan=stereo|c0=c0|c1=c0"), std::string::npos);
    s.channelMap = 2;
    EXPECT_NE(audioFilterChain(s).find("pan=stereo|c0=c1|c1=c1"), std::string::npos);
    s.channelMap = 3;
    EXPECT_NE(audioFilterChain(s).find("c0=0.5*c0+0.5*c1"), std::string::npos);
    s = {};
    s.surround = true;
    s.surroundDepth = 10;
    EXPECT_NE(audioFilterChain(s).find("extrastereo=m=1.5"), std::string::npos);
    s.surroundDepth = 99; // clamped to 30
    EXPECT_NE(audioFilterChain(s).find("extrastereo=m=2.5"), std::string::npos);
    s = {};
    s.levelling = true;
    s.multichannelGain = true;
    s.multichannelGainTenthsDb = 20;
    EXPECT_EQ(audioFilterChain(s), "lavfi=[dynaudnorm=f=250:g=15],lavfi=[volume=2dB]");
}

TEST(EngineTranslate, MultichannelOutputModes) {
    EXPECT_EQ(multichannelOutput("1")->audioChannels, "mono");
    EXPECT_EQ(multichannelOutput("3")->audioChannels, "5.1");
    EXPECT_EQ(multichannelOutput("4")->audioSpdif, "ac3,dts");
    EXPECT_EQ(multichannelOutput("2")->audioSpdif, "");
    EXPECT_EQ(multichannelOutput("5"), std::nullopt);
}

TEST(EngineTranslate, SubtitleTimingCentredOnTheSliderMiddle) {
    auto t = subtitleTiming("5000;1000;1000");
    ASSERT_TRUE(t);
    EXPECT_DOUBLE_EQ(t->delaySeconds, 0.0);
    EXPECT_DOUBLE_EQ(t->speed, 1.0);
    EXPECT_DOUBLE_EQ(subtitleTiming("7500;1000;1000")->delaySeconds, 2.5);
    EXPECT_DOUBLE_EQ(subtitleTiming("0;1000;1000")->delaySeconds, -5.0);
    EXPECT_DOUBLE_EQ(subtitleTiming("5000;25000;23976")->speed, 25000.0 / 23976.0);
    EXPECT_DOUBLE_EQ(subtitleTiming("5000;1;0")->speed, 1.0);
    EXPECT_EQ(subtitleTiming(";1000;1000"), std::nullopt);
}

TEST(EngineTranslate, SubtitlePositionAndStyle) {
    auto on = subtitlePosition("1;50;90");
    ASSERT_TRUE(on);
    EXPECT_EQ(on->subPos, 90);
    EXPECT_EQ(on->alignX, "center");
    EXPECT_EQ(subtitlePosition("1;10;90")->alignX, "left");
    EXPECT_EQ(subtitlePosition("1;100;90")->alignX, "right");
    auto off = subtitlePosition("0;10;20");
    ASSERT_TRUE(off);
    EXPECT_EQ(off->subPos, 100);
    EXPECT_EQ(off->alignX, "center");
    EXPECT_EQ(subtitlePosition("1;50"), std::nullopt);

    auto style = subtitleStyle("@黑体;18;16777215;1");
    ASSERT_TRUE(style);
    EXPECT_EQ(style->font, "黑体");
    EXPECT_EQ(style->fontSize, 54);
    EXPECT_EQ(style->colour, "#FFFFFF");
    EXPECT_TRUE(style->shadow);
    EXPECT_FALSE(subtitleStyle("宋体;18;255;0")->shadow);
    EXPECT_EQ(subtitleStyle("宋体;18;255;0")->colour, "#FF0000");
    EXPECT_EQ(subtitleStyle("宋体;x;255;0"), std::nullopt);
    EXPECT_EQ(subtitleStyle("宋体;18;255"), std::nullopt);
}

TEST(EngineTranslate, OnScreenTextIsEscapedAndStyled) {
    EXPECT_EQ(escapeAss("a{b}c"), "a\\{b}c");
    EXPECT_EQ(escapeAss("x\ny"), "x\\Ny");
    EXPECT_EQ(escapeAss("\\N"), "\\\xE2\x81\xA0N");
    OnScreenTextStyle style{100, 70, 200, true};
    std::string ass = onScreenTextAss("音量：100%", style);
    EXPECT_NE(ass.find("\\pos(70,70)"), std::string::npos);
    EXPECT_NE(ass.find("\\fs36"), std::string::npos);
    EXPECT_NE(ass.find("\\alpha&H37&"), std::string::npos); // 255 - 200
    EXPECT_NE(ass.find("\\bord2"), std::string::npos);
    EXPECT_NE(ass.find("音量：100%"), std::string::npos);
    style.outline = false;
    EXPECT_NE(onScreenTextAss("x", style).find("\\bord0"), std::string::npos);
}

TEST(EngineTranslate, ScreenshotSizes) {
    Size src{640, 360};
    EXPECT_EQ(screenshotSize(src, {0, 0}, true), src);
    EXPECT_EQ(screenshotSize(src, {800, 600}, false), (Size{800, 600}));
    EXPECT_EQ(screenshotSize(src, {800, 600}, true), (Size{800, 450}));
    EXPECT_EQ(screenshotSize(src, {320, 0}, false), (Size{320, 180}));
    EXPECT_EQ(screenshotSize(src, {0, 720}, true), (Size{1280, 720}));
    EXPECT_EQ(screenshotSize(src, {-5, 0}, true), src);
    EXPECT_EQ(imageFormat("1"), ImageFormat::Bmp);
    EXPECT_EQ(imageFormat("4"), ImageFormat::Gif);
    EXPECT_EQ(imageFormat("5"), std::nullopt);
}

TEST(EngineTranslate, SoundOnlyFilesAreToldByTheirNameInAnyCase) {
    for (const char* path : {"/music/歌.mp3", "/m/a.FLAC", "/m/b.Ape", "/m/c.wav", "/m/d.m4a",
                             "/m/e.ogg", "/m/f.opus"})
        EXPECT_TRUE(isSoundOnlyFileName(path)) << path;
    for (const char* path :
         {"/v/a.mp4", "/v/b.mkv", "/v/mp3", "/v.mp3/clip", "http://host/live", "/v/a.mp3.mkv"})
        EXPECT_FALSE(isSoundOnlyFileName(path)) << path;
}

TEST(EngineTranslate, NetworkAddressesAreToldFromLocalNames) {
    for (const char* a : {"http://127.0.0.1:9/x.mp4", "https://host/live.m3u8", "rtsp://cam/1",
                          "HTTP://host/a", "rtmp+tls://host/a"})
        EXPECT_TRUE(isNetworkAddress(a)) << a;
    for (const char* a : {"/v/a.mp4", "file:///v/a.mp4", "FILE:///v/a.mp4", "a.mp4", "://x",
                          "/v/odd name://x.mp4", "relative/http://x"})
        EXPECT_FALSE(isNetworkAddress(a)) << a;
    EXPECT_EQ(openFailureText(OpenFailure::FileMissing), "文件不存在");
    EXPECT_EQ(openFailureText(OpenFailure::Network), "网络错误");
    EXPECT_EQ(openFailureText(OpenFailure::UnsupportedFormat), "格式不支持");
}
