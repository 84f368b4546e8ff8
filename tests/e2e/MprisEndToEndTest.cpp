// The real player driven by playerctl over MPRIS, on a private session bus and X display.
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
const QColor kOrange(0xE0, 0x80, 0x1E);

QString playerctl(const QStringList& args) {
    QProcess p;
    p.start("playerctl", QStringList{"--player=qinglan"} + args);
    p.waitForFinished(5000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

bool shows(const std::string& window, QColor colour) {
    return waitFor([&] {
        const QRect main = windowRect(window);
        const QPoint p(main.x() + main.width() / 3, main.y() + (main.height() - 62) / 2 - 110);
        const QImage screen = grabScreen();
        return screen.rect().contains(p) && near(screen.pixelColor(p), colour);
    });
}

TEST(EndToEndMpris, PlayerctlPausesSkipsAndReadsTheTitle) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) << "no session bus";
    TempDataDir data;
    std::filesystem::create_directories(data.playerDataDir());
    const auto list = data.playerDataDir() / "means.edb";
    runEdb(list, {"create"});
    runEdb(list, {"append", QString::fromStdString(media("clip.mp4").string())});
    runEdb(list, {"append", QString::fromStdString(media("orange clip.mp4").string())});
    runEdb(data.playerDataDir() / "mote.edb", {"init-settings"});
    runEdb(data.playerDataDir() / "mote.edb", {"set", "172", "0"});

    PlayerProcess player(data);
    player.start({media("clip.mp4").string()});
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string window = playerWindows().front();
    ASSERT_TRUE(shows(window, kBlue));

    EXPECT_TRUE(waitFor([] { return playerctl({"metadata", "title"}) == "clip.mp4"; }));
    EXPECT_EQ(playerctl({"metadata", "mpris:length"}).toLongLong() / 1000000, 10);
    EXPECT_EQ(playerctl({"status"}), "Playing");

    playerctl({"play-pause"});
    EXPECT_TRUE(waitFor([] { return playerctl({"status"}) == "Paused"; }, 5000));
    playerctl({"play-pause"});
    EXPECT_TRUE(waitFor([] { return playerctl({"status"}) == "Playing"; }, 5000));

    playerctl({"next"});
    EXPECT_TRUE(shows(window, kOrange)) << "next did not play the next list entry";
    EXPECT_TRUE(waitFor([] { return playerctl({"metadata", "title"}) == "orange clip.mp4"; }));
    EXPECT_EQ(player.terminate(), 0);
}

} // namespace
