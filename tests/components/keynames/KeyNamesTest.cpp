#include "keynames/KeyNames.h"

#include <Qt>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace qinglan::keynames;

namespace {

// The names and codes the settings file's defaults and the hotkey page rely on.
TEST(KeyNames, NamesAndCodesTheSettingsRelyOn) {
    EXPECT_EQ(Keycode("Q"), 81);
    EXPECT_EQ(Keycode("↑"), 38);
    EXPECT_EQ(Keycode("↓"), 40);
    EXPECT_EQ(Keycode("←"), 37);
    EXPECT_EQ(Keycode("→"), 39);
    EXPECT_EQ(Keycode("Esc"), 27);
    EXPECT_EQ(Takethekeys(32), "空格");
    EXPECT_EQ(Takethekeys(17), "Ctrl+");
    EXPECT_EQ(Takethekeys(16), "Shift+");
    EXPECT_EQ(Takethekeys(18), "Alt+");
    EXPECT_EQ(Takethekeys(81), "Q");
    EXPECT_EQ(Takethekeys(0x70), "F1");
    EXPECT_EQ(Takethekeys(0x87), "F24");
    EXPECT_EQ(Takethekeys(0x60), "Num 0");
}

TEST(KeyNames, UnknownCodesAndNamesGiveNothing) {
    EXPECT_EQ(Takethekeys(0), "");
    EXPECT_EQ(Takethekeys(0x14), ""); // Caps Lock is no hotkey key
    EXPECT_EQ(Takethekeys(-5), "");
    EXPECT_EQ(Keycode(""), 0);
    EXPECT_EQ(Keycode("q"), 0);
    EXPECT_EQ(Keycode("Ctrl+"), 0); // a modifier alone is no key
    EXPECT_EQ(Keycode("Nothing"), 0);
}

TEST(KeyNames, EveryCodeRoundTripsThroughItsName) {
    std::set<int> codes;
    std::set<std::string> names;
    for (const auto& k : keyTable()) {
        SCOPED_TRACE(k.name);
        EXPECT_TRUE(codes.insert(k.virtualKey).second) << "code listed twice";
        EXPECT_TRUE(names.insert(k.name).second) << "name listed twice";
        const std::string name = Takethekeys(k.virtualKey);
        EXPECT_EQ(name, k.name);
        EXPECT_EQ(findByName(name), &k);
        if (k.modifier) {
            EXPECT_TRUE(name.ends_with("+"));
            EXPECT_EQ(Takecombination(name), k.modifier);
        } else {
            // Only a modifier's name may hold "+": it ends the modifier part of a combination.
            EXPECT_EQ(name.find('+'), std::string::npos);
            EXPECT_EQ(Keycode(name), k.virtualKey);
            const std::string combination = "Ctrl+Alt+" + name;
            EXPECT_EQ(splitAtLastPlus(combination).key, name);
        }
    }
}

TEST(KeyNames, EveryQtKeyFindsItsCode) {
    for (const auto& k : keyTable()) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(virtualKeyOfQtKey(k.qtKey, k.keypad), k.virtualKey);
        if (k.qtOtherKey) {
            EXPECT_EQ(virtualKeyOfQtKey(k.qtOtherKey, k.keypad), k.virtualKey);
        }
    }
    // Qt's own values for a few keys of each kind, so the table's numbers are Qt's.
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Escape, false), 27);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Control, false), 17);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Alt, false), 18);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Shift, false), 16);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Left, false), 37);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Up, false), 38);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Space, false), 32);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Q, false), 81);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_F12, false), 0x7B);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_PageDown, false), 0x22);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Delete, false), 0x2E);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Backspace, false), 0x08);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Menu, false), 0x5D);
    // Shift changes the key Qt reports, never the code.
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Exclam, false), '1');
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Plus, false), 0xBB);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Backtab, false), 0x09);
    // The keypad: digits with Num Lock on, the keys they stand for with it off; its Enter is Enter.
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_5, true), 0x65);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Plus, true), 0x6B);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Home, true), 0x24);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_Enter, true), 0x0D);
    EXPECT_EQ(virtualKeyOfQtKey(Qt::Key_CapsLock, false), 0);
    EXPECT_EQ(virtualKeyOfQtKey(0, false), 0);
}

