// Skipping intro and outro in the real player: the settings as the user leaves them in the
// settings file, two three-colour clips of different length (3 s red, green, 3 s blue), the
// first opened at start and the second handed over by another start. Only green may ever show.
#include "e2e/PlayerProcess.h"
#include "e2e/Screen.h"
#include "support/TestMedia.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

using namespace qinglan::test;

namespace {

const QColor kRed(0xC8, 0x28, 0x28), kGreen(0x28, 0xB4, 0x28), kBlue(0x28, 0x28, 0xC8);

// Screen grabs in this process: a new ffmpeg per grab would sample too seldom to see a few
// frames of intro.
QScreen& screen() {
    static int argc = 1;
    static char name[] = "skip-e2e";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
    return *QGuiApplication::primaryScreen();
}

QColor pixelAt(QPoint p) {
    const QImage shot = screen().grabWindow(0, p.x(), p.y(), 1, 1).toImage();
    return shot.isNull() ? QColor() : shot.pixelColor(0, 0);
}

// A point of the video well away from the side panel and the control bar.
QPoint videoPoint(const QRect& main) {
    return {main.x() + main.width() / 3, main.y() + (main.height() - 62) / 2 - 110};
}

struct Seen {
    int red = 0, green = 0, blue = 0, samples = 0;
    std::string firstOther; // the first sample that was none of the three
    std::string describe() const {
        return "samples " + std::to_string(samples) + ": red " + std::to_string(red) + ", green " +
               std::to_string(green) + ", blue " + std::to_string(blue) +
               (firstOther.empty() ? "" : ", also " + firstOther);
    }
};

std::string rgb(QColor c) {
    return std::to_string(c.red()) + "," + std::to_string(c.green()) + "," +
           std::to_string(c.blue());
}

// Samples the video about every 100 ms until done(seen) holds or the deadline passes.
Seen watch(QPoint at, int deadlineMs, const std::function<bool(const Seen&)>& done) {
    Seen seen;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < deadlineMs && !done(seen)) {
        const QColor c = pixelAt(at);
        ++seen.samples;
        if (near(c, kRed, 50))
            ++seen.red;
        else if (near(c, kGreen, 50))
            ++seen.green;
        else if (near(c, kBlue, 50))
            ++seen.blue;
        else if (seen.firstOther.empty())
            seen.firstOther = rgb(c);
        QThread::msleep(100);
    }
    return seen;
}

// Watches one file from its open to past its end: the middle (green) must show for a good
// while, the 3 s at either end never.
void expectOnlyTheMiddle(const std::string& window, int seconds, const char* name) {
    SCOPED_TRACE(name);
    const QPoint at = videoPoint(windowRect(window));
    // Done once the middle has shown and then been gone for 2 s: the player has stopped or
    // moved on, and an outro frame would have shown by then.
    int lastGreen = 0, samplesWithoutGreen = 0;
    const Seen seen = watch(at, (seconds + 6) * 1000, [&](const Seen& s) {
        if (s.green == 0) return false;
        if (s.green != lastGreen) {
            lastGreen = s.green;
            samplesWithoutGreen = 0;
        } else {
            ++samplesWithoutGreen;
        }
        return samplesWithoutGreen >= 20;
    });
    ::testing::Test::RecordProperty(name, seen.describe());
    // Half the middle's length in 100 ms samples: grabs take time of their own.
    EXPECT_GE(seen.green, (seconds - 6) * 10 / 2)
        << "the middle was not shown: " << seen.describe();
    EXPECT_EQ(seen.red, 0) << "the intro was shown: " << seen.describe();
    EXPECT_EQ(seen.blue, 0) << "the outro was shown: " << seen.describe();
}

} // namespace

TEST(EndToEndSkip, OnlyTheMiddleOfEachFileIsShown) {
    TempDataDir data;
    std::filesystem::create_directories(data.playerDataDir());
    const auto mote = data.playerDataDir() / "mote.edb";
    runEdb(mote, {"init-settings"});
    // Skip on: 173 "1" with its opposite 204 "0", intro 205 and outro 206 of 3 s each.
    for (const auto& [field, value] :
         {std::pair{"173", "1"}, {"204", "0"}, {"205", "3"}, {"206", "3"}})
        runEdb(mote, {"set", field, value});
    ASSERT_EQ(runEdb(mote, {"get", "173"}), "1");
    ASSERT_EQ(runEdb(mote, {"get", "206"}), "3");

    PlayerProcess player(data);
    player.start({media("three colours 12s.mp4").string()});
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string window = playerWindows().front();
    expectOnlyTheMiddle(window, 12, "three colours 12s.mp4");

    // The second start hands its file over while the screen is being watched.
    PlayerProcess second(data);
    second.start({media("three colours 16s.mp4").string()});
    expectOnlyTheMiddle(window, 16, "three colours 16s.mp4");
    EXPECT_EQ(second.terminate(), 0) << "the second start did not hand over and end";

    EXPECT_TRUE(player.running());
    EXPECT_EQ(player.terminate(), 0);
}
