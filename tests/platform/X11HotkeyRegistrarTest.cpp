// The X11 hotkey backend on a private Xvfb display, pressed with xdotool (XTEST), so the keys
// travel through the X server exactly as a keyboard's do.
#include <platform/HotkeyRegistrar.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <vector>

using namespace qinglan;

namespace {

constexpr int kCtrl = platform::kHotkeyCtrl, kShift = platform::kHotkeyShift,
              kAlt = platform::kHotkeyAlt;

struct X11Hotkeys : ::testing::Test {
    std::unique_ptr<platform::HotkeyRegistrar> registrar;
    std::vector<int> pressed;

    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display";
        registrar = platform::makeHotkeyRegistrar();
        registrar->setPressCallback([this](int id) { pressed.push_back(id); });
    }
    void TearDown() override {
        registrar.reset();
        // Lock keys back off for the next test.
        for (const char* lock : {"Num_Lock", "Caps_Lock"})
            if (lockOn(lock)) key(lock);
    }
    static void key(const char* combination) { QProcess::execute("xdotool", {"key", combination}); }
    static bool lockOn(const char* lock) {
        QProcess q;
        q.start("xset", {"q"});
        q.waitForFinished(3000);
        const QString out = QString::fromUtf8(q.readAllStandardOutput());
        const QString name = lock == std::string("Num_Lock") ? "Num Lock:" : "Caps Lock:";
        const int at = out.indexOf(name);
        return at >= 0 && out.mid(at + name.size()).trimmed().startsWith("on");
    }
    // Presses the combination and waits until a press arrives or a while has passed.
    std::vector<int> pressAndCollect(const char* combination) {
        pressed.clear();
        key(combination);
        QElapsedTimer t;
        t.start();
        while (pressed.empty() && t.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(10);
        }
        // Anything else still on its way.
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return pressed;
    }
};

// A second X client, as another program that grabs keys would be.
struct OtherClient {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    ~OtherClient() { xcb_disconnect(c); }
    // Grabs a keycode with the modifiers; true when the server granted it.
    bool grab(xcb_keycode_t code, uint16_t mods) {
        auto cookie =
            xcb_grab_key_checked(c, 1, root, mods, code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* e = xcb_request_check(c, cookie)) {
            std::free(e);
            return false;
        }
        return true;
    }
};

// The keycode of a keysym on the test display's keyboard map.
xcb_keycode_t keycodeOf(xcb_connection_t* c, xcb_keysym_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto* reply = xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr);
    xcb_keycode_t found = 0;
    if (!reply) return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
    for (int k = 0; k < count && !found; ++k)
        for (int s = 0; s < reply->keysyms_per_keycode; ++s)
            if (syms[k * reply->keysyms_per_keycode + s] == keysym)
                found = static_cast<xcb_keycode_t>(setup->min_keycode + k);
    std::free(reply);
    return found;
}

TEST_F(X11Hotkeys, ARegisteredCombinationArrivesWithItsIdWhateverTheLocks) {
    ASSERT_TRUE(registrar->registerHotkey(7, kCtrl | kAlt, 'Q'));
    ASSERT_TRUE(registrar->registerHotkey(8, 0, 0x25)); // ←
    ASSERT_TRUE(registrar->registerHotkey(9, kAlt, 0x25));
    EXPECT_EQ(pressAndCollect("ctrl+alt+q"), std::vector<int>{7});
    EXPECT_EQ(pressAndCollect("Left"), std::vector<int>{8});
    EXPECT_EQ(pressAndCollect("alt+Left"), std::vector<int>{9});
    // Other modifiers make another combination.
    EXPECT_TRUE(pressAndCollect("ctrl+Left").empty());

    key("Num_Lock");
    ASSERT_TRUE(lockOn("Num_Lock"));
    EXPECT_EQ(pressAndCollect("ctrl+alt+q"), std::vector<int>{7});
    key("Caps_Lock");
    ASSERT_TRUE(lockOn("Caps_Lock"));
    EXPECT_EQ(pressAndCollect("Left"), std::vector<int>{8});
    key("Num_Lock");
    EXPECT_EQ(pressAndCollect("alt+Left"), std::vector<int>{9});
}

TEST_F(X11Hotkeys, ACombinationAnotherProgramHoldsIsRefused) {
    OtherClient other;
    const xcb_keycode_t f5 = keycodeOf(other.c, XK_F5);
    ASSERT_NE(f5, 0);
    ASSERT_TRUE(other.grab(f5, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT));
    EXPECT_FALSE(registrar->registerHotkey(1, kCtrl | kShift, 0x74));
    // The same key with other modifiers is free.
    EXPECT_TRUE(registrar->registerHotkey(2, kCtrl, 0x74));
    EXPECT_EQ(pressAndCollect("ctrl+F5"), std::vector<int>{2});
}

TEST_F(X11Hotkeys, UnregisteringHandsTheKeysBack) {
    ASSERT_TRUE(registrar->registerHotkey(1, 0, 0x1B)); // Esc
    OtherClient other;
    const xcb_keycode_t esc = keycodeOf(other.c, XK_Escape);
    EXPECT_FALSE(other.grab(esc, 0));
    registrar->unregisterAll();
    // Every lock variant is released, not only the plain one.
    EXPECT_TRUE(other.grab(esc, 0));
    EXPECT_TRUE(other.grab(esc, XCB_MOD_MASK_LOCK));
}

TEST_F(X11Hotkeys, RefusesWhatCannotBeAHotkey) {
    EXPECT_FALSE(registrar->registerHotkey(1, 0, 0));
    EXPECT_FALSE(registrar->registerHotkey(2, 0, 0x14));     // Caps Lock: not in the key table
    EXPECT_FALSE(registrar->registerHotkey(3, kCtrl, 0x11)); // a modifier alone
    ASSERT_TRUE(registrar->registerHotkey(4, kShift, 'A'));
    EXPECT_FALSE(registrar->registerHotkey(5, kShift, 'A')); // registered already
}

} // namespace
