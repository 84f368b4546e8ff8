#pragma once
#include <functional>
#include <memory>

namespace qinglan::platform {

// System-wide hotkeys: a key combination registered here is delivered to the player whatever
// window has the keyboard, until it is unregistered. Keys are Windows virtual-key codes and
// modifiers the settings file's numbers (1 Ctrl, 2 Shift, 4 Alt, added together), so the stored
// numbers are passed on as they are.
//
// A combination that cannot be had (held by another program, already registered here under
// another id, an unknown key, key code 0) is refused: registerHotkey returns false and that
// combination never fires. Threading: the window thread only; presses arrive on it, from the
// event loop, never from inside registerHotkey.
class HotkeyRegistrar {
public:
    virtual ~HotkeyRegistrar() = default;

    virtual bool registerHotkey(int id, int modifiers, int virtualKey) = 0;
    virtual void unregisterAll() = 0;
    // Called with the id of a registered combination each time it is pressed.
    virtual void setPressCallback(std::function<void(int id)> pressed) = 0;
};

// Modifier bits of registerHotkey.
inline constexpr int kHotkeyCtrl = 1;
inline constexpr int kHotkeyShift = 2;
inline constexpr int kHotkeyAlt = 4;

// The backend of the desktop the player runs on: X11 key grabs under an X11 session; elsewhere
// (Qt's offscreen platform, a Wayland session without X11) one that refuses every combination.
// On Windows, RegisterHotKey on a message-only window of the calling thread.
std::unique_ptr<HotkeyRegistrar> makeHotkeyRegistrar();

} // namespace qinglan::platform