TEST(KeyNames, KeysymsAreX11s) {
    EXPECT_EQ(findByVirtualKey(27)->keysym, unsigned(XK_Escape));
    EXPECT_EQ(findByVirtualKey(32)->keysym, unsigned(XK_space));
    EXPECT_EQ(findByVirtualKey(37)->keysym, unsigned(XK_Left));
    EXPECT_EQ(findByVirtualKey(40)->keysym, unsigned(XK_Down));
    EXPECT_EQ(findByVirtualKey(81)->keysym, unsigned(XK_q));
    EXPECT_EQ(findByVirtualKey(0x22)->keysym, unsigned(XK_Next));
    EXPECT_EQ(findByVirtualKey(0x2E)->keysym, unsigned(XK_Delete));
    EXPECT_EQ(findByVirtualKey(0x87)->keysym, unsigned(XK_F24));
    EXPECT_EQ(findByVirtualKey(0x69)->keysym, unsigned(XK_KP_9));
    EXPECT_EQ(findByVirtualKey(0x6F)->keysym, unsigned(XK_KP_Divide));
    EXPECT_EQ(findByVirtualKey(0xDE)->keysym, unsigned(XK_apostrophe));
    EXPECT_EQ(findByVirtualKey(0x12)->keysym, unsigned(XK_Alt_L));
    for (const auto& k : keyTable())
        EXPECT_NE(k.keysym, 0u) << k.name;
}

TEST(KeyNames, TakecombinationGivesTheModifiersAsDigits) {
    EXPECT_EQ(Takecombination(""), 0);
    EXPECT_EQ(Takecombination("Ctrl+"), 1);
    EXPECT_EQ(Takecombination("Shift+"), 2);
    EXPECT_EQ(Takecombination("Alt+"), 4);
    EXPECT_EQ(Takecombination("Ctrl+Alt+"), 14);
    EXPECT_EQ(Takecombination("Shift+Ctrl+"), 21);
    // Three modifiers give three digits; the caller keeps the first two.
    EXPECT_EQ(Takecombination("Ctrl+Shift+Alt+"), 124);
    // A modifier counts once, and words that are none count for nothing.
    EXPECT_EQ(Takecombination("Ctrl+Ctrl+"), 1);
    EXPECT_EQ(Takecombination("Meta+Alt+"), 4);
}

TEST(KeyNames, ReadcontentShowsEachModifierOnceThenTheKey) {
    EXPECT_EQ(Readcontent(""), "");
    EXPECT_EQ(Readcontent("Ctrl+"), "Ctrl+");
    EXPECT_EQ(Readcontent("Ctrl+Alt+Q"), "Ctrl+Alt+Q");
    EXPECT_EQ(Readcontent("Ctrl+Ctrl+Ctrl+"), "Ctrl+");
    EXPECT_EQ(Readcontent("Alt+Ctrl+Alt+←"), "Alt+Ctrl+←");
    EXPECT_EQ(Readcontent("Esc"), "Esc");
}

TEST(KeyNames, SplitAtTheLastPlus) {
    auto s = splitAtLastPlus("Ctrl+Alt+Q");
    EXPECT_EQ(s.modifiers, "Ctrl+Alt+");
    EXPECT_EQ(s.key, "Q");
    s = splitAtLastPlus("Esc");
    EXPECT_EQ(s.modifiers, "");
    EXPECT_EQ(s.key, "Esc");
    s = splitAtLastPlus("Shift+");
    EXPECT_EQ(s.modifiers, "Shift+");
    EXPECT_EQ(s.key, "");
}

} // namespace
