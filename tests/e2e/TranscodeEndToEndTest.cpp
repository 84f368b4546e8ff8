// Transcoding in the running player: the settings as the user leaves them, the transcode window
// opened from the right-click menu, a cut typed in and started, and the next media handed to
// the player becomes the output file instead of playing. Closing the window plays again.
#include "e2e/PlayerProcess.h"
#include "e2e/Screen.h"
#include "support/TestMedia.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

using namespace qinglan::test;
namespace fs = std::filesystem;

namespace {

const QColor kBlue(0x1E, 0x5A, 0xC8); // clip.mp4's background

void typeInto(const QRect& window, QPoint box, const QString& text) {
    click(window.topLeft() + box);
    xdotool({"type", "--delay", "20", text});
    QThread::msleep(200);
}

int filesIn(const fs::path& folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& f : fs::directory_iterator(folder))
        ++n;
    return n;
}

// Opens "转码设置" from the right-click menu (its second item; the first is the "打开" submenu),
// types the span and the name and presses "开始转换". The window stays open; its id is returned.
std::string startConversion(const std::string& main, const QString& startMs, const QString& endMs,
                            const QString& name) {
    const QRect m = windowRect(main);
    click({m.x() + m.width() / 2, m.y() + m.height() / 2}, 3);
    xdotool({"key", "Down"});
    xdotool({"key", "Down"});
    QThread::msleep(150);
    xdotool({"key", "Return"});
    const std::string transcode = findWindow(QString::fromUtf8("转码设置"));
    if (transcode.empty()) return {};
    QThread::msleep(500);
    const QRect t = windowRect(transcode);
    typeInto(t, {172, 44}, startMs);
    typeInto(t, {428, 44}, endMs);
    typeInto(t, {300, 90}, name);
    click(t.topLeft() + QPoint{436, 136});
    return transcode;
}

const QColor kRed(0xC8, 0x28, 0x28), kGreen(0x28, 0xB4, 0x28), kBlueThird(0x28, 0x28, 0xC8);

struct Colours {
    int red = 0, green = 0, blue = 0;
    QColor last;
    std::string describe() const {
        return "red " + std::to_string(red) + ", green " + std::to_string(green) + ", blue " +
               std::to_string(blue) + ", last " + last.name().toStdString();
    }
};

// Samples a point of the video until done(seen) holds or ms have passed.
Colours watch(QPoint at, int ms, const std::function<bool(const Colours&)>& done) {
    Colours seen;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms && !done(seen)) {
        const QImage screen = grabScreen();
        if (!screen.rect().contains(at)) continue;
        const QColor c = screen.pixelColor(at);
        seen.last = c;
        seen.red += near(c, kRed, 50);
        seen.green += near(c, kGreen, 50);
        seen.blue += near(c, kBlueThird, 50);
    }
    return seen;
}

} // namespace

TEST(EndToEndTranscode, TypedCutPointsWithProcessingOffPlayOnlyTheSpanOfTheNextOpen) {
    TempDataDir data;
    fs::create_directories(data.playerDataDir());
    const auto mote = data.playerDataDir() / "mote.edb";
    runEdb(mote, {"init-settings"});
    for (const auto& [field, value] : {std::pair{"135", "0"}, {"136", "1"}, {"173", "0"}})
        runEdb(mote, {"set", field, value});
    ASSERT_EQ(runEdb(mote, {"get", "135"}), "0");

    PlayerProcess player(data);
    player.start();
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string main = playerWindows().front();
    QThread::msleep(500);
    // 3 s red, 6 s green, 3 s blue: the span 3.5 s to 8 s is green only.
    const std::string transcode = startConversion(main, "3500", "8000", "span");
    ASSERT_FALSE(transcode.empty()) << "the transcode window did not open";
    // It sits over the video; closing it keeps the span for the next open.
    xdotool({"windowactivate", "--sync", QString::fromStdString(transcode)});
    xdotool({"key", "alt+F4"});
    ASSERT_TRUE(
        waitFor([&] { return findWindow(QString::fromUtf8("转码设置"), 200).empty(); }, 5000))
        << "the transcode window did not close";

    const std::string clip = media("three colours 12s.mp4").string();
    const QRect now = windowRect(main);
    const QPoint at{now.x() + now.width() / 3, now.y() + (now.height() - 62) / 2 - 110};
    PlayerProcess second(data);
    second.start({clip});
    // Done once green has shown and then been gone for a while: the span has ended.
    int lastGreen = 0, withoutGreen = 0;
    const Colours span = watch(at, 20000, [&](const Colours& s) {
        if (s.green == 0) return false;
        withoutGreen = s.green == lastGreen ? withoutGreen + 1 : 0;
        lastGreen = s.green;
        return withoutGreen >= 12;
    });
    EXPECT_EQ(second.terminate(), 0);
    EXPECT_GT(span.green, 3) << "the span was not shown: " << span.describe();
    EXPECT_EQ(span.red, 0) << "played from before the typed start: " << span.describe();
    EXPECT_EQ(span.blue, 0) << "played past the typed end: " << span.describe();

    // The open after that one plays whole again: its red start shows.
    PlayerProcess third(data);
    third.start({clip});
    const Colours whole = watch(at, 10000, [](const Colours& s) { return s.red > 0; });
    EXPECT_EQ(third.terminate(), 0);
    EXPECT_GT(whole.red, 0) << "the next open was cut too: " << whole.describe();
    EXPECT_TRUE(player.running());
    EXPECT_EQ(player.terminate(), 0);
}

