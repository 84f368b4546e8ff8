#pragma once
// The promises of platform/HotkeyRegistrar.h as scripts, for every backend: the fake, X11 and
// Windows. A backend's test program includes this header once and instantiates the suite with
// a desk of its own (INSTANTIATE_TEST_SUITE_P(..., HotkeyContract, ...)). Free of Qt, so the
// Windows cross-build runs it too.
#include <platform/HotkeyRegistrar.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qinglan::test {

// One desktop with the backend on it, and what the user and the other programs do there.
class HotkeyDesk {
public:
    virtual ~HotkeyDesk() = default;
    virtual platform::HotkeyRegistrar& registrar() = 0;
    // The user presses the combination (modifiers as registerHotkey takes them).
    virtual void press(int modifiers, int virtualKey) = 0;
    // Another program takes the combination for as long as the desk lives; false when it could
    // not.
    virtual bool holdElsewhere(int modifiers, int virtualKey) = 0;
    // Runs this thread's events until done holds or ms have passed; done's last answer.
    virtual bool pumpUntil(const std::function<bool()>& done, int ms) = 0;
};

struct HotkeyDeskMaker {
    std::string name;
    // nullptr when the desk cannot be had here (no X display, for instance).
    friend void PrintTo(const HotkeyDeskMaker& maker, std::ostream* out) { *out << maker.name; }
    std::function<std::unique_ptr<HotkeyDesk>()> make;
};

inline std::string hotkeyDeskName(const ::testing::TestParamInfo<HotkeyDeskMaker>& info) {
    return info.param.name;
}

class HotkeyContract : public ::testing::TestWithParam<HotkeyDeskMaker> {
protected:
    static constexpr int kCtrl = platform::kHotkeyCtrl, kShift = platform::kHotkeyShift,
                         kAlt = platform::kHotkeyAlt;
    static constexpr int kLeft = 0x25, kEscape = 0x1B, kF5 = 0x74, kA = 'A', kQ = 'Q', kW = 'W';

    void SetUp() override {
        desk = GetParam().make();
        if (!desk) GTEST_SKIP() << GetParam().name << " cannot run here";
        desk->registrar().setPressCallback([this](int id) { pressed.push_back(id); });
    }
    platform::HotkeyRegistrar& registrar() { return desk->registrar(); }
    // Presses each combination in turn, then the sentinel (a registered one): what arrives up to
    // the sentinel's own id is what the others brought, since presses arrive in order.
    std::vector<int> pressThen(std::vector<std::pair<int, int>> combinations, int sentinelId,
                               std::pair<int, int> sentinel) {
        pressed.clear();
        for (auto [mods, key] : combinations)
            desk->press(mods, key);
        desk->press(sentinel.first, sentinel.second);
        EXPECT_TRUE(pressed.empty()) << "a press arrived outside the event loop";
        desk->pumpUntil([&] { return !pressed.empty() && pressed.back() == sentinelId; }, 10000);
        std::vector<int> before = pressed;
        if (!before.empty() && before.back() == sentinelId)
            before.pop_back();
        else
            before.push_back(-1); // the sentinel never came
        return before;
    }

    std::unique_ptr<HotkeyDesk> desk;
    std::vector<int> pressed;
};

TEST_P(HotkeyContract, ARegisteredCombinationArrivesWithItsIdFromTheEventLoop) {
    ASSERT_TRUE(registrar().registerHotkey(7, kCtrl | kAlt, kQ));
    ASSERT_TRUE(registrar().registerHotkey(8, 0, kLeft));
    ASSERT_TRUE(registrar().registerHotkey(9, kAlt, kLeft));
    EXPECT_EQ(pressThen({{kCtrl | kAlt, kQ}, {0, kLeft}}, 9, {kAlt, kLeft}),
              (std::vector<int>{7, 8}));
    // Other modifiers make another combination, which is not registered.
    EXPECT_EQ(pressThen({{kCtrl, kLeft}, {kCtrl | kShift | kAlt, kQ}}, 8, {0, kLeft}),
              std::vector<int>{});
}

TEST_P(HotkeyContract, WhatCannotBeHadIsRefusedAndNeverFires) {
    EXPECT_FALSE(registrar().registerHotkey(1, kCtrl, 0));
    EXPECT_FALSE(registrar().registerHotkey(2, kCtrl, 0xFF)); // no key has this code
    ASSERT_TRUE(registrar().registerHotkey(3, kShift, kA));
    EXPECT_FALSE(registrar().registerHotkey(4, kShift, kA)); // registered here already
    ASSERT_TRUE(registrar().registerHotkey(5, 0, kEscape));
    EXPECT_EQ(pressThen({{kShift, kA}}, 5, {0, kEscape}), std::vector<int>{3});
}

TEST_P(HotkeyContract, ACombinationAnotherProgramHoldsIsRefused) {
    ASSERT_TRUE(desk->holdElsewhere(kCtrl | kShift, kF5));
    EXPECT_FALSE(registrar().registerHotkey(1, kCtrl | kShift, kF5));
    // The same key with other modifiers is free.
    ASSERT_TRUE(registrar().registerHotkey(2, kCtrl, kF5));
    ASSERT_TRUE(registrar().registerHotkey(3, 0, kEscape));
    EXPECT_EQ(pressThen({{kCtrl, kF5}}, 3, {0, kEscape}), std::vector<int>{2});
}

TEST_P(HotkeyContract, UnregisteringStopsThePressesAndFreesTheCombinations) {
    ASSERT_TRUE(registrar().registerHotkey(1, kAlt, kLeft));
    ASSERT_TRUE(registrar().registerHotkey(2, kCtrl | kAlt, kW));
    registrar().unregisterAll();
    ASSERT_TRUE(registrar().registerHotkey(3, 0, kEscape));
    EXPECT_EQ(pressThen({{kAlt, kLeft}, {kCtrl | kAlt, kW}}, 3, {0, kEscape}), std::vector<int>{});
    // Free again, under any id.
    EXPECT_TRUE(registrar().registerHotkey(4, kAlt, kLeft));
    EXPECT_EQ(pressThen({}, 4, {kAlt, kLeft}), std::vector<int>{});
}

} // namespace qinglan::test
