// The hotkey page's boxes without widgets: what a box shows and stores for the keys pressed.
#include <hotkeys/HotkeyCapture.h>
#include <hotkeys/Hotkeys.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using namespace qinglan;
using hotkeys::HotkeyCapture;

namespace {

constexpr int kCtrl = 0x11, kShift = 0x10, kAlt = 0x12, kQ = 81;

// The screenshot row's box, writing into a map of fields.
struct ScreenshotBox : ::testing::Test {
    std::map<int, settings::SettingsValue> fields;
    std::vector<std::string> shown;
    HotkeyCapture box{{192, 193, 194, 195},
                      [this](int f, const settings::SettingsValue& v) { fields[f] = v; },
                      [this](const std::string& t) { shown.push_back(t); }};

    void expectStored(const std::string& name, int m1, int m2, int key) {
        EXPECT_EQ(box.text(), name);
        EXPECT_EQ(fields[192].toText(), name);
        EXPECT_EQ(fields[193].toInt(), m1);
        EXPECT_EQ(fields[194].toInt(), m2);
        EXPECT_EQ(fields[195].toInt(), key);
        // The numbers are stored as integers, as their fields are.
        EXPECT_TRUE(fields[193].isInteger() && fields[194].isInteger() && fields[195].isInteger());
    }
};

TEST_F(ScreenshotBox, CtrlAltQBuildsTheCombinationStepByStep) {
    box.keyPressed(kCtrl);
    expectStored("Ctrl+", 1, 0, 0);
    box.keyPressed(kAlt);
    expectStored("Ctrl+Alt+", 1, 4, 0);
    box.keyPressed(kQ);
    expectStored("Ctrl+Alt+Q", 1, 4, 81);
    EXPECT_EQ(shown, (std::vector<std::string>{"Ctrl+", "Ctrl+Alt+", "Ctrl+Alt+Q"}));
}

TEST_F(ScreenshotBox, ALoneModifierIsClearedWhenTheBoxLosesTheFocus) {
    box.fill("Ctrl+Alt+Q");
    box.keyPressed(kShift);
    expectStored("Shift+", 2, 0, 0);
    box.focusLost();
    expectStored("", 0, 0, 0);
    // A finished combination stays when the focus goes.
    box.keyPressed(kCtrl);
    box.keyPressed(kQ);
    box.focusLost();
    expectStored("Ctrl+Q", 1, 0, 81);
}

TEST_F(ScreenshotBox, AKeyAfterAFinishedCombinationStartsOver) {
    box.fill("Ctrl+Alt+Q");
    expectStored("Ctrl+Alt+Q", 1, 4, 81);
    box.keyPressed(kQ);
    expectStored("Q", 0, 0, 81);
}

TEST_F(ScreenshotBox, HeldKeysAndKeysWithoutANameChangeNothing) {
    box.keyPressed(kCtrl);
    box.keyPressed(kCtrl, /*autoRepeat=*/true);
    box.keyPressed(kCtrl, true);
    EXPECT_EQ(box.text(), "Ctrl+");
    box.keyPressed(0x14); // Caps Lock
    box.keyPressed(kQ);
    box.keyPressed(kQ, true); // Q held after the combination is finished
    expectStored("Ctrl+Q", 1, 0, 81);
    // Pressing the same modifier again (released and pressed) shows it once.
    box.keyPressed(kAlt);
    box.keyPressed(kAlt);
    expectStored("Alt+", 4, 0, 0);
}

TEST_F(ScreenshotBox, ThreeModifiersKeepTheFirstTwoNumbers) {
    box.keyPressed(kShift);
    box.keyPressed(kCtrl);
    box.keyPressed(kAlt);
    box.keyPressed(0x70);
    expectStored("Shift+Ctrl+Alt+F1", 2, 1, 0x70);
}

TEST_F(ScreenshotBox, TheFillStoresTheNumbersOfTheStoredName) {
    box.fill("Alt+←");
    expectStored("Alt+←", 4, 0, 37);
    box.fill("");
    expectStored("", 0, 0, 0);
}

TEST(HotkeyTable, RowsMatchTheSettingsFields) {
    const auto rows = hotkeys::hotkeyRows();
    ASSERT_EQ(rows.size(), 9u);
    // Each configurable row owns four fields; no field is used twice.
    std::map<int, int> uses;
    std::set<int> pageRows;
    for (const auto& r : rows) {
        pageRows.insert(r.pageRow);
        if (!r.configurable()) {
            EXPECT_NE(r.fixedKey, 0);
            continue;
        }
        for (int f : {r.nameField, r.modifier1Field, r.modifier2Field, r.keyField})
            ++uses[f];
    }
    EXPECT_EQ(pageRows.size(), 9u);
    EXPECT_EQ(uses.size(), 24u);
    for (auto [field, count] : uses) {
        EXPECT_EQ(count, 1) << field;
        EXPECT_TRUE((field >= 60 && field <= 63) || (field >= 176 && field <= 195)) << field;
    }
}

} // namespace
