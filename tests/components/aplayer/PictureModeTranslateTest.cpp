// The picture modes' translations: which graph each 3D and VR value gives, the view the mouse
// makes, and where subtitles go in the halves of a 3D picture. What the graphs draw is shown by
// the engine tests on generated clips.
#include "aplayer/PictureModeTranslate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace qinglan::aplayer;

namespace {

bool has(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

StereoSettings stereo(int layout, int pair, bool shown = true) {
    return StereoSettings{true, shown, static_cast<StereoLayout>(layout), pair};
}

} // namespace

TEST(EnginePictureTranslate, StereoValuesOutsideTheirListsGiveNoMode) {
    EXPECT_TRUE(stereoSettings("1", "1", "2", "12"));
    EXPECT_FALSE(stereoSettings("1", "1", "2", "13"));
    EXPECT_FALSE(stereoSettings("1", "1", "2", "0"));
    EXPECT_FALSE(stereoSettings("1", "1", "4", "1"));
    EXPECT_FALSE(stereoSettings("1", "1", "side", "1"));
    // Only exactly "1" is on; effect and layout unsent are the page's defaults.
    auto s = stereoSettings("yes", "", "", "");
    ASSERT_TRUE(s);
    EXPECT_FALSE(s->on);
    EXPECT_TRUE(s->effectShown);
    EXPECT_EQ(s->layout, StereoLayout::Virtual);
    EXPECT_EQ(stereoGraph(*s), "");
}

TEST(EnginePictureTranslate, ComplementaryPairsUseStereo3dWithTheEyesInTheirPlace) {
    // The pair's left colour decides whether FFmpeg reads the left view from the left half.
    EXPECT_EQ(stereoGraph(stereo(2, 1)), "stereo3d=sbsl:arcc,setsar=sar*2");
    EXPECT_EQ(stereoGraph(stereo(2, 2)), "stereo3d=sbsr:arcc,setsar=sar*2");
    EXPECT_EQ(stereoGraph(stereo(3, 3)), "stereo3d=tbr:aybc,setsar=sar/2");
    EXPECT_EQ(stereoGraph(stereo(3, 4)), "stereo3d=tbl:aybc,setsar=sar/2");
    EXPECT_EQ(stereoGraph(stereo(2, 5)), "stereo3d=sbsl:agmc,setsar=sar*2");
    EXPECT_EQ(stereoGraph(stereo(2, 6)), "stereo3d=sbsr:agmc,setsar=sar*2");
    // Pairs that leave a channel dark, and the virtual layout, mix each view's channels.
    std::string redGreen = stereoGraph(stereo(2, 7));
    EXPECT_TRUE(has(redGreen, "crop=iw/2:ih:0:0,colorchannelmixer=rr=1:gg=0:bb=0[lc]")) << redGreen;
    EXPECT_TRUE(has(redGreen, "crop=iw/2:ih:iw/2:0,colorchannelmixer=rr=0:gg=1:bb=0[rc]"));
    EXPECT_TRUE(has(redGreen, "blend=all_mode=addition"));
    std::string virtualRedCyan = stereoGraph(stereo(1, 1));
    EXPECT_TRUE(has(virtualRedCyan, "colorchannelmixer=rr=0:gg=1:bb=1[rc]")) << virtualRedCyan;
    EXPECT_TRUE(has(virtualRedCyan, "setsar=sar*50/49"));
}

TEST(EnginePictureTranslate, OneViewShownFlatIsTheLeftViewAtTheDecodedShape) {
    EXPECT_EQ(stereoGraph(stereo(2, 3, false)), "crop=iw/2:ih:0:0,setsar=sar*2");
    EXPECT_EQ(stereoGraph(stereo(3, 3, false)), "crop=iw:ih/2:0:0,setsar=sar/2");
    EXPECT_EQ(stereoGraph(stereo(1, 3, false)), ""); // a 2D picture is its only view
}

TEST(EnginePictureTranslate, PairsCarryDisjointChannels) {
    for (const AnaglyphPair& p : anaglyphPairs()) {
        SCOPED_TRACE(p.name);
        for (int c = 0; c < 3; ++c)
            EXPECT_FALSE(p.left[c] && p.right[c]);
        EXPECT_TRUE(p.left[0] || p.left[1] || p.left[2]);
        EXPECT_TRUE(p.right[0] || p.right[1] || p.right[2]);
    }
}

TEST(EnginePictureTranslate, OnlyTheEightDrawModesDrawAPanorama) {
    for (const char* v : {"1", "3", "4", "7", "9", "11", "15"})
        EXPECT_NE(panoramaGraph(panoramaSettings(v, "", "", "", "", "")), "") << v;
    for (const char* v : {"0", "2", "5", "6", "8", "10", "12", "13", "14", "16", "-1", "x", ""})
        EXPECT_EQ(panoramaGraph(panoramaSettings(v, "", "", "", "", "")), "") << v;
}

TEST(EnginePictureTranslate, TheViewTextGivesYawPitchAndAFieldOfViewFromTheDistance) {
    auto s = panoramaSettings("1", "30;-10.5;350.6", "0", "0", "0;20;16777215", "50");
    EXPECT_DOUBLE_EQ(s.yaw, 30);
    EXPECT_DOUBLE_EQ(s.pitch, -10.5);
    EXPECT_NEAR(fieldOfViewForDistance(s.distance), 90, 0.1);
    EXPECT_NEAR(fieldOfViewForDistance(700), 53.13, 0.01); // farther: narrower
    EXPECT_DOUBLE_EQ(fieldOfViewForDistance(1e9), 10);     // bounded both ways
    EXPECT_DOUBLE_EQ(fieldOfViewForDistance(1), 150);
    std::string g = panoramaGraph(s);
    EXPECT_TRUE(has(g, "v360=input=e:output=flat:in_stereo=2d:out_stereo=2d:yaw=30:pitch=-10.5:"
                       "h_fov=89.902:v_fov=58.632:w=1280:h=720:interp=linear"))
        << g;
    // Typed nonsense keeps the defaults of the parts it spoils, not of the others.
    auto bad = panoramaSettings("1", "abc;12;-5", "", "", "", "");
    EXPECT_DOUBLE_EQ(bad.yaw, 0);
    EXPECT_DOUBLE_EQ(bad.pitch, 12);
    EXPECT_DOUBLE_EQ(bad.distance, PanoramaSettings::kDefaultDistance);
    // Yaw wraps around, pitch stops at the poles.
    std::string wrapped = panoramaGraph(panoramaSettings("1", "270;120;350.6", "", "", "", ""));
    EXPECT_TRUE(has(wrapped, "yaw=-90:pitch=90:")) << wrapped;
}

TEST(EnginePictureTranslate, LayoutsDeviceMonitorCapsAndQuality) {
    auto graph = [](const char* mode, const char* device = "0", const char* monitor = "0",
                    const char* caps = "0;0;0", const char* quality = "50") {
        return panoramaGraph(panoramaSettings(mode, "0;0;350.6", device, monitor, caps, quality));
    };
    EXPECT_TRUE(has(graph("7"), "in_stereo=sbs:out_stereo=2d"));
    EXPECT_TRUE(has(graph("9"), "in_stereo=sbs:out_stereo=sbs"));
    EXPECT_TRUE(has(graph("9"), "w=1280:h=720")); // an eye's size
    EXPECT_TRUE(has(graph("11"), "input=dfisheye:ih_fov=180:iv_fov=180:output=flat"));
    EXPECT_TRUE(has(graph("15"), "input=fisheye:ih_fov=180:iv_fov=180:output=flat:in_stereo=sbs"));
    // A half panorama is turned upright first: its circle is the sky or the ground.
    EXPECT_TRUE(has(graph("3"), "output=e:in_stereo=2d:out_stereo=2d:pitch=-90:")) << graph("3");
    EXPECT_TRUE(has(graph("4"), "output=e:in_stereo=2d:out_stereo=2d:pitch=90:"));
    // Head-mounted: both eyes; the monitor shows both, one or nothing.
    EXPECT_TRUE(has(graph("1", "1", "0"), "out_stereo=sbs"));
    EXPECT_TRUE(has(graph("1", "1", "1"), "out_stereo=2d"));
    EXPECT_TRUE(has(graph("1", "1", "2"), "color=black:t=fill"));
    EXPECT_FALSE(has(graph("1", "0", "2"), "color=black")); // the monitor needs a headset
    // Caps: a share of the half from each pole, in the colour; circles go through a sphere.
    std::string caps = graph("1", "0", "0", "30;20;255");
    EXPECT_TRUE(has(caps, "drawbox=x=0:y=0:w=iw:h=ih*30/200:color=0xFF0000:t=fill")) << caps;
    EXPECT_TRUE(has(caps, "drawbox=x=0:y=ih-ih*20/200:w=iw:h=ih*20/200:color=0xFF0000:t=fill"));
    EXPECT_TRUE(
        has(graph("11", "0", "0", "0;20;0"), "input=dfisheye:ih_fov=180:iv_fov=180:output=e"));
    EXPECT_TRUE(has(graph("1", "0", "0", "0;5000;0"), "h=ih*100/200"));
    // Quality: size and interpolation.
    EXPECT_TRUE(has(graph("1", "0", "0", "0;0;0", "0"), "w=640:h=360:interp=near"));
    EXPECT_TRUE(has(graph("1", "0", "0", "0;0;0", "100"), "w=1920:h=1080:interp=cubic"));
}

TEST(EnginePictureTranslate, DraggingMovesThePictureWithThePointerAndTheWheelZooms) {
    // A full window width of drag turns by one field of view, against the drag.
    ViewOffset v = dragView({}, 90, 640, 320, -160);
    EXPECT_DOUBLE_EQ(v.yaw, -45);
    EXPECT_DOUBLE_EQ(v.pitch, -22.5);
    EXPECT_DOUBLE_EQ(dragView(v, 90, 640, 320, 0).yaw, -90); // moves add up
    EXPECT_DOUBLE_EQ(dragView(v, 90, 640, -320, 160).yaw, 0);
    EXPECT_DOUBLE_EQ(dragView({}, 90, 640, 0, 100000).pitch, 180);
    EXPECT_EQ(dragView(v, 90, 0, 10, 10), v);
    ViewOffset in = wheelZoom({}, 120);
    EXPECT_NEAR(in.zoom, 1.1, 1e-9);
    EXPECT_NEAR(wheelZoom(in, -120).zoom, 1.0, 1e-9);
    EXPECT_DOUBLE_EQ(wheelZoom({}, 120 * 100).zoom, 8);
    // Zoom in narrows the view the graph draws.
    auto s = panoramaSettings("1", "0;0;350.6", "", "", "", "");
    EXPECT_TRUE(has(panoramaGraph(s, in), "h_fov=84.")) << panoramaGraph(s, in);
    EXPECT_TRUE(has(panoramaGraph(s, {10, 5, 1}), "yaw=10:pitch=5:"));
    EXPECT_EQ(panoramaRedrawIntervalMs("5"), 5);
    EXPECT_EQ(panoramaRedrawIntervalMs("-3"), 0);
    EXPECT_EQ(panoramaRedrawIntervalMs("500"), 100);
}

TEST(EnginePictureTranslate, SubtitleHalvesSitInTheMiddleOfEachHalf) {
    PictureArea area{0, 40, 640, 360};
    EXPECT_FALSE(halfPlacement(SubtitleRenderMode::Flat, area, 100, 11));
    auto sbs = halfPlacement(SubtitleRenderMode::SideBySide, area, 100, 11);
    ASSERT_TRUE(sbs);
    EXPECT_DOUBLE_EQ(sbs->x[0], 160);
    EXPECT_DOUBLE_EQ(sbs->x[1], 480);
    EXPECT_DOUBLE_EQ(sbs->y[0], 389);
    EXPECT_EQ(sbs->scaleX, 50);
    EXPECT_EQ(sbs->scaleY, 100);
    auto tb = halfPlacement(SubtitleRenderMode::TopBottom, area, 50, 10);
    ASSERT_TRUE(tb);
    EXPECT_DOUBLE_EQ(tb->x[1], 320);
    EXPECT_DOUBLE_EQ(tb->y[0], 40 + 90 - 5);
    EXPECT_DOUBLE_EQ(tb->y[1], 40 + 270 - 5);
    EXPECT_EQ(tb->scaleY, 50);
    EXPECT_FALSE(halfPlacement(SubtitleRenderMode::SideBySide, {0, 0, 0, 0}, 100, 11));
    EXPECT_EQ(subtitleRenderMode("2"), SubtitleRenderMode::TopBottom);
    EXPECT_FALSE(subtitleRenderMode("3"));
}
