#pragma once
// Registers the nine hotkeys with the stored combinations and tells which one a press is.
// The main window activates it each time it becomes the active window and deactivates it when
// it stops being so, so the keys act on the player only while the user works in it.

#include "hotkeys/Hotkeys.h"

#include <array>
#include <functional>
#include <optional>

namespace qinglan::platform {
class HotkeyRegistrar;
}

namespace qinglan::hotkeys {

class HotkeyBinder {
public:
    explicit HotkeyBinder(platform::HotkeyRegistrar& registrar);

    // Registers all nine in their order, the configurable ones with the stored modifiers and key
    // code (read through storedInteger), the fixed ones with their key alone. Anything
    // registered before is released first. Returns how many the desktop granted; the others
    // (held by another program, an emptied box) simply do not work.
    int activate(const std::function<int(int field)>& storedInteger);
    void deactivate();
    bool active() const { return active_; }

    // The action of a press: the first hotkey, in registration order, with that id.
    std::optional<HotkeyAction> actionOf(int id) const;
    // The id a hotkey is registered with.
    int idOf(HotkeyAction action) const;

private:
    platform::HotkeyRegistrar& registrar_;
    std::array<int, 9> ids_{};
    bool active_ = false;
};

} // namespace qinglan::hotkeys
