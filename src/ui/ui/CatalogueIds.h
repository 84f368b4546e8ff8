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

// The main window and the windows around it.
inline constexpr WindowId MainWindow{"MainWindow"};
inline constexpr WindowId SidePanel{"SidePanel"};
inline constexpr WindowId FloatingControlBar{"FloatingControlBar"};
inline constexpr WindowId MaximizeButton{"MaximizeButton"};
inline constexpr WindowId MinimizeButton{"MinimizeButton"};
inline constexpr WindowId VideoListWindow{"VideoListWindow"};
// The windows the menus open.
inline constexpr WindowId NetworkOpenDialog{"NetworkOpenDialog"};
inline constexpr WindowId PromptWindow{"PromptWindow"};
inline constexpr WindowId TranscodeWindow{"TranscodeWindow"};
inline constexpr WindowId AboutWindow{"AboutWindow"};
inline constexpr WindowId VolumeWindow{"VolumeWindow"};
inline constexpr WindowId SkipIntroWindow{"SkipIntroWindow"};

// The main window: the subtitle file dialog, the idle logo, the timers started by code (the
// pointer's idle watch and the fades) and the hidden label that receives hotkeys.
inline constexpr ControlId SubtitleFileDialog{"通用对话框1"};
inline constexpr ControlId IdleLogo{"图片框1"};
inline constexpr ControlId PointerIdleClock{"时钟3"};
inline constexpr ControlId FadeClock{"时钟4"};
inline constexpr ControlId HotkeyLabel{"标签1"};
// The side panel's buttons (pictures) and the caption under each.
inline constexpr ControlId PlayPicture{"图片框2"}, PlayCaption{"标签2"};
inline constexpr ControlId StopPicture{"图片框3"}, StopCaption{"标签3"};
inline constexpr ControlId PreviousPicture{"图片框4"}, PreviousCaption{"标签4"};
inline constexpr ControlId NextPicture{"图片框5"}, NextCaption{"标签5"};
// The floating control bar.
inline constexpr ControlId BarTimeLabel{"标签1"};
inline constexpr ControlId BarProgress{"横向滚动条1"};
// Each hot-spot button's tip.
inline constexpr ControlId HotSpotTip{"气球提示框1"};
// The video list window: the list and the timer that polls the add-files helper.
inline constexpr ControlId VideoList{"超级列表框1"};
inline constexpr ControlId AddFilesPollClock{"时钟1"};
// The network open dialog: the address and the share mode's choice.
inline constexpr ControlId NetworkAddress{"编辑框1"};
inline constexpr ControlId NetworkShareMode{"单选框2"};
// The prompt: its message, "确认", "取消" and " 删除包含文件".
inline constexpr ControlId PromptMessage{"标签1"};
inline constexpr ControlId PromptConfirm{"按钮1"};
inline constexpr ControlId PromptCancel{"按钮2"};
inline constexpr ControlId PromptDeleteFile{"选择框1"};
// The transcode window's typed span and name.
inline constexpr ControlId TranscodeStart{"编辑框1"};
inline constexpr ControlId TranscodeEnd{"编辑框2"};
inline constexpr ControlId TranscodeName{"编辑框3"};
// The volume window: sound on and muted, the volume, and the aspect choices ("默认" first).
inline constexpr ControlId VolumeOn{"单选框7"};
inline constexpr ControlId VolumeMuted{"单选框8"};
inline constexpr ControlId VolumeSlider{"滑块条1"};
inline constexpr ControlId AspectDefault{"单选框1"};
inline constexpr ControlId Aspect4To3{"单选框2"};
inline constexpr ControlId Aspect9To16{"单选框3"};
inline constexpr ControlId Aspect235To1{"单选框4"};
inline constexpr ControlId Aspect5To4{"单选框5"};
inline constexpr ControlId Aspect16To10{"单选框6"};
// The skip window: the switch and the intro and outro lengths.
inline constexpr ControlId SkipOnRadio{"单选框1"};
inline constexpr ControlId SkipOffRadio{"单选框2"};
inline constexpr ControlId SkipIntroBox{"编辑框1"};
inline constexpr ControlId SkipOutroBox{"编辑框2"};

} // namespace ids

} // namespace qinglan::ui
