// The lyrics over the real engine's window on a private X display: an mp3 with a GB18030 .lrc
// beside it, set up with the ids the player sends; the lit line follows the position, nothing
// shows with lyrics off, and dragging the lyrics seeks without reaching the player as a click.
#include "EngineTestSupport.h"
#include "support/TempDataDir.h"
#include "support/TestMedia.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace qinglan::aplayer;
using namespace qinglan::aplayer::test;
using qinglan::test::media;

namespace {

const QColor kHighlight(255, 255, 0); // 1313 = "65535"
const QColor kText(0, 0x88, 0xFF);    // 1312 = "16746496"
const QColor kLogo(200, 30, 30);

// Lines of clearly different widths, so that the lit one is known by its width.
const char* const kLyrics = "[ti:青岚]\n"
                            "[00:00.50]一\n"
                            "[00:03.00]二二二二二二二二\n"
                            "[00:06.00]三三三\n"
                            "[00:08.00]四四四四四\n";

bool near(QColor a, QColor b, int tolerance = 24) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

void xdotool(const QStringList& args) {
    QProcess p;
    p.start("xdotool", args);
    p.waitForFinished(5000);
}

std::string messageList(const std::vector<uint32_t>& messages) {
    std::string out = "messages:";
    for (uint32_t m : messages)
        out += " " + std::to_string(m);
    return out;
}

struct LitPixels {
    int count = 0;
    QRect box;
};

struct LyricsEngine : EngineUnderTest {
    qinglan::test::TempDataDir dir;
    std::filesystem::path song = dir.path() / "歌曲.mp3";

    LyricsEngine() : EngineUnderTest(MpvEngineOptions{"", "null"}) {
        parent->setWindowFlag(Qt::FramelessWindowHint);
        parent->setGeometry(0, 0, 640, 360);
        parent->show();
        std::filesystem::copy_file(media("song.mp3"), song);
        // GB18030 made by the system's iconv from the UTF-8 text.
        std::ofstream(dir.path() / "utf8.lrc") << kLyrics;
        const std::string cmd = "iconv -f UTF-8 -t GB18030 '" + (dir.path() / "utf8.lrc").string() +
                                "' > '" + (dir.path() / "歌曲.lrc").string() + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
    }
    QImage shot() {
        return QGuiApplication::primaryScreen()->grabWindow(parent->winId()).toImage();
    }
    LitPixels lit() {
        const QImage image = shot();
        LitPixels l;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (near(image.pixelColor(x, y), kHighlight)) {
                    ++l.count;
                    l.box |= QRect(x, y, 1, 1);
                }
        return l;
    }
    int count(QColor c) {
        const QImage image = shot();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += near(image.pixelColor(x, y), c);
        return n;
    }
    // The lyric steps as the player sends them after an open, with its default look.
    void sendLyricSteps(bool shown, bool drag) {
        if (!shown) {
            engine->APlayer_SetConfigA(1302, "0");
            return;
        }
        const std::string stem = song.string().substr(0, song.string().size() - 3);
        for (auto [id, value] :
             std::initializer_list<std::pair<int, std::string>>{{1302, "1"},
                                                                {1328, "0"},
                                                                {1321, drag ? "1" : "0"},
                                                                {1318, "0"},
                                                                {1319, "0"},
                                                                {1314, "0"},
                                                                {1310, "3"},
                                                                {1307, "0"},
                                                                {1311, "黑体;20;25;700;20"},
                                                                {1312, "16746496"},
                                                                {1313, "65535"},
                                                                {1320, "0"},
                                                                {1303, "0"},
                                                                {1316, "0"},
                                                                {1305, stem + "lrc"}})
            engine->APlayer_SetConfigA(id, value);
    }
};

} // namespace

