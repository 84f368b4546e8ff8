// Registration of the nine hotkeys and the matching of presses, with the in-memory registrar.
#include <hotkeys/HotkeyBinder.h>
#include <platform/fake/FakeHotkeyRegistrar.h>
#include <settings/SettingsFields.h>

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

using namespace qinglan;
using hotkeys::HotkeyAction;
using Registration = platform::FakeHotkeyRegistrar::Registration;

namespace {

// The numbers of a fresh settings file, with some replaced.
struct Stored {
    std::map<int, int> overrides;
    int operator()(int field) const {
        if (auto it = overrides.find(field); it != overrides.end()) return it->second;
        return std::atoi(settings::fieldInfo(field).value);
    }
};

struct Binder : ::testing::Test {
    platform::FakeHotkeyRegistrar registrar;
    hotkeys::HotkeyBinder binder{registrar};
    std::vector<int> pressed;
    void SetUp() override {
        registrar.setPressCallback([this](int id) { pressed.push_back(id); });
    }
    std::optional<HotkeyAction> pressAndMatch(int modifiers, int key) {
        pressed.clear();
        if (!registrar.press(modifiers, key)) return std::nullopt;
        QCoreApplication::processEvents();
        if (pressed.size() != 1) return std::nullopt;
        return binder.actionOf(pressed.front());
    }
};

TEST_F(Binder, TheDefaultsAreRegisteredInTheirOrder) {
    EXPECT_EQ(binder.activate(Stored{}), 9);
    const auto& r = registrar.registered();
    ASSERT_EQ(r.size(), 9u);
    // volume up, volume down, leave full screen, play/pause, previous, next, screenshot,
    // seek back, seek forward
    const int expected[9][2] = {{0, 38}, {0, 40}, {0, 27}, {0, 32}, {4, 37},
                                {4, 39}, {5, 81}, {0, 37}, {0, 39}};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(r[i].modifiers, expected[i][0]) << i;
        EXPECT_EQ(r[i].virtualKey, expected[i][1]) << i;
    }
    EXPECT_EQ(pressAndMatch(0, 27), HotkeyAction::LeaveFullScreen);
    EXPECT_EQ(pressAndMatch(4, 37), HotkeyAction::Previous);
    EXPECT_EQ(pressAndMatch(0, 37), HotkeyAction::SeekBack);
    EXPECT_EQ(pressAndMatch(5, 81), HotkeyAction::Screenshot);
    EXPECT_EQ(pressAndMatch(0, 32), HotkeyAction::PlayPause);
    EXPECT_EQ(pressAndMatch(0, 39), HotkeyAction::SeekForward);
}

TEST_F(Binder, DeactivationReleasesAllNineAndActivationTakesTheNewNumbers) {
    binder.activate(Stored{});
    binder.deactivate();
    EXPECT_TRUE(registrar.registered().empty());
    EXPECT_EQ(pressAndMatch(0, 27), std::nullopt);
    // The settings window changed the screenshot key to Shift+F5 meanwhile.
    binder.activate(Stored{{{193, 2}, {194, 0}, {195, 0x74}}});
    EXPECT_EQ(pressAndMatch(2, 0x74), HotkeyAction::Screenshot);
    EXPECT_EQ(pressAndMatch(5, 81), std::nullopt);
    // A second activation without a deactivation between does not register twice.
    binder.activate(Stored{});
    EXPECT_EQ(registrar.registered().size(), 9u);
}

TEST_F(Binder, ACombinationHeldElsewhereOrEmptiedSimplyDoesNotWork) {
    registrar.holdElsewhere(5, 81);
    // The volume-down box was emptied: name "", numbers 0, 0, 0.
    EXPECT_EQ(binder.activate(Stored{{{63, 0}, {176, 0}, {177, 0}}}), 7);
    EXPECT_EQ(pressAndMatch(5, 81), std::nullopt);
    EXPECT_EQ(pressAndMatch(0, 38), HotkeyAction::VolumeUp);
    EXPECT_EQ(registrar.attempts().size(), 9u);
}

TEST_F(Binder, TheFirstOfTwoEqualCombinationsWins) {
    // Volume up set to the left arrow, which seek back (registered later) uses too.
    binder.activate(Stored{{{62, 37}}});
    EXPECT_EQ(pressAndMatch(0, 37), HotkeyAction::VolumeUp);
    EXPECT_EQ(registrar.registered().size(), 8u);
}

TEST_F(Binder, TheSameModifierStoredTwiceCountsOnce) {
    binder.activate(Stored{{{193, 1}, {194, 1}}});
    EXPECT_EQ(pressAndMatch(1, 81), HotkeyAction::Screenshot);
}

TEST_F(Binder, UnknownIdsMatchNothing) {
    binder.activate(Stored{});
    EXPECT_EQ(binder.actionOf(0), std::nullopt);
    EXPECT_EQ(binder.actionOf(1000), std::nullopt);
    EXPECT_EQ(binder.actionOf(binder.idOf(HotkeyAction::Next)), HotkeyAction::Next);
}

} // namespace
