// The nine hotkeys of the real player on a private X display with a window manager, pressed with
// xdotool as a keyboard would. Whether the player holds a combination is asked of the X server
// itself: another client's grab of a combination the player holds is refused.
#include "e2e/PlayerProcess.h"
#include "e2e/Screen.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <fstream>
#include <functional>

using namespace qinglan::test;

namespace {

const QColor kBlue(0x1E, 0x5A, 0xC8);
const QColor kOrange(0xE0, 0x80, 0x1E);
const QColor kRed(0xC8, 0x28, 0x28);
const QColor kGreen(0x28, 0xB4, 0x28);

// Whether some client holds a key grab on the root window for keysym with mods (Num Lock off).
bool comboHeld(xcb_keysym_t keysym, uint16_t mods) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_keycode_t code = 0;
    if (auto* map = xcb_get_keyboard_mapping_reply(
            c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr)) {
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
        for (int k = 0; k < count && !code; ++k)
            if (syms[k * map->keysyms_per_keycode] == keysym)
                code = static_cast<xcb_keycode_t>(setup->min_keycode + k);
        std::free(map);
    }
    bool held = false;
    if (code) {
        auto cookie =
            xcb_grab_key_checked(c, 1, root, mods, code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* e = xcb_request_check(c, cookie)) {
            held = true;
            std::free(e);
        } else {
            xcb_ungrab_key(c, code, root, mods);
        }
    }
    xcb_disconnect(c);
    return held;
}

// A point of the video away from the side panel and the clips' moving square.
QPoint videoPoint(const QRect& main) {
    return {main.x() + main.width() / 3, main.y() + (main.height() - 62) / 2 - 110};
}

struct Player {
    TempDataDir data;
    PlayerProcess process{data};
    std::string window;

    std::filesystem::path mote() const { return data.playerDataDir() / "mote.edb"; }
    void prepareSettings() {
        std::filesystem::create_directories(data.playerDataDir());
        runEdb(mote(), {"init-settings"});
    }
    void start(const char* clip, QColor colour) {
        // The pointer away from the window: over it, the side panel would cover the video.
        xdotool({"mousemove", "--sync", "1279", "799"});
        process.start({media(clip).string()});
        ASSERT_TRUE(process.waitForMainWindow());
        window = playerWindows().front();
        ASSERT_TRUE(shows(colour)) << "the clip is not drawn";
    }
    bool shows(QColor colour, int ms = 15000) const {
        return waitFor(
            [&] {
                const QImage screen = grabScreen();
                const QPoint p = videoPoint(windowRect(window));
                return screen.rect().contains(p) && near(screen.pixelColor(p), colour);
            },
            ms);
    }
    // The user clicks into the main window's title: it becomes active and takes its keys.
    void activateMain() {
        xdotool({"windowactivate", "--sync", QString::fromStdString(window)});
        ASSERT_TRUE(waitFor([] { return comboHeld(XK_Escape, 0); }, 5000))
            << "the active main window holds no hotkeys";
    }
    // Another of the player's windows (the video list) becomes active.
    void activateOther() {
        for (const QString& id : xdotool({"search", "--onlyvisible", "--class", "^OrvelWindow$"})
                                     .split('\n', Qt::SkipEmptyParts)) {
            if (id.toStdString() == window) continue;
            if (xdotool({"getwindowname", id}).isEmpty() &&
                windowRect(id.toStdString()).height() > 200) {
                xdotool({"windowactivate", "--sync", id});
                ASSERT_TRUE(waitFor([] { return !comboHeld(XK_Escape, 0); }, 5000));
                return;
            }
        }
        FAIL() << "no video list window to activate";
    }
    void key(const char* combination) { xdotool({"key", combination}); }
};

// Light pixels where the on-screen text is drawn: the video's top-left corner.
int textPixels(const std::string& window) {
    const QRect main = windowRect(window);
    const QImage screen = grabScreen();
    int light = 0;
    for (int y = main.y() + 10; y < main.y() + 110; y += 2)
        for (int x = main.x() + 10; x < main.x() + 260; x += 2)
            if (screen.rect().contains(x, y) && qGray(screen.pixel(x, y)) > 200) ++light;
    return light;
}

TEST(EndToEndHotkeys, EscLeavesFullScreen) {
    Player p;
    ASSERT_NO_FATAL_FAILURE(p.start("clip.mp4", kBlue));
    const QRect windowed = windowRect(p.window);
    const QPoint at = videoPoint(windowed);
    xdotool({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())});
    xdotool({"click", "--repeat", "2", "--delay", "80", "1"});
    const QStringList screen = xdotool({"getdisplaygeometry"}).split(' ');
    ASSERT_EQ(screen.size(), 2);
    ASSERT_TRUE(waitFor([&] { return windowRect(p.window).width() == screen[0].toInt(); }, 5000));
    ASSERT_NO_FATAL_FAILURE(p.activateMain());
    p.key("Escape");
    EXPECT_TRUE(waitFor([&] { return windowRect(p.window).width() < screen[0].toInt(); }, 5000))
        << "Esc did not leave full screen";
    EXPECT_EQ(p.process.terminate(), 0);
}

