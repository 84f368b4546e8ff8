// The picture through the main window's frame changes, driven as a user drives them: "置顶" and
// "全屏" from the right-click menu and the maximize hot spot, each on and off, while a clip plays
// and while nothing is open. After every change the video is looked at on the screen, and a file
// handed over afterwards must be drawn too. Runs under a window manager, which is what makes
// "置顶" and the borderless full screen mean something.
#include "e2e/PlayerProcess.h"
#include "e2e/Screen.h"
#include "support/TestMedia.h"

#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <filesystem>

using namespace qinglan::test;

namespace {

const QColor kBlue(0x1E, 0x5A, 0xC8);
const QColor kOrange(0xE0, 0x80, 0x1E);

// A clip long enough to outlast every change: solid blue, no sound (a machine without an audio
// device ends a file with sound early).
std::filesystem::path longBlueClip(const TempDataDir& data) {
    const auto file = data.path() / "long blue.mp4";
    QProcess::execute("ffmpeg", {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                 "color=c=0x1E5AC8:s=640x360:r=25:d=90", "-c:v", "libx264",
                                 "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-g", "25",
                                 QString::fromStdString(file.string())});
    return file;
}

// The middle of the video: above the control bar's strip when windowed, inside the picture in
// full screen too.
QPoint videoMiddle(const QRect& main) {
    return {main.x() + main.width() / 2, main.y() + (main.height() - 62) / 2};
}

// The screen grabs show the pointer: it waits in a corner while pixels are read.
void parkPointer() {
    xdotool({"mousemove", "0", "799"});
}

QColor colourAtVideo(const std::string& window) {
    const QImage screen = grabScreen();
    const QPoint p = videoMiddle(windowRect(window));
    return screen.rect().contains(p) ? screen.pixelColor(p) : QColor();
}

bool showsColour(const std::string& window, QColor colour, int ms = 8000) {
    return waitFor([&] { return near(colourAtVideo(window), colour); }, ms);
}

// The logo drawn while nothing plays: light pixels around the middle of the video.
bool showsLogo(const std::string& window) {
    return waitFor(
        [&] {
            const QImage screen = grabScreen();
            const QPoint m = videoMiddle(windowRect(window));
            int light = 0;
            for (int y = m.y() - 120; y <= m.y() + 60; y += 4)
                for (int x = m.x() - 120; x <= m.x() + 120; x += 4)
                    light += screen.rect().contains(x, y) && screen.pixelColor(x, y).value() > 90;
            return light > 40;
        },
        8000);
}

// The right-click menu on the video, then `downs` items down from its top, chosen.
void menuItem(const std::string& window, int downs) {
    const QPoint p = videoMiddle(windowRect(window));
    xdotool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())});
    QThread::msleep(150);
    xdotool({"click", "3"});
    QThread::msleep(400);
    for (int i = 0; i < downs; ++i) {
        xdotool({"key", "Down"});
        QThread::msleep(60);
    }
    xdotool({"key", "Return"});
    QThread::msleep(200);
    parkPointer();
}

constexpr int kFullScreenItem = 3; // "打开", "截取/转码", "全屏"
constexpr int kOnTopItem = 5;      // ..., "播放", "置顶"

QSize screenSize() {
    const QStringList parts = xdotool({"getdisplaygeometry"}).split(' ');
    return parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
}

bool onTop(const std::string& window) {
    return runTool("xprop", {"-id", QString::fromStdString(window), "_NET_WM_STATE"})
        .contains("_NET_WM_STATE_ABOVE");
}

// The maximize hot spot, once it shows where the layout puts it: over the right of the title
// bar, or of the window's top edge without a window manager. The centre of it, or a null point.
QPoint maximizeHotSpot(const std::string& window, int ms = 8000) {
    QPoint spot;
    waitFor(
        [&] {
            const QRect outer = windowRect(window).marginsAdded(frameExtents(window));
            const QRect expected(outer.x() + outer.width() - 90, outer.y() + 1, 43, 20);
            for (const QString& id :
                 xdotool({"search", "--onlyvisible", "--class", "^OrvelWindow$"})
                     .split('\n', Qt::SkipEmptyParts))
                if (windowRect(id.toStdString()) == expected) spot = expected.center();
            return !spot.isNull();
        },
        ms);
    return spot;
}

