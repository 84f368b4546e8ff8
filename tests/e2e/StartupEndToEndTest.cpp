// The real player on a private X display: one main window, hand-over by a second start.
#include "e2e/PlayerProcess.h"
#include "e2e/Screen.h"
#include "support/TestMedia.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace qinglan::test;

namespace {

// A window of the player 30 pixels high along the foot of `main`, as the control bar lies.
bool controlBarUnder(const QRect& main) {
    const auto ids = runTool("xdotool", {"search", "--onlyvisible", "--class", "^OrvelWindow$"})
                         .split('\n', Qt::SkipEmptyParts);
    for (const auto& id : ids) {
        const QRect r = windowRect(id.toStdString());
        if (r.height() == 30 && std::abs(r.x() - (main.x() + 1)) <= 2 &&
            std::abs(r.width() - (main.width() - 2)) <= 2 &&
            std::abs(r.y() - (main.y() + main.height() - 31)) <= 2)
            return true;
    }
    return false;
}

} // namespace

TEST(EndToEndStartup, SecondStartHandsOverAndLeavesOneMainWindow) {
    TempDataDir data;
    PlayerProcess player(data);
    player.start({media("clip.mp4").string()});
    ASSERT_TRUE(player.waitForMainWindow());
    EXPECT_EQ(playerWindows().size(), 1u);

    qint64 ms = 0;
    EXPECT_EQ(player.runToEnd({media("orange clip.mp4").string()}, 5000, &ms), 0);
    EXPECT_LT(ms, 2000);
    EXPECT_EQ(player.runToEnd({}, 5000, &ms), 0);
    EXPECT_LT(ms, 2000);
    EXPECT_EQ(playerWindows().size(), 1u);
    EXPECT_TRUE(player.running());

    EXPECT_EQ(player.terminate(), 0);
}

TEST(EndToEndStartup, FirstStartCreatesTheSettingsAndSigtermSavesTheGeometry) {
    TempDataDir data;
    PlayerProcess player(data);
    player.start();
    ASSERT_TRUE(player.waitForMainWindow());
    const auto mote = data.playerDataDir() / "mote.edb";
    ASSERT_TRUE(std::filesystem::exists(mote));
    EXPECT_EQ(runEdb(mote, {"count"}), "1");
    EXPECT_EQ(runEdb(mote, {"get", "170"}), "725");
    EXPECT_EQ(runEdb(mote, {"get", "171"}), "550");

    // Move the window, then end the player politely: the geometry must be stored.
    const auto window = QString::fromStdString(playerWindows().front());
    QProcess::execute("xdotool", {"windowsize", window, "800", "600"});
    QProcess::execute("xdotool", {"windowmove", window, "40", "30"});
    // The player has taken in the new geometry once its control bar has followed the window.
    ASSERT_TRUE(waitFor([] { return controlBarUnder(QRect(40, 30, 800, 600)); }, 10000))
        << "the control bar did not follow the moved window";
    EXPECT_EQ(player.terminate(), 0);
    EXPECT_EQ(runEdb(mote, {"get", "168"}), "40");
    EXPECT_EQ(runEdb(mote, {"get", "169"}), "30");
    EXPECT_EQ(runEdb(mote, {"get", "170"}), "800");
    EXPECT_EQ(runEdb(mote, {"get", "171"}), "600");
}

TEST(EndToEndStartup, CorruptSettingsAreSetAsideAndThePlayerStillStarts) {
    TempDataDir data;
    std::filesystem::create_directories(data.playerDataDir());
    const auto mote = data.playerDataDir() / "mote.edb";
    {
        std::ofstream out(mote, std::ios::binary);
        out << std::string(5000, '\x5a');
    }
    PlayerProcess player(data);
    player.start();
    ASSERT_TRUE(player.waitForMainWindow());
    EXPECT_EQ(runEdb(mote, {"get", "170"}), "725"); // a fresh store took its place

    int setAside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(data.playerDataDir())) {
        const auto name = entry.path().filename().string();
        if (name.rfind("mote.edb.broken-", 0) == 0) {
            ++setAside;
            EXPECT_EQ(std::filesystem::file_size(entry.path()), 5000u); // kept as it was
        }
    }
    EXPECT_EQ(setAside, 1);
    EXPECT_EQ(player.terminate(), 0);
}
