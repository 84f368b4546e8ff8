#pragma once
// What one box of the hotkey page does with the keys pressed into it, without the widget: the
// text it shows and the four settings fields it writes. The page's widget hands every key press
// to keyPressed() and keeps the key itself from the box, so the box shows exactly the text
// captured here (setText() of the widget follows textShown()).

#include <settings/SettingsValue.h>

#include <functional>
#include <string>

namespace qinglan::hotkeys {

class HotkeyCapture {
public:
    struct Fields {
        int name;
        int modifier1;
        int modifier2;
        int keyCode;
    };
    using Writer = std::function<void(int field, const settings::SettingsValue& value)>;
    using Shower = std::function<void(const std::string& text)>;

    HotkeyCapture(Fields fields, Writer write, Shower show = {});

    // The page is filled: the stored name is put into the box.
    void fill(const std::string& storedName);
    // A key pressed while the box has the focus (its virtual-key code). A key held down repeats;
    // the repeats are not new presses and change nothing. Keys without a name change nothing.
    void keyPressed(int virtualKey, bool autoRepeat = false);
    // A lone modifier left in the box when it loses the focus is no combination: it is cleared.
    void focusLost();

    const std::string& text() const { return text_; }

private:
    // Shows the text and stores it with its three numbers.
    void setText(std::string text);

    Fields fields_;
    Writer write_;
    Shower show_;
    std::string text_;
};

} // namespace qinglan::hotkeys
