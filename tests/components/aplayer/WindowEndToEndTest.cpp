// The engine in a real window on a private X display: the logo while idle, the video drawn into
// the child window, and mouse clicks reaching the message callback through mpv's window.
#include "EngineTestSupport.h"
#include "support/TestMedia.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace qinglan::aplayer;
using namespace qinglan::aplayer::test;
using qinglan::test::media;

namespace {

QColor pixelOf(QWidget& top, QPoint at) {
    QImage shot = QGuiApplication::primaryScreen()->grabWindow(top.winId()).toImage();
    return shot.isNull() ? QColor() : shot.pixelColor(at);
}

bool near(QColor c, int r, int g, int b, int tolerance = 30) {
    return std::abs(c.red() - r) <= tolerance && std::abs(c.green() - g) <= tolerance &&
           std::abs(c.blue() - b) <= tolerance;
}

void xdotool(const QStringList& args) {
    QProcess p;
    p.start("xdotool", args);
    p.waitForFinished(5000);
}

TEST(EngineWindow, ShowsTheLogoThenTheVideoAndPassesClicksOn) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    // The renderer the player gets by default; no sound card here.
    EngineUnderTest e(MpvEngineOptions{"", "null"});
    e.parent->setWindowFlag(Qt::FramelessWindowHint);
    e.parent->setGeometry(0, 0, 640, 360);
    e.parent->show();
    ASSERT_TRUE(e.create());
    QImage logo(120, 120, QImage::Format_RGB32);
    logo.fill(QColor(200, 30, 30));
    e.engine->APlayer_SetCustomLogo(logo);
    QWidget& top = *e.parent;

    EXPECT_TRUE(waitUntil(
        [&] {
            return near(pixelOf(top, {320, 180}), 200, 30, 30);
        },
        5000))
        << "logo not shown while idle";

    ASSERT_TRUE(e.openAndWaitPlaying(media("clip.mp4").string()));
    // Top right, away from the moving square: the clip's blue 0x1E5AC8.
    EXPECT_TRUE(waitUntil(
        [&] {
            return near(pixelOf(top, {600, 40}), 0x1E, 0x5A, 0xC8);
        },
        8000))
        << "video not drawn into the child window: "
        << pixelOf(top, {600, 40}).name().toStdString();
    EXPECT_TRUE(near(pixelOf(top, {40, 320}), 0x1E, 0x5A, 0xC8));
    ::testing::Test::RecordProperty("video_output", e.engine->mpvProperty("current-vo"));

    // The on-screen text as the player shows it: white letters near the top-left corner.
    for (auto [id, v] : std::initializer_list<std::pair<int, const char*>>{
             {602, "1"}, {606, "100"}, {607, "70"}, {621, "1"}, {608, "200"}, {612, "音量：100%"}})
        e.engine->APlayer_SetConfigA(id, v);
    auto whiteInTextArea = [&] {
        QImage shot = QGuiApplication::primaryScreen()->grabWindow(top.winId()).toImage();
        for (int y = 30; y < 60; ++y)
            for (int x = 35; x < 200; ++x)
                if (near(shot.pixelColor(x, y), 0xE0, 0xE0, 0xE0, 40)) return true;
        return false;
    };
    EXPECT_TRUE(waitUntil(whiteInTextArea, 3000)) << "on-screen text not drawn";
    if (const char* keep = std::getenv("QINGLAN_KEEP_SHOT"))
        QGuiApplication::primaryScreen()->grabWindow(top.winId()).save(keep);
    e.engine->APlayer_SetConfigA(602, "0");
    EXPECT_TRUE(waitUntil([&] { return !whiteInTextArea(); }, 3000)) << "on-screen text not hidden";

    // Another renderer while playing: the picture is re-created and still drawn.
    EXPECT_TRUE(e.engine->APlayer_SetConfigA(cfg::Renderer, "1"));
    spin(500);
    EXPECT_TRUE(waitUntil(
        [&] {
            return near(pixelOf(top, {600, 40}), 0x1E, 0x5A, 0xC8);
        },
        5000))
        << "video lost after a renderer change";

    xdotool({"mousemove", "300", "320", "click", "1"});
    EXPECT_TRUE(waitUntil([&] {
        return std::count(e.messages.begin(), e.messages.end(), MessageLeftButtonDown) == 1;
    }));
    e.messages.clear();
    xdotool({"click", "3"});
    EXPECT_TRUE(waitUntil([&] {
        return std::count(e.messages.begin(), e.messages.end(), MessageRightButtonUp) == 1;
    }));
    e.messages.clear();
    xdotool({"mousemove", "100", "320", "click", "--repeat", "2", "--delay", "80", "1"});
    EXPECT_TRUE(waitUntil([&] {
        return std::count(e.messages.begin(), e.messages.end(), MessageLeftButtonDoubleClick) == 1;
    }));
    spin(300);
    // Windows' order for a double click: down, up, double-click, up.
    std::vector<uint32_t> expected{0x201, 0x202, 0x203, 0x202};
    EXPECT_EQ(e.messages, expected);

    e.engine->APlayer_Close();
    EXPECT_TRUE(waitUntil(
        [&] {
            return near(pixelOf(top, {320, 180}), 200, 30, 30);
        },
        5000))
        << "logo not back after close";
}

// The engine as the player drives it: the default renderer, which falls back to the x11 output
// where there is no hardware OpenGL (as here).
struct WindowedEngine : EngineUnderTest {
    WindowedEngine() : EngineUnderTest(MpvEngineOptions{"", "null"}) {
        parent->setWindowFlag(Qt::FramelessWindowHint);
        parent->setGeometry(0, 0, 640, 360);
        parent->show();
    }
    QColor at(QPoint p) { return pixelOf(*parent, p); }
};

