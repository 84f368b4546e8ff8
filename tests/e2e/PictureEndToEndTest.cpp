// The picture menu items in the running player: a subtitle file chosen with "字幕" › "打开" is
// drawn over the video, and "虚拟现实" turns an equirectangular clip into the flat view the
// settings file stores, which a drag then turns.
#include "e2e/PlayerProcess.h"
#include "e2e/Screen.h"
#include "support/TestMedia.h"

#include <QThread>
#include <gtest/gtest.h>

#include <cmath>

using namespace qinglan::test;

namespace {

// The video area: the main window without the control bar at its foot.
QRect videoArea(const std::string& window) {
    QRect r = windowRect(window);
    return QRect(r.x(), r.y(), r.width(), r.height() - 62);
}

int redPixels(const QRect& area) {
    const QImage screen = grabScreen();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!screen.rect().contains(x, y)) continue;
            QColor c = screen.pixelColor(x, y);
            n += c.red() > 200 && c.green() < 60 && c.blue() < 60;
        }
    return n;
}

QColor colourAt(const QPoint& p) {
    const QImage screen = grabScreen();
    return screen.rect().contains(p) ? screen.pixelColor(p) : QColor();
}

// Every visible window that has a name.
QStringList visibleWindows() {
    return xdotool({"search", "--onlyvisible", "--name", "."}).split('\n', Qt::SkipEmptyParts);
}

// The screen grabs show the pointer: it waits in a corner while pixels are read.
void parkPointer() {
    xdotool({"mousemove", "0", "799"});
}

// The right-click menu on the video, then `downs` items down from its top and the keys given.
void menuItem(const QRect& video, int downs, const QStringList& keys) {
    xdotool(
        {"mousemove", QString::number(video.center().x()), QString::number(video.center().y())});
    QThread::msleep(150);
    xdotool({"click", "3"});
    QThread::msleep(400);
    for (int i = 0; i < downs; ++i) {
        xdotool({"key", "Down"});
        QThread::msleep(60);
    }
    for (const QString& k : keys) {
        xdotool({"key", k});
        QThread::msleep(200);
    }
    parkPointer();
}

// The colour of the generated panorama towards a view (scripts/make-media-picture.sh).
QColor gridColour(double yaw, double pitch) {
    int column = static_cast<int>(std::floor((yaw + 180) / 45));
    int row = static_cast<int>(std::floor((90 - pitch) / 45));
    return QColor(32 * column + 16, 64 * row + 32, 128);
}

} // namespace

TEST(EndToEndPicture, ASubtitleChosenFromTheMenuIsDrawnOverTheVideo) {
    TempDataDir data;
    std::filesystem::create_directories(data.playerDataDir());
    const auto mote = data.playerDataDir() / "mote.edb";
    runEdb(mote, {"init-settings"});
    // " 字幕一" chosen on the subtitle page, the text in red.
    for (const auto& [field, value] :
         {std::pair{"32", "1"}, {"33", "0"}, {"34", "0"}, {"44", "255"}})
        runEdb(mote, {"set", field, value});
    ASSERT_EQ(runEdb(mote, {"get", "32"}), "1");

    PlayerProcess player(data);
    player.start({media("subtitle ground.mp4").string()});
    ASSERT_TRUE(player.waitForMainWindow());
    const QRect video = videoArea(playerWindows().front());
    const QRect foot(video.x(), video.y() + video.height() * 3 / 4, video.width(),
                     video.height() / 4);
    // The clip's grey, after the settings were applied, and no line yet.
    ASSERT_TRUE(waitFor([&] {
        return near(colourAt(video.center()), QColor(0x20, 0x20, 0x20), 12);
    })) << "the clip does not play";
    // Watched past the second after the open, when the stored settings are sent again.
    EXPECT_FALSE(waitFor([&] { return redPixels(foot) > 0; }, 2500)) << "a line before any";

    // "字幕" is the eighth item, "打开" the first of its submenu; the file dialog takes a typed
    // path once it is there.
    const QStringList before = visibleWindows();
    menuItem(video, 8, {"Right", "Return"});
    ASSERT_TRUE(waitFor(
        [&] {
            for (const QString& id : visibleWindows())
                if (!before.contains(id) && windowRect(id.toStdString()).width() > 300) return true;
            return false;
        },
        10000))
        << "no file dialog";
    xdotool({"type", "--delay", "20",
             QString::fromStdString(media("zh simplified utf8.srt").string())});
    QThread::msleep(300);
    xdotool({"key", "Return"});
    EXPECT_TRUE(waitFor([&] { return redPixels(foot) > 40; }, 10000))
        << "the chosen subtitle is not drawn";
    EXPECT_EQ(player.terminate(), 0);
}

TEST(EndToEndPicture, TheVrMenuItemShowsTheStoredViewAndADragTurnsIt) {
    TempDataDir data;
    std::filesystem::create_directories(data.playerDataDir());
    const auto mote = data.playerDataDir() / "mote.edb";
    runEdb(mote, {"init-settings"});
    for (const auto& [field, value] : {std::pair{"116", "1"},
                                       {"117", "0"},
                                       {"118", "矩形全景左右"},
                                       {"119", "22.5"},
                                       {"120", "22.5"},
                                       {"121", "350.6"}})
        runEdb(mote, {"set", field, value});
    ASSERT_EQ(runEdb(mote, {"get", "118"}), "矩形全景左右");

    PlayerProcess player(data);
    player.start({media("equirect grid.mp4").string()});
    ASSERT_TRUE(player.waitForMainWindow());
    const QRect video = videoArea(playerWindows().front());
    const QPoint centre = video.center();
    // As decoded, the whole panorama is shown: left of the centre lies column 3 (yaw -45..0).
    const QPoint leftOfCentre(centre.x() - video.width() / 16, centre.y() - video.height() / 16);
    ASSERT_TRUE(waitFor([&] { return near(colourAt(leftOfCentre), gridColour(-10, 10), 16); }))
        << "the panorama does not play: " << colourAt(leftOfCentre).name().toStdString();

    // "虚拟现实" is the seventh item.
    menuItem(video, 7, {"Return"});
    EXPECT_TRUE(waitFor([&] { return near(colourAt(centre), gridColour(22.5, 22.5), 16); }, 8000))
        << "not the stored view: " << colourAt(centre).name().toStdString();

    // Dragging the picture to the left by half a field of view turns the view 45° to the right.
    const int dx = static_cast<int>(std::lround(video.width() * 45 / 89.9));
    xdotool({"mousemove", QString::number(centre.x() + dx / 2), QString::number(centre.y())});
    xdotool({"mousedown", "1"});
    for (int step = 1; step <= 10; ++step) {
        xdotool({"mousemove", QString::number(centre.x() + dx / 2 - dx * step / 10),
                 QString::number(centre.y())});
        QThread::msleep(40);
    }
    xdotool({"mouseup", "1"});
    parkPointer();
    EXPECT_TRUE(waitFor([&] { return near(colourAt(centre), gridColour(67.5, 22.5), 16); }, 8000))
        << "the drag did not turn the view: " << colourAt(centre).name().toStdString();
    // The dragged view is not stored: the menu item brings the stored one back.
    menuItem(video, 7, {"Return"});
    EXPECT_TRUE(waitFor([&] { return near(colourAt(centre), gridColour(22.5, 22.5), 16); }, 8000))
        << "the stored view did not come back: " << colourAt(centre).name().toStdString();
    EXPECT_EQ(runEdb(mote, {"get", "119"}), "22.5");
    EXPECT_EQ(player.terminate(), 0);
}
