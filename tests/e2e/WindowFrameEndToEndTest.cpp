// The main window's frame changes, driven the way a user drives them: a double click on the
// video right after start, and the maximize hot spot. Registered with and without a window
// manager.
#include "e2e/PlayerProcess.h"
#include "e2e/Screen.h"
#include "support/TestMedia.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>

using namespace qinglan::test;

namespace {

const QColor kBlue(0x1E, 0x5A, 0xC8);

QSize screenSize() {
    const QStringList parts = xdotool({"getdisplaygeometry"}).split(' ');
    return parts.size() == 2 ? QSize(parts[0].toInt(), parts[1].toInt()) : QSize();
}

// A point of the video, away from the side panel and the clip's moving square.
QPoint videoPoint(const QRect& main) {
    return {main.x() + main.width() / 3, main.y() + (main.height() - 62) / 2 - 110};
}

void doubleClickAt(QPoint p) {
    xdotool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())});
    QThread::msleep(100);
    xdotool({"click", "--repeat", "2", "--delay", "80", "1"});
}

struct StartedPlayer {
    TempDataDir data;
    PlayerProcess player{data};
    std::string window;

    void start() {
        player.start({media("clip.mp4").string()});
        ASSERT_TRUE(player.waitForMainWindow());
        window = playerWindows().front();
        // The clip is drawn: the video window takes clicks from here on.
        ASSERT_TRUE(waitFor(
            [&] {
                const QImage screen = grabScreen();
                const QPoint p = videoPoint(windowRect(window));
                return screen.rect().contains(p) && near(screen.pixelColor(p), kBlue);
            },
            15000));
    }
};

} // namespace

TEST(EndToEndWindowFrame, EveryDoubleClickOnTheVideoTogglesFullScreenFromTheFirst) {
    StartedPlayer p;
    p.start();
    const QSize screen = screenSize();
    ASSERT_TRUE(screen.isValid());
    const QRect windowed = windowRect(p.window);
    ASSERT_LT(windowed.width(), screen.width());

    doubleClickAt(videoPoint(windowed));
    EXPECT_TRUE(waitFor([&] { return windowRect(p.window).size() == screen; }, 5000))
        << "the first double click did not enter full screen";

    doubleClickAt(videoPoint(windowRect(p.window)));
    EXPECT_TRUE(waitFor([&] { return windowRect(p.window).width() < screen.width(); }, 5000))
        << "the second double click did not leave full screen";
    EXPECT_EQ(p.player.terminate(), 0);
}

TEST(EndToEndWindowFrame, MaximizeHotSpotFitsTheFramedWindowIntoTheScreen) {
    StartedPlayer p;
    p.start();
    const QSize screen = screenSize();
    const QRect main = windowRect(p.window);
    // The hot spot is the player's 43 x 20 window over the main window's top-right corner; it
    // shows itself once the fade-in has ended.
    QPoint hotSpot;
    ASSERT_TRUE(waitFor(
        [&] {
            for (const QString& id :
                 xdotool({"search", "--onlyvisible", "--class", "^OrvelWindow$"})
                     .split('\n', Qt::SkipEmptyParts)) {
                const QRect r = windowRect(id.toStdString());
                if (r.size() == QSize(43, 20)) hotSpot = r.center();
            }
            return !hotSpot.isNull();
        },
        5000));
    xdotool({"mousemove", "--sync", QString::number(hotSpot.x()), QString::number(hotSpot.y())});
    QThread::msleep(200);
    xdotool({"click", "1"});

    ASSERT_TRUE(waitFor([&] { return windowRect(p.window).height() > main.height() + 50; }, 5000))
        << "the hot spot did not maximize";
    QThread::msleep(500); // let the window manager settle the frame
    const QRect client = windowRect(p.window);
    const QRect outer = client.marginsAdded(frameExtents(p.window));
    EXPECT_GE(outer.left(), 0);
    EXPECT_GE(outer.top(), 0);
    EXPECT_LE(outer.right(), screen.width() - 1) << "the frame reaches past the screen";
    EXPECT_LE(outer.bottom(), screen.height() - 1) << "the frame reaches past the screen";
    EXPECT_EQ(p.player.terminate(), 0);
}

// The window manager frames the window after it is shown, without moving it: the hot spots must
// still end up over the title bar, not over the video, without the user moving the window.
TEST(EndToEndWindowFrame, TheHotSpotsSitOverTheTitleBarFromTheStart) {
    TempDataDir data;
    PlayerProcess player(data);
    player.start();
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string window = playerWindows().front();
    QRect expected;
    const bool placed = waitFor(
        [&] {
            const QRect outer = windowRect(window).marginsAdded(frameExtents(window));
            expected = QRect(outer.x() + outer.width() - 90, outer.y() + 1, 43, 20);
            for (const QString& id :
                 xdotool({"search", "--onlyvisible", "--class", "^OrvelWindow$"})
                     .split('\n', Qt::SkipEmptyParts))
                if (windowRect(id.toStdString()) == expected) return true;
            return false;
        },
        5000);
    EXPECT_TRUE(placed) << "no hot spot at " << expected.x() << "," << expected.y();
    EXPECT_EQ(player.terminate(), 0);
}