TEST(EngineLyricsWindow, AGb18030LrcBesideAnMp3IsDrawnAndItsLitLineFollowsThePosition) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    LyricsEngine e;
    ASSERT_TRUE(e.create());
    QImage logo(120, 120, QImage::Format_RGB32);
    logo.fill(kLogo);
    e.engine->APlayer_SetCustomLogo(logo);
    e.sendLyricSteps(true, true);
    ASSERT_TRUE(e.openAndWaitPlaying(e.song.string()));
    e.engine->APlayer_Pause(); // the position stays where the test puts it

    // The eight-character line, lit at the centre.
    e.engine->APlayer_SetPosition(3500);
    LitPixels wide;
    EXPECT_TRUE(waitUntil(
        [&] {
            wide = e.lit();
            return wide.box.width() > 120 && std::abs(wide.box.center().y() - 180) < 15;
        },
        8000))
        << "the line at 3 s is not lit at the centre: lit width " << wide.box.width() << " at "
        << wide.box.center().y();
    EXPECT_GT(e.count(kText), 50) << "the neighbouring lines are not drawn";
    EXPECT_EQ(e.count(kLogo), 0) << "the logo shows through";

    // The three-character line: lit three eighths as wide.
    e.engine->APlayer_SetPosition(6500);
    LitPixels narrow;
    EXPECT_TRUE(waitUntil(
        [&] {
            narrow = e.lit();
            return narrow.count > 20 &&
                   std::abs(narrow.box.width() - wide.box.width() * 3 / 8) < 20 &&
                   std::abs(narrow.box.center().y() - 180) < 15;
        },
        8000))
        << "lit width " << narrow.box.width() << " after " << wide.box.width();
    ::testing::Test::RecordProperty("lit_widths", std::to_string(wide.box.width()) + "/" +
                                                      std::to_string(narrow.box.width()));

    // Lyrics off: nothing of them, the logo back.
    e.sendLyricSteps(false, false);
    EXPECT_TRUE(waitUntil([&] { return e.count(kLogo) > 1000; }, 5000)) << "the logo is not back";
    EXPECT_EQ(e.lit().count, 0);
    EXPECT_EQ(e.count(kText), 0);
}

TEST(EngineLyricsWindow, DraggingTheLyricsSeeksToTheLineUnderTheMarkerAndIsNoClick) {
    LyricsEngine e;
    ASSERT_TRUE(e.create());
    e.sendLyricSteps(true, true);
    ASSERT_TRUE(e.openAndWaitPlaying(e.song.string()));
    e.engine->APlayer_Pause();
    e.engine->APlayer_SetPosition(1000); // the first line lit
    ASSERT_TRUE(waitUntil([&] { return e.lit().count > 5; }, 8000));
    const int oneWidth = e.lit().box.width(); // "一"
    e.messages.clear();

    // Up by two lines (pitch: the font's height plus the spacing of 20, about 52 px at 25 px).
    xdotool({"mousemove", "320", "300", "mousedown", "1"});
    for (int y = 290; y >= 196; y -= 6)
        xdotool({"mousemove", "320", QString::number(y)});
    xdotool({"mouseup", "1"});
    EXPECT_TRUE(waitUntil(
        [&] {
            const int p = e.engine->APlayer_GetPosition();
            return std::abs(p - 6000) < 400; // mp3 seeks land within a step of its seek table
        },
        5000))
        << "position " << e.engine->APlayer_GetPosition() << ", expected the line at 6 s";
    EXPECT_TRUE(std::none_of(e.messages.begin(), e.messages.end(), [](uint32_t m) {
        return m == MessageLeftButtonDown || m == MessageLeftButtonDoubleClick;
    })) << "the drag reached the player as a click";
    EXPECT_EQ(e.engine->APlayer_GetState(), StatePaused) << "the drag toggled pause";
    LitPixels lit;
    EXPECT_TRUE(waitUntil(
        [&] {
            lit = e.lit();
            return lit.box.width() > oneWidth * 2 && std::abs(lit.box.center().y() - 180) < 15;
        },
        3000))
        << "the line sought to is not lit at the centre: " << lit.box.width() << " wide at "
        << lit.box.center().y();
    if (const char* keep = std::getenv("QINGLAN_KEEP_SHOT")) e.shot().save(keep);

    // A click still reaches the player.
    xdotool({"mousemove", "320", "300", "click", "1"});
    EXPECT_TRUE(waitUntil([&] {
        return std::count(e.messages.begin(), e.messages.end(), MessageLeftButtonDown) == 1;
    })) << messageList(e.messages);

    // Dragging off: the press reaches the player at once and nothing seeks. (Past the double
    // click time, or this press would make a double click with the click before.)
    e.sendLyricSteps(true, false);
    spin(1000);
    e.messages.clear();
    const int before = e.engine->APlayer_GetPosition();
    xdotool({"mousemove", "320", "300", "mousedown", "1"});
    for (int y = 290; y >= 196; y -= 6)
        xdotool({"mousemove", "320", QString::number(y)});
    xdotool({"mouseup", "1"});
    EXPECT_TRUE(waitUntil([&] {
        return std::count(e.messages.begin(), e.messages.end(), MessageLeftButtonDown) == 1;
    })) << messageList(e.messages);
    spin(500);
    EXPECT_NEAR(e.engine->APlayer_GetPosition(), before, 100);
}
