// RegisterHotKey behind the registrar: the stored modifier numbers become Windows' own, a
// combination another program holds is refused, and a press reaches the action of its id.
#include <platform/HotkeyRegistrar.h>

#include "Processes.h"

#include <gtest/gtest.h>

using namespace qinglan;
using platform::kHotkeyAlt;
using platform::kHotkeyCtrl;
using platform::kHotkeyShift;

namespace {

constexpr int kQ = 0x51, kW = 0x57;

// Whether another program could take the combination (Windows' MOD_ numbers) right now.
bool freeElsewhere(UINT mods, int key) {
    test::Probe probe({L"hold-hotkey", std::to_wstring(mods), std::to_wstring(key), L"-", L"0"});
    return probe.wait() == 0;
}

void press(const std::vector<WORD>& keys) {
    std::vector<INPUT> input;
    for (WORD k : keys) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        input.push_back(i);
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = *it;
        i.ki.dwFlags = KEYEVENTF_KEYUP;
        input.push_back(i);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

} // namespace

TEST(WindowsHotkeys, TheDefaultCtrlAltQRegistersAsCtrlAltQ) {
    auto registrar = platform::makeHotkeyRegistrar();
    ASSERT_TRUE(registrar->registerHotkey(7, kHotkeyCtrl + kHotkeyAlt, kQ));
    EXPECT_FALSE(freeElsewhere(MOD_CONTROL | MOD_ALT, kQ));
    // The numbers taken as Windows' own would have been Alt+Shift+Q (1 + 4): that stays free.
    EXPECT_TRUE(freeElsewhere(MOD_ALT | MOD_SHIFT, kQ));
    registrar->unregisterAll();
    EXPECT_TRUE(freeElsewhere(MOD_CONTROL | MOD_ALT, kQ));
}

TEST(WindowsHotkeys, ACombinationHeldElsewhereOrTwiceOrWithoutAKeyIsRefused) {
    const std::wstring event =
        L"Local\\qinglan-hotkey-held-" + std::to_wstring(GetCurrentProcessId());
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
    test::Probe holder(
        {L"hold-hotkey", std::to_wstring(MOD_SHIFT), std::to_wstring(kW), event, L"30000"});
    ASSERT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0);
    CloseHandle(ready);
    auto registrar = platform::makeHotkeyRegistrar();
    EXPECT_FALSE(registrar->registerHotkey(1, kHotkeyShift, kW));
    EXPECT_TRUE(registrar->registerHotkey(2, kHotkeyCtrl, kW));
    EXPECT_FALSE(registrar->registerHotkey(3, kHotkeyCtrl, kW)); // registered here already
    EXPECT_FALSE(registrar->registerHotkey(4, kHotkeyCtrl, 0));
    EXPECT_FALSE(registrar->registerHotkey(5, kHotkeyCtrl, VK_CONTROL)); // a modifier alone
}

TEST(WindowsHotkeys, APressReachesTheActionOfItsId) {
    auto registrar = platform::makeHotkeyRegistrar();
    std::vector<int> pressed;
    registrar->setPressCallback([&pressed](int id) { pressed.push_back(id); });
    ASSERT_TRUE(registrar->registerHotkey(40, kHotkeyAlt, VK_LEFT));
    ASSERT_TRUE(registrar->registerHotkey(41, kHotkeyCtrl + kHotkeyAlt, kQ));
    press({VK_CONTROL, VK_MENU, kQ});
    ASSERT_TRUE(test::pumpUntil([&] { return !pressed.empty(); }, 10000));
    EXPECT_EQ(pressed, std::vector<int>{41});
    press({VK_MENU, VK_LEFT});
    ASSERT_TRUE(test::pumpUntil([&] { return pressed.size() == 2; }, 10000));
    EXPECT_EQ(pressed.back(), 40);
    // Unregistered: the key goes by.
    registrar->unregisterAll();
    press({VK_MENU, VK_LEFT});
    test::pumpUntil([] { return false; }, 300);
    EXPECT_EQ(pressed.size(), 2u);
}
