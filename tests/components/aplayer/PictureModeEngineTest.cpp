// 3D and VR in the real engine: what mpv's filters make of generated clips, read from the
// engine's own screenshot (the filtered picture, at its display size).
#include "EngineTestSupport.h"
#include "support/TestMedia.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace qinglan::aplayer;
using namespace qinglan::aplayer::test;
using qinglan::test::media;

namespace {

struct Rgb {
    int r, g, b;
};

std::string text(QColor c) {
    return std::to_string(c.red()) + "," + std::to_string(c.green()) + "," +
           std::to_string(c.blue());
}

bool near(QColor c, Rgb e, int tolerance = 30) {
    return std::abs(c.red() - e.r) <= tolerance && std::abs(c.green() - e.g) <= tolerance &&
           std::abs(c.blue() - e.b) <= tolerance;
}

class EnginePictureMode : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(e.create());
        set(cfg::ShotFormat, "3"); // png: no compression colours
        set(cfg::ShotWidth, "0");
        set(cfg::ShotHeight, "0");
    }
    bool set(int id, const std::string& value) { return e.engine->APlayer_SetConfigA(id, value); }
    void play(const char* name) {
        ASSERT_TRUE(e.openAndWaitPlaying(media(name).string()));
        ASSERT_TRUE(waitUntil([&] { return e.engine->APlayer_GetPosition() > 200; }));
    }
    QImage frame() {
        std::string path = dir.filePath(QString("%1.png").arg(++shots)).toStdString();
        if (!set(cfg::ShotFile, path)) return {};
        return QImage(QString::fromStdString(path));
    }
    QColor at(double x, double y) {
        last = frame();
        if (last.isNull()) return {};
        return last.pixelColor(static_cast<int>(x * (last.width() - 1)),
                               static_cast<int>(y * (last.height() - 1)));
    }
    // The filters are rebuilt for the next frame: wait until it shows.
    bool shows(double x, double y, Rgb expected, int timeoutMs = 4000) {
        QColor seen;
        bool ok = waitUntil(
            [&] {
                seen = at(x, y);
                return near(seen, expected);
            },
            timeoutMs);
        if (!ok) ADD_FAILURE() << "at (" << x << ", " << y << ") drawn " << text(seen);
        return ok;
    }
    QTemporaryDir dir;
    EngineUnderTest e;
    QImage last;
    int shots = 0;
};

// Each pair, in its list order, on a side-by-side clip: a white left view shows in the left
// eye's colour, a white right view in the right eye's.
TEST_F(EnginePictureMode, EveryColourPairGivesEachEyeItsColour) {
    constexpr Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, cyan{0, 255, 255},
        yellow{255, 255, 0}, purple{255, 0, 255};
    struct Pair {
        const char* name;
        Rgb left, right;
    };
    const Pair pairs[] = {
        {"红青", red, cyan},    {"青红", cyan, red},     {"黄蓝", yellow, blue},
        {"蓝黄", blue, yellow}, {"绿紫", green, purple}, {"紫绿", purple, green},
        {"红绿", red, green},   {"绿红", green, red},    {"绿蓝", green, blue},
        {"蓝绿", blue, green},  {"红蓝", red, blue},     {"蓝红", blue, red},
    };
    ASSERT_EQ(anaglyphPairs().size(), std::size(pairs));
    set(cfg::Stereo3d, "1");
    set(cfg::Stereo3dEffect, "1");
    set(cfg::Stereo3dLayout, "2");
    for (const char* clip : {"3d white left.mp4", "3d white right.mp4"}) {
        SCOPED_TRACE(clip);
        play(clip);
        bool leftWhite = std::string(clip).find("left") != std::string::npos;
        for (size_t i = 0; i < std::size(pairs); ++i) {
            SCOPED_TRACE(pairs[i].name);
            EXPECT_STREQ(anaglyphPairs()[i].name, pairs[i].name);
            ASSERT_TRUE(set(cfg::Stereo3dPair, std::to_string(i + 1)));
            shows(0.5, 0.5, leftWhite ? pairs[i].left : pairs[i].right);
        }
        // One view for the whole picture, at the decoded shape.
        EXPECT_EQ(last.width() * 9, last.height() * 16) << last.width() << "x" << last.height();
    }
}

