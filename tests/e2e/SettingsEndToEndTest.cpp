// The settings window in the running player: opened from the video's right-click menu, a
// picture slider moved with the keyboard changes the picture at once and is stored.
#include "e2e/PlayerProcess.h"
#include "e2e/Screen.h"
#include "support/TestMedia.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

using namespace qinglan::test;

namespace {

const QColor kBlue(0x1E, 0x5A, 0xC8);

// A point of the video right of the settings window, which is centred over the main window.
QPoint videoPoint(const QRect& main) {
    return {main.right() - 40, main.y() + (main.height() - 62) / 2 - 110};
}

QColor colourAt(const QPoint& p) {
    const QImage screen = grabScreen();
    return screen.rect().contains(p) ? screen.pixelColor(p) : QColor();
}

} // namespace

TEST(EndToEndSettings, ABrightnessSliderChangesThePlayingPictureAndIsStored) {
    TempDataDir data;
    PlayerProcess player(data);
    player.start({media("clip.mp4").string()});
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string main = playerWindows().front();
    const QPoint sample = videoPoint(windowRect(main));
    ASSERT_TRUE(waitFor([&] { return near(colourAt(sample), kBlue); })) << "the clip does not play";

    // Right-click menu, its last item "系统设置        ".
    const QRect m = windowRect(main);
    click({m.x() + m.width() / 2, m.y() + m.height() / 2}, 3);
    xdotool({"key", "Up"});
    QThread::msleep(150);
    xdotool({"key", "Return"});
    const std::string settings = findWindow(QString::fromUtf8("系统设置"));
    ASSERT_FALSE(settings.empty()) << "the settings window did not open";
    QThread::msleep(500);

    // The picture tab, then the brightness slider (the first of its colour group) to its end.
    const QRect s = windowRect(settings);
    click({s.x() + 75, s.y() + 140});
    click({s.x() + 152 + 24 + 80 + 128, s.y() + 184 + 32 + 12});
    xdotool({"key", "End"});

    const bool brighter = waitFor(
        [&] {
            const QColor c = colourAt(sample);
            return c.isValid() && c.red() + c.green() + c.blue() >
                                      kBlue.red() + kBlue.green() + kBlue.blue() + 200;
        },
        8000);
    EXPECT_TRUE(brighter) << "the picture did not brighten; it shows "
                          << colourAt(sample).name().toStdString();
    EXPECT_EQ(runEdb(data.playerDataDir() / "mote.edb", {"get", "55"}), "100");
    EXPECT_EQ(player.terminate(), 0);
}