void clickHotSpot(const std::string& window) {
    const QPoint spot = maximizeHotSpot(window);
    ASSERT_FALSE(spot.isNull()) << "the maximize hot spot is not where it belongs";
    xdotool({"mousemove", "--sync", QString::number(spot.x()), QString::number(spot.y())});
    QThread::msleep(200);
    xdotool({"click", "1"});
    QThread::msleep(200);
    parkPointer();
}

// Each change on and off, checked to have happened, with `looksRight` asked after each.
void changeEveryFrameState(const std::string& window, const std::function<bool()>& looksRight) {
    const QSize screen = screenSize();
    const QRect windowed = windowRect(window);
    ASSERT_TRUE(looksRight()) << "before any change";

    menuItem(window, kOnTopItem);
    EXPECT_TRUE(waitFor([&] { return onTop(window); }, 5000)) << "\"置顶\" did not take";
    EXPECT_TRUE(looksRight()) << "after \"置顶\" on";
    menuItem(window, kOnTopItem);
    EXPECT_TRUE(waitFor([&] { return !onTop(window); }, 5000)) << "\"置顶\" did not end";
    EXPECT_TRUE(looksRight()) << "after \"置顶\" off";

    menuItem(window, kFullScreenItem);
    EXPECT_TRUE(waitFor([&] { return windowRect(window).size() == screen; }, 5000))
        << "\"全屏\" did not cover the screen";
    EXPECT_TRUE(looksRight()) << "in full screen";
    menuItem(window, kFullScreenItem);
    EXPECT_TRUE(waitFor([&] { return windowRect(window).size() == windowed.size(); }, 5000))
        << "full screen did not end";
    EXPECT_TRUE(looksRight()) << "after full screen";

    clickHotSpot(window);
    EXPECT_TRUE(waitFor([&] { return windowRect(window).height() > windowed.height() + 50; }, 5000))
        << "the hot spot did not maximize";
    EXPECT_TRUE(looksRight()) << "maximized";
    clickHotSpot(window);
    EXPECT_TRUE(waitFor([&] { return windowRect(window).size() == windowed.size(); }, 5000))
        << "the second click did not restore the size";
    EXPECT_TRUE(looksRight()) << "after maximized";
}

} // namespace

TEST(EndToEndFrameChange, ThePlayingPictureSurvivesEveryChangeAndTheNextFileIsDrawn) {
    TempDataDir data;
    const auto clip = longBlueClip(data);
    ASSERT_TRUE(std::filesystem::exists(clip));
    PlayerProcess player(data);
    player.start({clip.string()});
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string window = playerWindows().front();
    parkPointer();
    ASSERT_TRUE(showsColour(window, kBlue, 15000)) << "the clip does not play";
    ASSERT_FALSE(maximizeHotSpot(window).isNull()); // the fade-in has ended

    changeEveryFrameState(window, [&] { return showsColour(window, kBlue); });

    EXPECT_EQ(player.runToEnd({media("orange clip.mp4").string()}, 5000), 0);
    EXPECT_TRUE(showsColour(window, kOrange)) << "the next file is not drawn";
    EXPECT_EQ(player.terminate(), 0);
}

TEST(EndToEndFrameChange, ChangesWhileIdleKeepTheLogoAndTheNextFileIsDrawn) {
    TempDataDir data;
    const auto clip = longBlueClip(data);
    PlayerProcess player(data);
    player.start();
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string window = playerWindows().front();
    parkPointer();
    ASSERT_FALSE(maximizeHotSpot(window).isNull()); // the fade-in has ended

    changeEveryFrameState(window, [&] { return showsLogo(window); });

    EXPECT_EQ(player.runToEnd({clip.string()}, 5000), 0);
    EXPECT_TRUE(showsColour(window, kBlue, 15000)) << "the file opened afterwards is not drawn";
    EXPECT_EQ(player.terminate(), 0);
}
