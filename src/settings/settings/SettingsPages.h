#pragma once
// The ten pages of the settings window, stated once in tab order: the window that shows each
// page, its tab, and the frame every page shares (a container as tall as its content scrolled
// behind a 527-pixel viewport, ending with a " 默认值 " group). The window catalogue, the tabs,
// the wiring of the pages and the page a window's restore link resets are all derived from this
// table; which fields a page holds is the field table's `page` column.

#include "settings/SettingsFields.h"

#include <span>
#include <string_view>

namespace qinglan::settings {

struct PageInfo {
    Page page;
    // The window that shows the page; the lyrics page is part of the settings window itself.
    std::string_view role;
    std::string_view tabLabel; // the tab's label in the settings window
    int tabTop;
    std::string_view tabCaption;
    int windowHeight; // designed height of the page's own window (417 wide); 0 for lyrics
    int shapeHeight;  // the scrolled container
    int defaultsTop;  // top of the " 默认值 " group in the container
    std::string_view defaultsGroup; // the group box holding the link "恢复本页默认值"
    // A right press on the scroll bar switches it off until the page is refocused.
    bool rightPressDisablesBar;
    // Refocusing the page sets the settings window's title back to "系统设置".
    bool refocusResetsTitle;
};

inline constexpr std::string_view kSettingsWindowRole = "SettingsWindow";
inline constexpr int kSettingsPageCount = 10;

// All ten, in tab order (the order of `Page`).
std::span<const PageInfo> settingsPages();
// The row of a page; Page::None is no page and is not allowed.
const PageInfo& pageInfo(Page page);
// The page shown by the window of that role, or nullptr for any other window.
const PageInfo* findPageByRole(std::string_view role);

} // namespace qinglan::settings
