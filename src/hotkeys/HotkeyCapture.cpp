#include "hotkeys/HotkeyCapture.h"

#include <keynames/KeyNames.h>

namespace qinglan::hotkeys {

HotkeyCapture::HotkeyCapture(Fields fields, Writer write, Shower show)
    : fields_(fields), write_(std::move(write)), show_(std::move(show)) {}

void HotkeyCapture::fill(const std::string& storedName) {
    setText(storedName);
}

void HotkeyCapture::keyPressed(int virtualKey, bool autoRepeat) {
    if (autoRepeat) return;
    const std::string name = keynames::Takethekeys(virtualKey);
    if (name.empty()) return;
    // A finished combination is replaced by the next one; an open one ("Ctrl+") grows.
    std::string text = text_.ends_with('+') ? text_ : std::string();
    text += name;
    setText(keynames::Readcontent(text));
}

void HotkeyCapture::focusLost() {
    if (text_ == "Shift+" || text_ == "Ctrl+" || text_ == "Alt+") setText({});
}

void HotkeyCapture::setText(std::string text) {
    text_ = std::move(text);
    if (show_) show_(text_);
    if (!write_) return;
    write_(fields_.name, text_);
    const auto split = keynames::splitAtLastPlus(text_);
    // The first two modifiers count; a third one pressed is dropped here.
    const std::string digits = std::to_string(keynames::Takecombination(split.modifiers));
    write_(fields_.modifier1, digits[0] - '0');
    write_(fields_.modifier2, digits.size() > 1 ? digits[1] - '0' : 0);
    write_(fields_.keyCode, keynames::Keycode(split.key));
}

} // namespace qinglan::hotkeys
