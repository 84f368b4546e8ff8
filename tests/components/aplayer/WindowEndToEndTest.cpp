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

} // namespace
