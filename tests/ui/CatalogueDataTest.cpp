// Consistency of the catalogue data itself: names, containers, wiring and menus.
#include "ui/Catalogue.h"

#include <settings/SettingsPages.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

using namespace qinglan::ui;

TEST(UiCatalogueData, KindIsReadFromTheName) {
    EXPECT_EQ(kindOfName("按钮1"), Kind::Button);
    EXPECT_EQ(kindOfName("选择框18"), Kind::Check);
    EXPECT_EQ(kindOfName("超级列表框1"), Kind::ListView);
    EXPECT_EQ(kindOfName("超级链接框1"), Kind::Link);
    EXPECT_EQ(kindOfName("纵向滚动条1"), Kind::VScroll);
    EXPECT_EQ(kindOfName("标签32"), Kind::Label);
    EXPECT_FALSE(kindOfName("按钮"));
    EXPECT_FALSE(kindOfName("按钮01"));
    EXPECT_FALSE(kindOfName("按钮1a"));
    EXPECT_FALSE(kindOfName("Button1"));
    for (Kind k : {Kind::Button, Kind::Clock, Kind::Balloon})
        EXPECT_EQ(kindOfName(std::string(kindWord(k)) + "7"), k);
}

TEST(UiCatalogueData, ControlNamesAreUniqueKindWordsWithContainersDeclaredFirst) {
    for (const WindowDesign* w : windowDesigns()) {
        SCOPED_TRACE(std::string(w->role));
        std::map<std::string_view, Kind> seen;
        for (const ControlDesign& c : w->controls) {
            SCOPED_TRACE(std::string(c.name));
            const auto kind = kindOfName(c.name);
            ASSERT_TRUE(kind.has_value());
            EXPECT_TRUE(seen.emplace(c.name, *kind).second) << "duplicate name";
            if (c.parent.empty()) continue;
            const auto parent = seen.find(c.parent);
            ASSERT_NE(parent, seen.end()) << "container must come before its controls";
            EXPECT_TRUE(parent->second == Kind::Group || parent->second == Kind::Shape);
        }
    }
}

TEST(UiCatalogueData, VisibleControlsLieInsideTheirContainer) {
    for (const WindowDesign* w : windowDesigns()) {
        const Size client = w->clientSize();
        for (const ControlDesign& c : w->controls) {
            const Kind kind = *kindOfName(c.name);
            // The scrolled shapes are taller than their viewport by design, and the settings
            // navigation group starts above the window to hide its caption edge.
            if (isNonVisual(kind) || kind == Kind::Shape || c.geometry.top < 0) continue;
            Size room = client;
            if (!c.parent.empty()) {
                const Rect p = w->control(c.parent)->geometry;
                room = {p.width, p.height};
            }
            const Rect g = c.geometry;
            EXPECT_TRUE(g.left >= 0 && g.top >= 0 && g.left + g.width <= room.width &&
                        g.top + g.height <= room.height)
                << w->role << " " << c.name;
        }
    }
}

TEST(UiCatalogueData, RadioButtonsComeInGroups) {
    for (const WindowDesign* w : windowDesigns()) {
        std::map<std::string_view, int> radiosPerContainer;
        for (const ControlDesign& c : w->controls)
            if (kindOfName(c.name) == Kind::Radio) ++radiosPerContainer[c.parent];
        for (const auto& [container, count] : radiosPerContainer)
            EXPECT_GE(count, 2) << w->role << " " << container;
    }
}

TEST(UiCatalogueData, WiringNamesExistingControlsAndEventsTheyRaise) {
    std::set<std::tuple<std::string_view, std::string_view, EventKind>> seen;
    for (const WiringRow& row : wiringTable()) {
        SCOPED_TRACE(std::string(row.window) + " " + std::string(row.control) + " " +
                     std::string(eventName(row.event)));
        const WindowDesign* w = findWindowDesign(row.window);
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(row.handler.empty());
        EXPECT_TRUE(seen.emplace(row.window, row.control, row.event).second)
            << "one handler per event";
        if (row.control.empty()) {
            EXPECT_TRUE(isWindowEvent(row.event));
            if (row.event == EventKind::TrayNotified) {
                EXPECT_EQ(row.window, "MainWindow");
            }
            continue;
        }
        ASSERT_NE(w->control(row.control), nullptr);
        EXPECT_TRUE(kindRaises(*kindOfName(row.control), row.event));
    }
}