TEST_F(EnginePictureMode, TopBottomVirtualFlatAndOff) {
    play("3d white top.mp4");
    set(cfg::Stereo3dEffect, "1");
    set(cfg::Stereo3dLayout, "3");
    set(cfg::Stereo3dPair, "1");
    // Off: the picture as decoded, whatever the other values say.
    set(cfg::Stereo3d, "0");
    shows(0.5, 0.25, {255, 255, 255});
    shows(0.5, 0.75, {0, 0, 0});
    set(cfg::Stereo3d, "1");
    shows(0.5, 0.75, {255, 0, 0}); // red–cyan through FFmpeg's stereo3d
    set(cfg::Stereo3dPair, "7");
    shows(0.5, 0.25, {255, 0, 0}); // red–green mixed by hand
    EXPECT_EQ(last.width() * 9, last.height() * 16);
    // Shown flat: the top view alone, no colour.
    set(cfg::Stereo3dEffect, "0");
    shows(0.5, 0.9, {255, 255, 255});

    // Virtual: both views from the one picture, shifted; far from the edge between white and
    // black both views agree, and the colours add up to the picture's own.
    play("3d white left.mp4");
    set(cfg::Stereo3dEffect, "1");
    set(cfg::Stereo3dLayout, "1");
    set(cfg::Stereo3dPair, "1");
    shows(0.2, 0.5, {255, 255, 255});
    shows(0.8, 0.5, {0, 0, 0});
    // Near that edge only one view is white: a fringe in one eye's colour, 2 % of the width.
    int fringe = 0;
    EXPECT_TRUE(waitUntil([&] {
        QImage f = frame();
        fringe = 0;
        for (int x = f.width() / 2 - 30; x < f.width() / 2 + 30; ++x)
            fringe += near(f.pixelColor(x, f.height() / 2), {0, 255, 255}, 60);
        return fringe >= 8 && fringe <= 16;
    })) << fringe
        << " pixels of fringe";
    // A 2D picture has only one view: shown flat it is itself.
    set(cfg::Stereo3dEffect, "0");
    shows(0.2, 0.5, {255, 255, 255});
    shows(0.8, 0.5, {0, 0, 0});
    // Values off the list leave the picture alone rather than guess.
    set(cfg::Stereo3dEffect, "1");
    set(cfg::Stereo3dPair, "13");
    shows(0.8, 0.5, {0, 0, 0});
    shows(0.2, 0.5, {255, 255, 255});
}

// The grid's colour for a view direction (see scripts/make-media-picture.sh).
Rgb gridColour(double yaw, double pitch) {
    int column = static_cast<int>(std::floor((yaw + 180) / 45));
    int row = static_cast<int>(std::floor((90 - pitch) / 45));
    return {32 * column + 16, 64 * row + 32, 128};
}

