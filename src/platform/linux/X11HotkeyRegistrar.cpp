// Hotkeys on X11: each combination is a passive key grab on the root window, made on Qt's own
// connection so that the presses arrive in Qt's event stream, where a native event filter
// picks them out before Qt looks for a window to deliver them to.
#include "platform/HotkeyRegistrar.h"

#include <keynames/KeyNames.h>

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <vector>

namespace qinglan::platform {

namespace {

// Refuses everything: no X11 display to grab keys on.
class NoHotkeys final : public HotkeyRegistrar {
public:
    bool registerHotkey(int, int, int) override { return false; }
    void unregisterAll() override {}
    void setPressCallback(std::function<void(int)>) override {}
};

class X11HotkeyRegistrar final : public HotkeyRegistrar, public QAbstractNativeEventFilter {
public:
    X11HotkeyRegistrar(Display* display, xcb_connection_t* connection)
        : display_(display), connection_(connection), root_(XDefaultRootWindow(display)),
          numLock_(maskOfKey(XK_Num_Lock)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~X11HotkeyRegistrar() override {
        if (!QCoreApplication::instance()) return; // the connection went with the application
        QCoreApplication::instance()->removeNativeEventFilter(this);
        unregisterAll();
    }

    bool registerHotkey(int id, int modifiers, int virtualKey) override {
        const keynames::KeyInfo* key = keynames::findByVirtualKey(virtualKey);
        if (!key || key->modifier) return false;
        const auto keycode = static_cast<xcb_keycode_t>(XKeysymToKeycode(display_, key->keysym));
        if (keycode == 0) return false; // not on this keyboard
        const uint16_t mods = toX11(modifiers);
        for (const auto& g : grabs_)
            if (g.keycode == keycode && g.modifiers == mods) return false;

        // The lock keys are modifiers to X11: the same combination is grabbed with each of
        // their states, so the hotkey works whatever Num Lock and Caps Lock show.
        std::vector<xcb_void_cookie_t> cookies;
        for (uint16_t locks : lockVariants())
            cookies.push_back(xcb_grab_key_checked(connection_, 0, root_, mods | locks, keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        bool refused = false;
        for (auto cookie : cookies)
            if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
                refused = true; // BadAccess: another client holds the combination
                std::free(error);
            }
        if (refused) {
            ungrab(keycode, mods);
            return false;
        }
        grabs_.push_back({id, keycode, mods});
        return true;
    }

    void unregisterAll() override {
        for (const auto& g : grabs_)
            ungrab(g.keycode, g.modifiers);
        grabs_.clear();
        xcb_flush(connection_);
    }

    void setPressCallback(std::function<void(int id)> pressed) override {
        pressed_ = std::move(pressed);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t") return false;
        auto* event = static_cast<xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_KEY_PRESS) return false;
        auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
        if (press->event != root_) return false;
        const uint16_t mods = press->state & kModifierBits;
        for (const auto& g : grabs_)
            if (g.keycode == press->detail && g.modifiers == mods) {
                if (pressed_) pressed_(g.id);
                return true;
            }
        return false;
    }

private:
    struct Grab {
        int id;
        xcb_keycode_t keycode;
        uint16_t modifiers;
    };

    static constexpr uint16_t kModifierBits =
        XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_1;

    static uint16_t toX11(int modifiers) {
        uint16_t mods = 0;
        if (modifiers & kHotkeyCtrl) mods |= XCB_MOD_MASK_CONTROL;
        if (modifiers & kHotkeyShift) mods |= XCB_MOD_MASK_SHIFT;
        if (modifiers & kHotkeyAlt) mods |= XCB_MOD_MASK_1;
        return mods;
    }

    // The modifier bit a key (Num Lock) sets, read from the server's modifier map.
    uint16_t maskOfKey(KeySym keysym) const {
        const KeyCode code = XKeysymToKeycode(display_, keysym);
        XModifierKeymap* map = XGetModifierMapping(display_);
        uint16_t mask = 0;
        if (map && code) {
            for (int modifier = 0; modifier < 8 && !mask; ++modifier)
                for (int k = 0; k < map->max_keypermod; ++k)
                    if (map->modifiermap[modifier * map->max_keypermod + k] == code)
                        mask = static_cast<uint16_t>(1u << modifier);
        }
        if (map) XFreeModifiermap(map);
        return mask;
    }

    std::array<uint16_t, 4> lockVariants() const {
        const uint16_t caps = XCB_MOD_MASK_LOCK;
        return {0, caps, numLock_, static_cast<uint16_t>(caps | numLock_)};
    }

    void ungrab(xcb_keycode_t keycode, uint16_t mods) {
        for (uint16_t locks : lockVariants())
            xcb_ungrab_key(connection_, keycode, root_, mods | locks);
    }

    Display* display_;
    xcb_connection_t* connection_;
    xcb_window_t root_;
    uint16_t numLock_;
    std::vector<Grab> grabs_;
    std::function<void(int)> pressed_;
};

} // namespace

std::unique_ptr<HotkeyRegistrar> makeHotkeyRegistrar() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app && QGuiApplication::platformName() == QLatin1String("xcb"))
        if (auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>())
            if (x11->display() && x11->connection())
                return std::make_unique<X11HotkeyRegistrar>(x11->display(), x11->connection());
    return std::make_unique<NoHotkeys>();
}

} // namespace qinglan::platform
