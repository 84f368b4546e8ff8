// Lyrics through the running player: an mp3 with a GB18030 .lrc beside it shows its lyrics with
// the stored look (the settings the player re-sends after the open), the lit line moves on with
// the song, and with lyrics hidden on the lyrics page nothing of them is drawn.
#include "e2e/PlayerProcess.h"
#include "e2e/Screen.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace qinglan::test;

namespace {

const QColor kHighlight(255, 255, 0); // the default highlight, 65535

const char* const kLyrics = "[ti:青岚]\n"
                            "[00:00.30]一\n"
                            "[00:02.50]二二二二二二二二二二\n"
                            "[00:05.00]三三三\n";

struct Lit {
    int count = 0;
    QRect box;
};

Lit litIn(const QRect& area) {
    const QImage screen = grabScreen();
    Lit l;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (screen.rect().contains(x, y) && near(screen.pixelColor(x, y), kHighlight, 30)) {
                ++l.count;
                l.box |= QRect(x, y, 1, 1);
            }
    return l;
}

// The song and its lyrics in GB18030, made from the UTF-8 text by the system's iconv.
std::filesystem::path songWithLyrics(const TempDataDir& data) {
    const auto folder = data.path() / "歌";
    std::filesystem::create_directories(folder);
    const auto song = folder / "青岚.mp3";
    std::filesystem::copy_file(media("song.mp3"), song);
    std::ofstream(folder / "utf8.txt") << kLyrics;
    const std::string cmd = "iconv -f UTF-8 -t GB18030 '" + (folder / "utf8.txt").string() +
                            "' > '" + (folder / "青岚.lrc").string() + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    return song;
}

} // namespace

TEST(EndToEndLyrics, AnMp3ShowsItsGb18030LyricsAndTheLitLineMovesOn) {
    TempDataDir data;
    const auto song = songWithLyrics(data);
    PlayerProcess player(data);
    player.start({song.string()});
    ASSERT_TRUE(player.waitForMainWindow());
    const QRect main = windowRect(playerWindows().front());

    Lit first;
    ASSERT_TRUE(waitFor([&] { return (first = litIn(main)).count > 30; }, 8000))
        << "no lit lyrics line in the main window";
    // The first line is one character; the second, lit from 2.5 s, is ten.
    Lit later;
    EXPECT_TRUE(waitFor(
        [&] {
            later = litIn(main);
            return later.count > 30 && later.box.width() > first.box.width() * 3;
        },
        8000))
        << "the lit line did not move on: " << first.box.width() << " then " << later.box.width()
        << " pixels wide";
    EXPECT_EQ(player.terminate(), 0);
}

TEST(EndToEndLyrics, HiddenLyricsDrawNothing) {
    TempDataDir data;
    const auto song = songWithLyrics(data);
    const auto mote = data.playerDataDir() / "mote.edb";
    std::filesystem::create_directories(data.playerDataDir());
    runEdb(mote, {"init-settings"});
    runEdb(mote, {"set", "1", "0"});
    runEdb(mote, {"set", "2", "1"});
    ASSERT_EQ(runEdb(mote, {"get", "2"}), "1");

    PlayerProcess player(data);
    player.start({song.string()});
    ASSERT_TRUE(player.waitForMainWindow());
    const QRect main = windowRect(playerWindows().front());
    // Watched through the time the shown lyrics take to appear (the settle after the open,
    // then the first line at 0.3 s) and past the second and third lines: no lit line at any
    // moment.
    Lit seen;
    EXPECT_FALSE(waitFor([&] { return (seen = litIn(main)).count >= 5; }, 6000))
        << seen.count << " lit pixels of hidden lyrics";
    EXPECT_EQ(player.terminate(), 0);
}