TEST_F(EnginePictureMode, APanoramaIsDrawnFlatTowardsTheRequestedView) {
    play("equirect grid.mp4");
    shows(0.45, 0.45, gridColour(-10, 10)); // as decoded: left of and above the centre
    ASSERT_TRUE(set(cfg::VrMode, "1"));
    struct View {
        double yaw, pitch;
    };
    for (View v : {View{22.5, 22.5}, View{-112.5, -67.5}, View{157.5, 67.5}, View{-157.5, 22.5}}) {
        SCOPED_TRACE(std::to_string(v.yaw) + ";" + std::to_string(v.pitch));
        ASSERT_TRUE(
            set(cfg::VrView, std::to_string(v.yaw) + ";" + std::to_string(v.pitch) + ";350.6"));
        shows(0.5, 0.5, gridColour(v.yaw, v.pitch));
    }
    // The flat view's size follows the render quality: 720 lines at the default 50.
    EXPECT_EQ(last.height(), 720);
    EXPECT_EQ(last.width(), 1280);
    set(cfg::VrQuality, "0");
    EXPECT_TRUE(waitUntil([&] { return frame().height() == 360; }));
    set(cfg::VrQuality, "100");
    EXPECT_TRUE(waitUntil([&] { return frame().height() == 1080; }));

    // Dragging the picture to the left by a quarter of the window turns the view right by a
    // quarter of the field of view, drawn as a draft until the release; the stored view is the
    // next sent view again.
    set(cfg::VrView, "22.5;22.5;350.6");
    shows(0.5, 0.5, gridColour(22.5, 22.5));
    double fov = fieldOfViewForDistance(350.6);
    int dx = -static_cast<int>(std::lround(640 * 45 / fov));
    EXPECT_TRUE(e.engine->panoramaPointerDragged(dx / 2, 0));
    EXPECT_TRUE(e.engine->panoramaPointerDragged(dx - dx / 2, 0));
    shows(0.5, 0.5, gridColour(67.5, 22.5));
    EXPECT_EQ(last.height(), 360);
    e.engine->panoramaPointerReleased();
    EXPECT_TRUE(waitUntil([&] { return frame().height() == 1080; }));
    shows(0.5, 0.5, gridColour(67.5, 22.5));
    set(cfg::VrQuality, "0");
    EXPECT_TRUE(e.engine->panoramaWheel(120));
    EXPECT_GT(e.engine->panoramaOffset().zoom, 1.0);
    set(cfg::VrView, "22.5;22.5;350.6");
    EXPECT_EQ(e.engine->panoramaOffset(), ViewOffset{});
    shows(0.5, 0.5, gridColour(22.5, 22.5));

    // Caps over the poles in their colour; the page's colour value is 0x00BBGGRR.
    set(cfg::VrCaps, "0;100;255");
    set(cfg::VrView, "0;-45;350.6");
    shows(0.5, 0.5, {255, 0, 0});
    set(cfg::VrCaps, "50;0;65280");
    set(cfg::VrView, "22.5;80;350.6");
    shows(0.5, 0.5, {0, 255, 0});
    set(cfg::VrView, "22.5;22.5;350.6");
    shows(0.5, 0.5, gridColour(22.5, 22.5));

    // Head-mounted: both eyes side by side, each the same view; or one view on the monitor.
    set(cfg::VrDevice, "1");
    set(cfg::VrMonitor, "0");
    EXPECT_TRUE(waitUntil([&] { return frame().width() == 2 * 640; }));
    shows(0.25, 0.5, gridColour(22.5, 22.5));
    shows(0.75, 0.5, gridColour(22.5, 22.5));
    set(cfg::VrMonitor, "2");
    shows(0.5, 0.5, {0, 0, 0});
    set(cfg::VrDevice, "0");

    // Numbers that are not draw modes draw no effect, like "0".
    set(cfg::VrMode, "2");
    shows(0.45, 0.45, gridColour(-10, 10));
    EXPECT_FALSE(e.engine->panoramaPointerDragged(50, 0));
    set(cfg::VrMode, "0");
    shows(0.45, 0.45, gridColour(-10, 10));
}

// Every draw mode makes a picture through mpv: the filter graph of each is one mpv and FFmpeg
// accept (a refused graph would leave the decoded 1024 x 512 picture).
TEST_F(EnginePictureMode, EveryDrawModeDrawsAFlatView) {
    play("equirect grid.mp4");
    set(cfg::VrQuality, "0");
    // Without caps, and with the page's default caps, which the circles draw in two steps.
    for (const char* caps : {"0;0;0", "0;20;16777215"}) {
        set(cfg::VrCaps, caps);
        for (const char* mode : {"1", "3", "4", "7", "9", "11", "15"}) {
            SCOPED_TRACE(std::string(mode) + " with caps " + caps);
            ASSERT_TRUE(set(cfg::VrMode, mode));
            int width = std::string(mode) == "9" ? 1280 : 640; // stereo: both eyes
            QImage f;
            EXPECT_TRUE(waitUntil([&] {
                f = frame();
                return f.width() == width && f.height() == 360;
            })) << f.width()
                << "x" << f.height();
        }
        set(cfg::VrMode, "0");
        EXPECT_TRUE(waitUntil([&] { return frame().width() == 1024; }));
    }
}

} // namespace

// A dragged view is handed to mpv without waiting: the engine may go while mpv still builds it.
TEST(EnginePictureModeLifetime, DestroyingTheEngineWhileADraggedViewIsBuiltIsClean) {
    EngineUnderTest e;
    ASSERT_TRUE(e.create());
    ASSERT_TRUE(e.openAndWaitPlaying(media("equirect grid.mp4").string()));
    e.engine->APlayer_SetConfigA(cfg::VrRedrawInterval, "0");
    ASSERT_TRUE(e.engine->APlayer_SetConfigA(cfg::VrMode, "1"));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(e.engine->panoramaPointerDragged(-20, 5));
    e.engine.reset();
    spin(300); // replies and timers of the gone engine find nothing to call
    EXPECT_TRUE(e.parent->findChildren<QWidget*>().isEmpty()); // the video window went with it
}
