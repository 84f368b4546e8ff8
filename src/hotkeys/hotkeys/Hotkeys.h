#pragma once
// The player's nine hotkeys, stated once: what each does, its label on the hotkey page and the
// settings fields that hold it (a name and three numbers) or, for the three fixed ones, its
// key. The rows are in the order of registration, which is also the order a press is matched
// in; pageRow is the row's place on the hotkey page.

#include <span>

namespace qinglan::hotkeys {

enum class HotkeyAction {
    VolumeUp,
    VolumeDown,
    LeaveFullScreen,
    PlayPause,
    Previous,
    Next,
    Screenshot,
    SeekBack,
    SeekForward,
};

struct HotkeyRow {
    HotkeyAction action;
    const char* label;  // on the hotkey page
    int pageRow;        // 0..8, top to bottom
    int nameField;      // 0 for the fixed ones
    int modifier1Field; // 0 for the fixed ones
    int modifier2Field;
    int keyField;
    int fixedKey;          // virtual-key code of a fixed hotkey, else 0
    const char* fixedName; // what the page shows for a fixed hotkey
    bool configurable() const { return nameField != 0; }
};

// All nine, in registration order.
std::span<const HotkeyRow> hotkeyRows();
const HotkeyRow& hotkeyRow(HotkeyAction action);

// How far the seek hotkeys jump, in milliseconds.
inline constexpr int kHotkeySeekMs = 20000;

} // namespace qinglan::hotkeys
