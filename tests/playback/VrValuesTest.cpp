// What the menu item "虚拟现实" sends, from the stored VR page: the page's defaults as the
// settings table states them, changed field by field.
#include "playback/VrValues.h"

#include <settings/SettingsFields.h>

#include <gtest/gtest.h>

#include <map>

using namespace qinglan;
using playback::EngineValue;
using playback::vrEngineValues;

namespace {

// The first-run record: every field at its table default.
struct StoredPage {
    std::map<int, std::string> changed;
    std::string operator()(int field) const {
        auto it = changed.find(field);
        return it != changed.end() ? it->second : settings::fieldInfo(field).value;
    }
};

std::vector<EngineValue> sent(const StoredPage& page) {
    return vrEngineValues([&](int field) { return page(field); });
}

} // namespace

TEST(VrValues, NothingIsSentWhileTheVrPageIsOffEvenWithADrawModeStored) {
    StoredPage page;
    page.changed[118] = "矩形全景左右";
    EXPECT_TRUE(sent(page).empty());
    page.changed[116] = "yes"; // only exactly "1" is on
    EXPECT_TRUE(sent(page).empty());
}

TEST(VrValues, TheDefaultsInOrderWithoutADrawMode) {
    StoredPage page;
    page.changed[116] = "1";
    page.changed[117] = "0";
    // The table's default draw mode "0" is no name of the list: no 2402.
    std::vector<EngineValue> expected{
        {2403, "1.28;1.02;350.6"}, {2404, "0"}, {2405, "5"}, {2407, "0"},
        {2408, "0;20;16777215"},   {2410, "50"}};
    EXPECT_EQ(sent(page), expected);
}

TEST(VrValues, EveryDrawModeByNameAndTheChoicesByTheirField) {
    StoredPage page;
    page.changed[116] = "1";
    const char* expected[] = {"0", "1", "3", "4", "7", "9", "11", "15"};
    ASSERT_EQ(playback::vrDrawModes().size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        page.changed[118] = std::string(playback::vrDrawModes()[i].name);
        auto values = sent(page);
        ASSERT_FALSE(values.empty());
        EXPECT_EQ(values.front(), (EngineValue{2402, expected[i]})) << page.changed[118];
    }
    page.changed[118] = "圆形半景内下外上";
    EXPECT_EQ(sent(page).front(), (EngineValue{2402, "4"}));
    page.changed[118] = "圆形半景"; // not exactly a name
    EXPECT_EQ(sent(page).front().id, 2403);

    page.changed[119] = "-30";
    page.changed[120] = "abc"; // passed on as typed
    page.changed[122] = "0";
    page.changed[123] = "1";
    page.changed[124] = "12";
    page.changed[125] = "0";
    page.changed[127] = "1";
    page.changed[128] = "255";
    page.changed[129] = "30";
    page.changed[131] = "80";
    std::vector<EngineValue> expectedValues{
        {2403, "-30;abc;350.6"}, {2404, "1"}, {2405, "12"}, {2407, "2"},
        {2408, "30;20;255"},     {2410, "80"}};
    EXPECT_EQ(sent(page), expectedValues);
    // A choice with none of its boxes on sends nothing for it.
    page.changed[123] = "0";
    page.changed[127] = "0";
    for (const EngineValue& v : sent(page)) {
        EXPECT_NE(v.id, 2404);
        EXPECT_NE(v.id, 2407);
    }
}
