// The video list with the real player and engine on a private X display: a list file made
// with qinglan-edb shows its rows, a double click plays that row's clip, and the end of each
// clip plays the next row, the last one once before the list starts over.
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

const QColor kRed(0xC8, 0x28, 0x28);
const QColor kGreen(0x28, 0xB4, 0x28);
const QColor kYellow(0xD8, 0xC0, 0x20);

QPoint videoSamplePoint(const QRect& main) {
    return {main.x() + main.width() / 2, main.y() + (main.height() - 62) / 2};
}

// The colour the main window's video shows now.
QColor videoColour(const std::string& window) {
    const QImage screen = grabScreen();
    const QPoint p = videoSamplePoint(windowRect(window));
    return screen.rect().contains(p) ? screen.pixelColor(p) : QColor();
}

bool waitForColour(const std::string& window, QColor colour, int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (near(videoColour(window), colour, 30)) return true;
        QThread::msleep(150);
    }
    return false;
}

// The visible video list window: the player's class, a blank title.
std::string listWindow(int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        QProcess search;
        search.start("xdotool", {"search", "--onlyvisible", "--class", "^OrvelWindow$"});
        search.waitForFinished(3000);
        for (const auto& id :
             QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
            QProcess name;
            name.start("xdotool", {"getwindowname", id});
            name.waitForFinished(3000);
            const QString title = QString::fromUtf8(name.readAllStandardOutput());
            const QRect r = windowRect(id.toStdString());
            if (title.trimmed().isEmpty() && r.width() > 150 && r.height() > 250)
                return id.toStdString();
        }
        QThread::msleep(200);
    }
    return {};
}

// The bands of light (text) pixels down the list's first column: the heading, then the rows.
std::vector<std::pair<int, int>> textLines(const QRect& list) {
    const QImage screen = grabScreen();
    std::vector<std::pair<int, int>> lines;
    bool inLine = false;
    for (int y = list.top(); y < list.bottom() - 15; ++y) {
        bool text = false;
        for (int x = list.left() + 4; x < list.left() + 120 && !text; ++x)
            text = screen.rect().contains(x, y) && screen.pixelColor(x, y).lightness() > 150;
        if (text && !inLine) lines.push_back({y, y});
        if (text) lines.back().second = y;
        inLine = text;
    }
    return lines;
}

void doubleClick(QPoint at) {
    QProcess::execute("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y())});
    QThread::msleep(200);
    QProcess::execute("xdotool", {"click", "--repeat", "2", "--delay", "120", "1"});
}

} // namespace

TEST(EndToEndVideoList, RowsFromAPreparedListPlayByDoubleClickAndAdvanceAtEachEnd) {
    TempDataDir data;
    const auto folder = data.playerDataDir();
    std::filesystem::create_directories(folder);
    const auto list = folder / "means.edb";
    ASSERT_EQ(runEdb(list, {"create"}), "");
    ASSERT_TRUE(std::filesystem::exists(list));
    for (const char* clip : {"list red.mp4", "list green.mp4", "list yellow.mp4"})
        runEdb(list, {"append", QString::fromStdString(media(clip).string())});
    ASSERT_EQ(runEdb(list, {"count"}), "3");

    PlayerProcess player(data);
    player.start();
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string main = playerWindows().front();
    const std::string listId = listWindow(10000);
    ASSERT_FALSE(listId.empty()) << "the video list window is not shown";
    const QRect listRect = windowRect(listId);

    // The heading and three rows of text.
    std::vector<std::pair<int, int>> lines;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 5000 && (lines = textLines(listRect)).size() < 4)
        QThread::msleep(200);
    ASSERT_EQ(lines.size(), 4u) << "expected a heading and three rows";

    // A double click on the second row plays the green clip.
    const int greenRow = (lines[2].first + lines[2].second) / 2;
    doubleClick({listRect.left() + 30, greenRow});
    ASSERT_TRUE(waitForColour(main, kGreen, 10000)) << "the double-clicked row does not play";
    // Its end plays the last row, and the end of the last row starts the list over.
    EXPECT_TRUE(waitForColour(main, kYellow, 12000)) << "no advance to the last row";
    EXPECT_TRUE(waitForColour(main, kRed, 12000)) << "no wrap to the first row";
    EXPECT_TRUE(waitForColour(main, kGreen, 12000)) << "no advance after the wrap";

    EXPECT_EQ(player.terminate(), 0);
    // The list file is as it was: playing changes no records.
    EXPECT_EQ(runEdb(list, {"count"}), "3");
}

// "添加文件" starts qinglan-addfiles; the file it appends shows as a new row once it has ended.
TEST(EndToEndVideoList, TheAddFilesHelperAppendsAndTheListReloadsWhenItEnds) {
    TempDataDir data;
    const auto folder = data.playerDataDir();
    std::filesystem::create_directories(folder);
    const auto list = folder / "means.edb";
    ASSERT_EQ(runEdb(list, {"create"}), "");
    runEdb(list, {"append", QString::fromStdString(media("list red.mp4").string())});

    PlayerProcess player(data);
    player.start();
    ASSERT_TRUE(player.waitForMainWindow());
    const std::string listId = listWindow(10000);
    ASSERT_FALSE(listId.empty());
    const QRect listRect = windowRect(listId);
    std::vector<std::pair<int, int>> lines;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 5000 && (lines = textLines(listRect)).size() < 2)
        QThread::msleep(200);
    ASSERT_EQ(lines.size(), 2u);

    // The list's menu, its first item "添加文件".
    const QPoint at(listRect.left() + 40, listRect.top() + 200);
    QProcess::execute("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y())});
    QThread::msleep(200);
    QProcess::execute("xdotool", {"click", "3"});
    QThread::msleep(500);
    QProcess::execute("xdotool",
                      {"mousemove", QString::number(at.x() + 25), QString::number(at.y() + 12)});
    QThread::msleep(200);
    QProcess::execute("xdotool", {"click", "1"});

    // The helper's chooser: the file's whole path, then Enter.
    QString chooser;
    t.restart();
    while (chooser.isEmpty() && t.elapsed() < 15000) {
        QProcess search;
        search.start("xdotool", {"search", "--onlyvisible", "--name", "^添加文件$"});
        search.waitForFinished(3000);
        chooser = QString::fromUtf8(search.readAllStandardOutput()).section('\n', 0, 0).trimmed();
        if (chooser.isEmpty()) QThread::msleep(300);
    }
    ASSERT_FALSE(chooser.isEmpty()) << "the add-files helper shows no chooser";
    QThread::msleep(800);
    QProcess::execute("xdotool", {"windowfocus", "--sync", chooser});
    QProcess::execute("xdotool", {"type", "--delay", "20",
                                  QString::fromStdString(media("list yellow.mp4").string())});
    QProcess::execute("xdotool", {"key", "Return"});

    // The helper ends; within the poll the list shows the new row.
    t.restart();
    while (t.elapsed() < 15000 && (lines = textLines(listRect)).size() < 3)
        QThread::msleep(300);
    EXPECT_EQ(lines.size(), 3u) << "the list did not reload with the added file";
    EXPECT_EQ(runEdb(list, {"count"}), "2");
    EXPECT_EQ(player.terminate(), 0);
}
