// The real player with the real engine on a private X display with a window manager.
#include "e2e/PlayerProcess.h"
#include "e2e/Screen.h"
#include "support/TestMedia.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <filesystem>

using namespace qinglan::test;

namespace {

const QColor kBlue(0x1E, 0x5A, 0xC8);
const QColor kOrange(0xE0, 0x80, 0x1E);

// A point of the video that the clip's moving square never crosses.
QPoint videoSamplePoint(const QRect& main) {
    return {main.x() + main.width() / 2, main.y() + (main.height() - 62) / 2 - 110};
}

// Polls the screen until the sample point shows the colour, or time runs out.
bool waitForColour(const std::string& window, QColor colour, int ms = 15000) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        const QImage screen = grabScreen();
        const QPoint p = videoSamplePoint(windowRect(window));
        if (!screen.isNull() && screen.rect().contains(p) && near(screen.pixelColor(p), colour))
            return true;
        QThread::msleep(300);
    }
    return false;
}

} // namespace

TEST(EndToEndPlayer, PlaysHandsOverHidesToTrayAndSavesOnSigterm) {
    TempDataDir data;
    PlayerProcess player(data);
    player.start({media("clip.mp4").string()});
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string window = playerWindows().front();

    // A frame of the blue clip is drawn inside the main window.
    ASSERT_TRUE(waitForColour(window, kBlue)) << "no blue frame in the main window";

    // The floating control bar hugs the bottom edge.
    const QRect main = windowRect(window);
    QProcess search;
    search.start("xdotool", {"search", "--onlyvisible", "--class", "^OrvelWindow$"});
    search.waitForFinished(3000);
    bool barFound = false;
    for (const auto& id :
         QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        const QRect r = windowRect(id.toStdString());
        if (r.height() == 30 && std::abs(r.width() - (main.width() - 2)) <= 12 &&
            std::abs(r.bottom() - main.bottom()) <= 40)
            barFound = true;
    }
    EXPECT_TRUE(barFound) << "no control bar along the bottom of the main window";

    // A second start hands its file over: the running player shows the orange clip.
    EXPECT_EQ(player.runToEnd({media("orange clip.mp4").string()}, 5000), 0);
    EXPECT_TRUE(waitForColour(window, kOrange)) << "the handed-over clip is not shown";
    EXPECT_EQ(playerWindows().size(), 1u);

    // Closing with "minimise to tray" (the default) hides the window; the player keeps running.
    QProcess::execute("xdotool", {"windowactivate", "--sync", QString::fromStdString(window)});
    QProcess::execute("xdotool", {"key", "--clearmodifiers", "alt+F4"});
    QElapsedTimer hiding;
    hiding.start();
    while (!playerWindows().empty() && hiding.elapsed() < 5000)
        QThread::msleep(200);
    EXPECT_TRUE(playerWindows().empty());
    EXPECT_TRUE(player.running());

    EXPECT_EQ(player.terminate(), 0);
    EXPECT_EQ(runEdb(data.playerDataDir() / "mote.edb", {"get", "168"}), std::to_string(main.x()));
    EXPECT_EQ(runEdb(data.playerDataDir() / "mote.edb", {"get", "169"}), std::to_string(main.y()));
    EXPECT_EQ(runEdb(data.playerDataDir() / "mote.edb", {"get", "170"}),
              std::to_string(main.width()));
    EXPECT_EQ(runEdb(data.playerDataDir() / "mote.edb", {"get", "171"}),
              std::to_string(main.height()));
}

TEST(EndToEndPlayer, AFileThatCannotBeOpenedShowsTheLogoAndTheReason) {
    TempDataDir data;
    PlayerProcess player(data);
    player.start({"/nonexistent/不存在的文件.mp4"});
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string window = playerWindows().front();

    // Within a few seconds: light text in the top-left band of the video, the logo in the middle.
    bool textShown = false, logoShown = false;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000 && !(textShown && logoShown)) {
        QThread::msleep(500);
        const QImage screen = grabScreen();
        const QRect main = windowRect(window);
        int light = 0;
        for (int y = main.y() + 20; y < main.y() + 60; ++y)
            for (int x = main.x() + 20; x < main.x() + 300; ++x)
                if (screen.rect().contains(x, y) && screen.pixelColor(x, y).lightness() > 150)
                    ++light;
        textShown = light > 50;
        const QPoint centre(main.x() + main.width() / 2, main.y() + (main.height() - 62) / 2 - 60);
        logoShown = screen.rect().contains(centre) && screen.pixelColor(centre).lightness() > 20;
    }
    EXPECT_TRUE(textShown) << "no message about the file";
    EXPECT_TRUE(logoShown) << "the logo is not back";
    EXPECT_EQ(player.terminate(), 0);
}