TEST(EndToEndTranscode, TheNextMediaOpenedBecomesTheCutOutputFile) {
    TempDataDir data;
    QTemporaryDir out;
    const fs::path folder = out.path().toStdString();
    fs::create_directories(data.playerDataDir());
    const auto mote = data.playerDataDir() / "mote.edb";
    runEdb(mote, {"init-settings"});
    // Processing on, mode 转码, format mkv, our folder.
    for (const auto& [field, value] : {std::pair{"135", "1"},
                                       {"136", "0"},
                                       {"141", "0"},
                                       {"142", "0"},
                                       {"143", "1"},
                                       {"144", "mkv"}})
        runEdb(mote, {"set", field, value});
    runEdb(mote, {"set", "145", QString::fromStdString(folder.string())});
    ASSERT_EQ(runEdb(mote, {"get", "144"}), "mkv");

    PlayerProcess player(data);
    player.start();
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string main = playerWindows().front();
    QThread::msleep(500);

    const std::string transcode = startConversion(main, "1000", "3000", "e2e clip");
    ASSERT_FALSE(transcode.empty()) << "the transcode window did not open";

    // The next open: a media handed over by a second start.
    PlayerProcess second(data);
    second.start({media("clip.mp4").string()});
    const fs::path written = folder / "e2e clip.mkv";
    ASSERT_TRUE(waitFor([&] { return fs::exists(written); }, 60000))
        << "no output file; the folder holds " << filesIn(folder) << " file(s)";
    EXPECT_EQ(second.terminate(), 0);
    EXPECT_EQ(filesIn(folder), 1); // no temporary file left beside it
    const double duration =
        runTool("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0",
                            QString::fromStdString(written.string())})
            .toDouble();
    EXPECT_NEAR(duration, 2.0, 0.12);
    EXPECT_EQ(runTool("ffprobe", {"-v", "error", "-show_entries", "format=format_name", "-of",
                                  "default=nw=1:nk=1", QString::fromStdString(written.string())})
                  .toStdString(),
              "matroska,webm");

    // Closing the window returns the engine to play mode: the next media plays, nothing more
    // is written.
    xdotool({"windowactivate", "--sync", QString::fromStdString(transcode)});
    xdotool({"key", "alt+F4"});
    ASSERT_TRUE(
        waitFor([&] { return findWindow(QString::fromUtf8("转码设置"), 200).empty(); }, 5000))
        << "the transcode window did not close";
    PlayerProcess third(data);
    EXPECT_EQ(third.runToEnd({media("clip.mp4").string()}, 10000), 0);
    const QRect now = windowRect(main);
    // Left of the square's path and on the screen even where the window reaches beyond it.
    const QPoint sample{now.x() + std::min(now.width() / 2, 300),
                        now.y() + (now.height() - 62) / 2 - 110};
    EXPECT_TRUE(waitFor(
        [&] {
            const QImage screen = grabScreen();
            return screen.rect().contains(sample) && near(screen.pixelColor(sample), kBlue);
        },
        10000))
        << "the clip does not play";
    EXPECT_EQ(filesIn(folder), 1);
    EXPECT_TRUE(player.running());
    EXPECT_EQ(player.terminate(), 0);
}