TEST(EndToEndHotkeys, LeftSeeksBackOnlyWhileTheMainWindowIsActive) {
    Player p;
    // 3 s red, 10 s green, 3 s blue.
    ASSERT_NO_FATAL_FAILURE(p.start("three colours 16s.mp4", kGreen));

    // Another window is active: none of the nine combinations is held, Left does not seek.
    ASSERT_NO_FATAL_FAILURE(p.activateOther());
    for (auto [sym, mods] : {std::pair{XK_Left, 0},
                             {XK_Right, 0},
                             {XK_Up, 0},
                             {XK_Down, 0},
                             {XK_space, 0},
                             {XK_Escape, 0},
                             {XK_Left, XCB_MOD_MASK_1},
                             {XK_Right, XCB_MOD_MASK_1},
                             {XK_q, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1}})
        EXPECT_FALSE(comboHeld(sym, static_cast<uint16_t>(mods))) << sym;
    p.key("Left");
    EXPECT_FALSE(p.shows(kRed, 2500)) << "Left acted while another window was active";

    // Active again: all nine are held and Left goes back 20 s, to the start.
    ASSERT_NO_FATAL_FAILURE(p.activateMain());
    EXPECT_TRUE(comboHeld(XK_q, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));
    EXPECT_TRUE(comboHeld(XK_space, 0));
    p.key("Left");
    EXPECT_TRUE(p.shows(kRed, 5000)) << "Left did not seek back";
    EXPECT_EQ(p.process.terminate(), 0);
}

TEST(EndToEndHotkeys, UpAndDownShowTheVolumeForAMoment) {
    Player p;
    ASSERT_NO_FATAL_FAILURE(p.start("clip.mp4", kBlue));
    ASSERT_NO_FATAL_FAILURE(p.activateMain());
    ASSERT_EQ(textPixels(p.window), 0);
    for (const char* k : {"Up", "Down"}) {
        SCOPED_TRACE(k);
        p.key(k);
        EXPECT_TRUE(waitFor([&] { return textPixels(p.window) > 20; }, 5000)) << "no volume text";
        EXPECT_TRUE(waitFor([&] { return textPixels(p.window) == 0; }, 5000))
            << "the volume text stays";
    }
    EXPECT_EQ(p.process.terminate(), 0);
}

TEST(EndToEndHotkeys, TheScreenshotKeyWritesTheNextFreeNumber) {
    QTemporaryDir shots;
    for (const char* existing : {"1.jpg", "2.jpg"})
        std::ofstream(shots.filePath(existing).toStdString()) << "kept";
    Player p;
    p.prepareSettings();
    ASSERT_EQ(runEdb(p.mote(), {"set", "164", shots.path()}), "");
    ASSERT_EQ(runEdb(p.mote(), {"get", "164"}), shots.path().toStdString());
    ASSERT_NO_FATAL_FAILURE(p.start("clip.mp4", kBlue));
    ASSERT_NO_FATAL_FAILURE(p.activateMain());
    p.key("ctrl+alt+q");
    ASSERT_TRUE(waitFor([&] { return QFile::exists(shots.filePath("3.jpg")); }, 5000));
    p.key("ctrl+alt+q");
    EXPECT_TRUE(waitFor([&] { return QFile::exists(shots.filePath("4.jpg")); }, 5000));
    QImageReader reader(shots.filePath("3.jpg"));
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(near(image.pixelColor(image.width() - 10, 10), kBlue, 30));
    EXPECT_EQ(QDir(shots.path()).entryList(QDir::Files).size(), 4);
    EXPECT_EQ(p.process.terminate(), 0);
}

TEST(EndToEndHotkeys, AltLeftPlaysThePreviousListEntry) {
    Player p;
    p.prepareSettings();
    const auto list = p.data.playerDataDir() / "means.edb";
    runEdb(list, {"create"});
    runEdb(list, {"append", QString::fromStdString(media("clip.mp4").string())});
    runEdb(list, {"append", QString::fromStdString(media("orange clip.mp4").string())});
    ASSERT_EQ(runEdb(list, {"count"}), "2");
    runEdb(p.mote(), {"set", "172", "1"}); // the orange clip's row is selected
    ASSERT_NO_FATAL_FAILURE(p.start("orange clip.mp4", kOrange));
    ASSERT_NO_FATAL_FAILURE(p.activateMain());
    p.key("alt+Left");
    EXPECT_TRUE(p.shows(kBlue, 8000)) << "Alt+Left did not play the previous entry";
    EXPECT_EQ(p.process.terminate(), 0);
}

} // namespace
