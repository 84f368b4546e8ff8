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

// Opens the settings window through the last item of the right-click menu, "系统设置        ";
// its window id, or "" when it did not open.
std::string openSettings(const std::string& main) {
    const QRect m = windowRect(main);
    click({m.x() + m.width() / 2, m.y() + m.height() / 2}, 3);
    xdotool({"key", "Up"});
    QThread::msleep(150);
    xdotool({"key", "Return"});
    return findWindow(QString::fromUtf8("系统设置"));
}

std::string storedField(const TempDataDir& data, int field) {
    return runEdb(data.playerDataDir() / "mote.edb", {"get", QString::number(field)});
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

    const std::string settings = openSettings(main);
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

// Real wheel turns over a list and a slider of the picture page scroll the page by its steps
// and leave both options as they were.
TEST(EndToEndSettings, TheWheelScrollsThePageAndTurnsNoOption) {
    TempDataDir data;
    PlayerProcess player(data);
    player.start();
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string settings = openSettings(playerWindows().front());
    ASSERT_FALSE(settings.empty()) << "the settings window did not open";
    const QRect s = windowRect(settings);
    click({s.x() + 75, s.y() + 140}); // the picture tab
    const std::string brightness = storedField(data, 55);
    const std::string renderer = storedField(data, 59);
    ASSERT_FALSE(renderer.empty());

    // A strip of the page left of its controls, away from the pointer: after three notches it
    // shows what was 30 pixels lower.
    const QRect strip(s.x() + 156, s.y() + 100, 64, 300);
    QImage before;
    ASSERT_TRUE(waitFor(
        [&] {
            before = grabScreen().copy(strip.adjusted(0, 0, 0, 40));
            return !before.isNull();
        },
        5000));
    click({s.x() + 340, s.y() + 428}, 5); // over the renderer list
    click({s.x() + 384, s.y() + 228}, 5); // over the brightness slider
    click({s.x() + 384, s.y() + 228}, 5);
    const QImage expected = before.copy(0, 30, strip.width(), strip.height());
    EXPECT_TRUE(waitFor([&] { return grabScreen().copy(strip) == expected; }, 5000))
        << "the page did not scroll by three steps of 10 pixels";
    EXPECT_EQ(storedField(data, 55), brightness);
    EXPECT_EQ(storedField(data, 59), renderer);
    EXPECT_EQ(player.terminate(), 0);
}

// Ctrl pressed into the screenshot hotkey box, then another tab: the lone modifier is not kept.
TEST(EndToEndSettings, ALoneModifierIsNotKeptWhenAnotherTabIsChosen) {
    TempDataDir data;
    PlayerProcess player(data);
    player.start();
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string settings = openSettings(playerWindows().front());
    ASSERT_FALSE(settings.empty()) << "the settings window did not open";
    const QRect s = windowRect(settings);
    click({s.x() + 75, s.y() + 340});  // the hotkey tab
    click({s.x() + 388, s.y() + 188}); // the box of "截图"
    xdotool({"key", "ctrl"});
    ASSERT_TRUE(waitFor([&] { return storedField(data, 193) == "1"; }, 5000))
        << "the box did not capture Ctrl";
    EXPECT_EQ(storedField(data, 192), "Ctrl+");
    click({s.x() + 75, s.y() + 196}); // the sound tab
    EXPECT_TRUE(waitFor([&] { return storedField(data, 193) == "0"; }, 5000));
    EXPECT_EQ(storedField(data, 192), "");
    EXPECT_EQ(storedField(data, 195), "0");
    EXPECT_EQ(player.terminate(), 0);
}