TEST(UiCatalogueData, DesignedEventsAreWired) {
    auto handlerOf = [](std::string_view window, std::string_view control, EventKind event) {
        for (const WiringRow& row : wiringTable())
            if (row.window == window && row.control == control && row.event == event)
                return row.handler;
        return std::string_view{};
    };
    EXPECT_EQ(handlerOf("MainWindow", "拖放对象1", EventKind::FilesDropped), "DropFile");
    EXPECT_EQ(handlerOf("VideoListWindow", "超级列表框1", EventKind::RowDoubleClicked),
              "PlayEntry");
    EXPECT_EQ(handlerOf("VideoListWindow", "时钟1", EventKind::Tick), "PollAddFiles");
    EXPECT_EQ(handlerOf("TranscodeWindow", "按钮1", EventKind::Clicked), "StartConversion");
    EXPECT_EQ(handlerOf("SettingsWindow", "标签26", EventKind::LeftPressed), "showSettingsPage");
    EXPECT_EQ(handlerOf("PicturePage", "超级链接框1", EventKind::LeftPressed),
              "restorePageDefaults");
    // Every page disables its scroll bar on a right press except the general page.
    EXPECT_EQ(handlerOf("SoundPage", "纵向滚动条1", EventKind::RightPressed),
              "disablePageScrollBar");
    EXPECT_TRUE(handlerOf("GeneralPage", "纵向滚动条1", EventKind::RightPressed).empty());
    EXPECT_FALSE(handlerOf("GeneralPage", "纵向滚动条1", EventKind::WheelTurned).empty());
    // Both the picture and the caption under it run the side panel's actions.
    EXPECT_EQ(handlerOf("SidePanel", "图片框4", EventKind::LeftPressed),
              handlerOf("SidePanel", "标签4", EventKind::LeftPressed));
}

TEST(UiCatalogueData, MenuItemsHaveHandlersExceptSeparatorsAndSubmenus) {
    ASSERT_EQ(menuDesigns().size(), 3u);
    for (const MenuDesign& m : menuDesigns()) {
        SCOPED_TRACE(std::string(m.window) + " " + std::string(m.name));
        ASSERT_NE(findWindowDesign(m.window), nullptr);
        ASSERT_FALSE(m.items.empty());
        EXPECT_EQ(m.items.front().level, 1);
        for (std::size_t i = 0; i < m.items.size(); ++i) {
            const MenuItemDesign& item = m.items[i];
            SCOPED_TRACE(std::string(item.caption));
            if (i > 0) {
                EXPECT_LE(item.level, m.items[i - 1].level + 1);
            }
            const bool opensSubmenu = i + 1 < m.items.size() && m.items[i + 1].level > item.level;
            if (item.caption == kSeparator || opensSubmenu) {
                EXPECT_TRUE(item.handler.empty());
            } else {
                EXPECT_FALSE(item.handler.empty());
            }
        }
    }
    // Both settings entries run the same action.
    const MenuDesign* tray = findMenuDesign("MainWindow", "托盘菜单");
    const MenuDesign* right = findMenuDesign("MainWindow", "右键菜单");
    EXPECT_EQ(tray->items[1].handler, right->items.back().handler);
}

// Each tab shows its caption at its place and leads to a page window of the catalogue.
TEST(UiCatalogueData, SettingsTabsLeadToPages) {
    const WindowDesign* settingsWindow = findWindowDesign("SettingsWindow");
    for (const auto& page : qinglan::settings::settingsPages()) {
        SCOPED_TRACE(std::string(page.role));
        const ControlDesign* label = settingsWindow->control(page.tabLabel);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->caption, page.tabCaption);
        EXPECT_EQ(label->geometry, (Rect{0, page.tabTop, 151, 40}));
        EXPECT_NE(findWindowDesign(page.role), nullptr);
    }
}

TEST(UiCatalogueData, HandlerNamesAreListedOnce) {
    const auto names = handlerNames();
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "LaunchAddFilesProgram"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "refocusPage"), names.end());
}
