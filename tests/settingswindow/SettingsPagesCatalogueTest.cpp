// The pages as data: the control counts of each page's design, every field of a page bound by
// exactly the rows of that page, and every option control inside its group above the defaults.
#include <settings/SettingsFields.h>
#include <settings/SettingsPages.h>
#include <ui/Catalogue.h>
#include <ui/SettingsOptions.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace qinglan::settingswindow {
namespace {

using ui::Kind;

struct Counts {
    const char* role;
    int groups, radios, checks, combos, sliders, edits, colours, labels, buttons;
};

TEST(SettingsPagesCatalogue, EveryPageHasTheDesignedControlCounts) {
    const Counts table[] = {
        {"SettingsWindow", 9, 17, 2, 5, 2, 1, 4, 30, 1},
        {"SubtitlePage", 7, 12, 0, 5, 1, 0, 1, 12, 0},
        {"PicturePage", 9, 12, 13, 2, 5, 0, 0, 18, 0},
        {"SoundPage", 6, 10, 4, 1, 3, 0, 0, 8, 0},
        {"GeneralPage", 3, 2, 1, 0, 1, 0, 0, 2, 0},
        {"ScreenshotPage", 5, 4, 2, 1, 1, 3, 0, 6, 1},
        {"HotkeyPage", 2, 0, 0, 0, 0, 9, 0, 9, 0},
        {"TranscodePage", 7, 7, 2, 7, 0, 3, 0, 12, 1},
        {"AssociationPage", 2, 0, 18, 0, 0, 0, 0, 0, 0},
        {"VrPage", 7, 4, 3, 1, 4, 3, 1, 11, 0},
    };
    for (const Counts& c : table) {
        const auto* design = ui::findWindowDesign(c.role);
        ASSERT_NE(design, nullptr) << c.role;
        std::map<Kind, int> n;
        std::set<std::string_view> names;
        for (const auto& control : design->controls) {
            EXPECT_TRUE(names.insert(control.name).second) << c.role << " repeats " << control.name;
            if (auto k = ui::kindOfName(control.name)) ++n[*k];
        }
        EXPECT_EQ(n[Kind::Group], c.groups) << c.role;
        EXPECT_EQ(n[Kind::Radio], c.radios) << c.role;
        EXPECT_EQ(n[Kind::Check], c.checks) << c.role;
        EXPECT_EQ(n[Kind::Combo], c.combos) << c.role;
        EXPECT_EQ(n[Kind::Slider], c.sliders) << c.role;
        EXPECT_EQ(n[Kind::Edit], c.edits) << c.role;
        EXPECT_EQ(n[Kind::Colour], c.colours) << c.role;
        EXPECT_EQ(n[Kind::Label], c.labels) << c.role;
        EXPECT_EQ(n[Kind::Button], c.buttons) << c.role;
    }
}

// A field left out would be an option nobody can change; one from another page would write
// behind that page's back.
TEST(SettingsPagesCatalogue, EachPageBindsExactlyItsOwnFields) {
    for (const auto& info : settings::settingsPages()) {
        const ui::PageOptions& page = ui::pageOptions(info.page);
        EXPECT_EQ(page.page, info.page) << info.role;
        std::set<int> bound;
        for (const auto& row : page.rows)
            for (int f : row.fields) {
                EXPECT_EQ(settings::fieldInfo(f).page, info.page) << info.role << " field " << f;
                bound.insert(f);
            }
        const auto own = settings::pageDefaultOrder(info.page);
        EXPECT_EQ(bound, std::set<int>(own.begin(), own.end())) << info.role;
    }
}

TEST(SettingsPagesCatalogue, OptionControlsLieInsideTheirGroupsAboveTheDefaults) {
    for (const auto& page : settings::settingsPages()) {
        const auto* design = ui::findWindowDesign(page.role);
        const auto* frame = &page;
        std::map<std::string_view, ui::Rect> groups;
        for (const auto& c : design->controls)
            if (ui::kindOfName(c.name) == Kind::Group && c.parent == "外形框1") {
                groups[c.name] = c.geometry;
                if (c.name != frame->defaultsGroup) {
                    EXPECT_LE(c.geometry.top + c.geometry.height, frame->defaultsTop)
                        << page.role << " " << c.name;
                    EXPECT_LE(c.geometry.left + c.geometry.width, 400)
                        << page.role << " " << c.name;
                }
            }
        for (const auto& c : design->controls) {
            auto g = groups.find(c.parent);
            if (g == groups.end()) continue;
            EXPECT_GE(c.geometry.left, 0) << page.role << " " << c.name;
            EXPECT_LE(c.geometry.left + c.geometry.width, g->second.width)
                << page.role << " " << c.name;
            EXPECT_LE(c.geometry.top + c.geometry.height, g->second.height)
                << page.role << " " << c.name;
        }
    }
}

TEST(SettingsPagesCatalogue, CaptionsKeepTheirBlanks) {
    const auto* picture = ui::findWindowDesign("PicturePage");
    EXPECT_EQ(picture->control("分组框1")->caption, " 画质增强 ");
    EXPECT_EQ(picture->control("选择框2")->caption, " DXVA2");
    EXPECT_EQ(picture->control("分组框7")->caption, " 3D 播放 ");
    const auto* lyrics = ui::findWindowDesign("SettingsWindow");
    EXPECT_EQ(lyrics->control("单选框1")->caption, " 显示");
    EXPECT_EQ(lyrics->control("按钮1")->caption, "打开");
    EXPECT_EQ(ui::findWindowDesign("VrPage")->control("单选框4")->caption, " Oculus DK2");
}

} // namespace
} // namespace qinglan::settingswindow