std::string rgb(QColor c) {
    return std::to_string(c.red()) + "," + std::to_string(c.green()) + "," +
           std::to_string(c.blue());
}

// Every colour control changes the drawn picture on whichever output runs, by the amounts the
// gpu outputs give: contrast a gain with black fixed, brightness an offset, saturation a scale
// of the colour, hue a turn of it.
TEST(EngineWindow, ColourControlsChangeTheDrawnPicture) {
    WindowedEngine e;
    ASSERT_TRUE(e.create());
    ASSERT_TRUE(e.openAndWaitPlaying(media("colour controls.mp4").string()));
    const QPoint grey(160, 180), colour(480, 180);
    ASSERT_TRUE(waitUntil([&] { return near(e.at(grey), 128, 128, 128, 6); }, 8000))
        << "clip not drawn: " << rgb(e.at(grey));
    ::testing::Test::RecordProperty("video_output", e.engine->mpvProperty("current-vo"));
    EXPECT_TRUE(near(e.at(colour), 160, 112, 80, 8)) << rgb(e.at(colour));

    struct Case {
        int id;
        const char* value;
        QPoint where;
        int r, g, b;
    };
    // 50 is neutral; expected values follow from the clip's 128 grey and 160,112,80.
    const Case cases[] = {
        {cfg::Brightness, "60", grey, 179, 179, 179},  // +0.2 of full scale
        {cfg::Brightness, "30", grey, 26, 26, 26},     // -0.4
        {cfg::Contrast, "75", grey, 192, 192, 192},    // gain 1.5
        {cfg::Contrast, "75", colour, 240, 168, 120},  // every channel, colour included
        {cfg::Saturation, "0", colour, 123, 123, 123}, // the colour's luma
        {cfg::Saturation, "100", colour, 197, 101, 37},
        {cfg::Hue, "100", colour, 86, 134, 166}, // half a turn: the opposite colour
        {cfg::Hue, "100", grey, 128, 128, 128},  // grey has no hue to turn
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("id " + std::to_string(c.id) + " = " + c.value);
        ASSERT_TRUE(e.engine->APlayer_SetConfigA(c.id, c.value));
        EXPECT_TRUE(waitUntil([&] { return near(e.at(c.where), c.r, c.g, c.b, 12); }, 5000))
            << "drawn " << rgb(e.at(c.where)) << ", expected " << c.r << "," << c.g << "," << c.b;
        ::testing::Test::RecordProperty(std::to_string(c.id) + "=" + c.value + " at " +
                                            std::to_string(c.where.x()),
                                        rgb(e.at(c.where)));
        ASSERT_TRUE(e.engine->APlayer_SetConfigA(c.id, "50"));
        EXPECT_TRUE(waitUntil(
            [&] {
                return near(e.at(grey), 128, 128, 128, 6) && near(e.at(colour), 160, 112, 80, 8);
            },
            5000))
            << "neutral again: " << rgb(e.at(grey)) << " / " << rgb(e.at(colour));
    }
    EXPECT_EQ(e.engine->APlayer_GetState(), StatePlaying);
}

// Playback from a start position (a skipped intro) draws the picture: the first frame shown is
// the start's, the end comes before the outro, and the next media, an audio-only one and a
// video after it are shown as well.
TEST(EngineWindow, APlayFromAStartPositionIsDrawnAndStopsBeforeTheOutro) {
    WindowedEngine e;
    ASSERT_TRUE(e.create());
    QImage logo(120, 120, QImage::Format_RGB32);
    logo.fill(QColor(240, 240, 40));
    e.engine->APlayer_SetCustomLogo(logo);
    e.engine->APlayer_SetConfigA(cfg::StartMs, "3000");
    e.engine->APlayer_SetConfigA(cfg::EndMs, "-3000");
    const QPoint centre(320, 180);
    const QColor red(0xC8, 0x28, 0x28), green(0x28, 0xB4, 0x28), blue(0x28, 0x28, 0xC8);
    auto is = [](QColor c, QColor x) { return near(c, x.red(), x.green(), x.blue(), 40); };

    for (const char* name : {"three colours 12s.mp4", "three colours 16s.mp4"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(e.engine->APlayer_OpenA(media(name).string()));
        int greenSeen = 0, redSeen = 0, blueSeen = 0;
        std::string last;
        bool ended = waitUntil(
            [&] {
                QColor c = e.at(centre);
                last = rgb(c);
                greenSeen += is(c, green);
                redSeen += is(c, red);
                blueSeen += is(c, blue);
                return e.engine->APlayer_GetConfigA(cfg::PlayResult) == "0";
            },
            25000);
        EXPECT_TRUE(ended) << "did not end; last drawn " << last;
        EXPECT_GT(greenSeen, 10) << "the middle was never drawn; last drawn " << last;
        EXPECT_EQ(redSeen, 0) << "the intro was drawn";
        EXPECT_EQ(blueSeen, 0) << "the outro was drawn";
    }

    // Sound only: the logo. Then a video from its start position again.
    ASSERT_TRUE(e.openAndWaitPlaying(media("song.mp3").string()));
    EXPECT_TRUE(waitUntil([&] { return near(e.at(centre), 240, 240, 40); }, 5000))
        << rgb(e.at(centre));
    ASSERT_TRUE(e.engine->APlayer_OpenA(media("three colours 12s.mp4").string()));
    EXPECT_TRUE(waitUntil([&] { return is(e.at(centre), green); }, 8000)) << rgb(e.at(centre));
}

} // namespace
