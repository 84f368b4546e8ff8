#pragma once
// Key names for the player's hotkeys. The settings file keeps each hotkey as a display name
// ("Ctrl+Alt+Q") and three numbers: modifier 1, modifier 2 (0 none, 1 Ctrl, 2 Shift, 4 Alt) and
// the Windows virtual-key code of the key. This component owns the one table that ties a
// virtual-key code to its display name and to the key as X11 (keysym) and Qt (Qt::Key value)
// know it, and the four operations the hotkey page builds a combination with.
//
// Promises: plain values in and out, no Qt in the interface, no state, never throws. Names are
// UTF-8. A modifier's name ends in "+"; no other name contains "+", so the last "+" of a
// combination always ends its modifier part. Unknown codes and names give "" and 0.

#include <span>
#include <string>
#include <string_view>

namespace qinglan::keynames {

// Modifier numbers as the settings file stores them.
inline constexpr int ModifierNone = 0;
inline constexpr int ModifierCtrl = 1;
inline constexpr int ModifierShift = 2;
inline constexpr int ModifierAlt = 4;

struct KeyInfo {
    int virtualKey;   // Windows virtual-key code
    const char* name; // display name
    unsigned keysym;  // X11 keysym of the key (unshifted)
    int qtKey;        // Qt::Key value Qt reports for the key
    int qtOtherKey;   // Qt::Key value of the same key with Shift held or on the keypad; 0 if none
    bool keypad;      // a key of the numeric keypad (Qt adds its keypad modifier)
    int modifier = 0; // for the modifier keys: their modifier number
};

// Every key the hotkeys know, ordered by virtual-key code.
std::span<const KeyInfo> keyTable();
const KeyInfo* findByVirtualKey(int virtualKey);
const KeyInfo* findByName(std::string_view name);
// The virtual-key code of a key Qt reported (its key value and whether the keypad modifier was
// set); 0 for keys outside the table.
int virtualKeyOfQtKey(int qtKey, bool keypad);

// The name to append for the key just pressed: a modifier's name with its "+" ("Ctrl+"), any
// other key its plain name ("Q", "↑", "Esc"); "" for an unknown code.
std::string Takethekeys(int virtualKey);
// The text a hotkey box shows for what was typed into it: each modifier once, in the order they
// were pressed, then the key. "Ctrl+Ctrl+Alt+Q" (a held Ctrl repeats) shows "Ctrl+Alt+Q".
std::string Readcontent(std::string_view text);
// The modifiers of a modifier part ("Ctrl+Alt+", up to and including the last "+") as decimal
// digits in their order: "Ctrl+Alt+" 14, "Shift+Ctrl+" 21, "" 0. Each modifier counts once;
// unknown words count for nothing.
int Takecombination(std::string_view modifierPart);
// The virtual-key code of a key name without modifiers ("Q" 81, "Esc" 27); 0 when unknown.
int Keycode(std::string_view keyName);

// A combination's text split at its last "+": modifier part (with the "+") and key part.
struct SplitName {
    std::string_view modifiers;
    std::string_view key;
};
SplitName splitAtLastPlus(std::string_view text);

} // namespace qinglan::keynames
