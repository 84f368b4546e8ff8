#pragma once
// Typed names for the windows and controls that code acts on by name, so that a window's role
// cannot be handed where a control is meant, and a name is spelled once, here or in its table.
// The names themselves are the catalogue's (Catalogue.h): a role, or a kind word plus number.

#include <settings/SettingsPages.h>

#include <string_view>

namespace qinglan::ui {

struct WindowId {
    std::string_view name;
    friend constexpr bool operator==(WindowId, WindowId) = default;
};

struct ControlId {
    std::string_view name;
    friend constexpr bool operator==(ControlId, ControlId) = default;
};

// The window that shows a settings page (the settings window itself for the lyrics page).
inline WindowId pageWindow(settings::Page page) {
    return {settings::pageInfo(page).role};
}

namespace ids {

inline constexpr WindowId SettingsWindow{settings::kSettingsWindowRole};

// The frame every settings page has: its scrolled container, the scroll bar beside it and the
// link that restores the page's defaults.
inline constexpr ControlId PageShape{"外形框1"};
inline constexpr ControlId PageScrollBar{"纵向滚动条1"};
inline constexpr ControlId RestoreDefaultsLink{"超级链接框1"};
// The settings window's own controls: the group behind the tabs and the file dialog of the
// lyrics page's background picture.
inline constexpr ControlId SettingsNavigation{"分组框5"};
inline constexpr ControlId LyricsPictureDialog{"通用对话框1"};

} // namespace ids

} // namespace qinglan::ui
