// Which handler each window and control event reaches. Handlers are named after the operation
// they run; one name may serve several controls (the event tells which control raised it).
// An event without a row here does nothing.
#include "ui/Catalogue.h"
#include "ui/CatalogueIds.h"
#include "ui/SettingsOptions.h"

namespace qinglan::ui {

namespace {
using E = EventKind;

void addPageScrolling(std::vector<WiringRow>& rows, const settings::PageInfo& page) {
    const std::string_view window = page.role;
    rows.push_back({window, ids::PageShape.name, E::LeftPressed, "refocusPage"});
    rows.push_back({window, ids::PageScrollBar.name, E::PositionChanged, "scrollPage"});
    rows.push_back({window, ids::PageScrollBar.name, E::WheelTurned, "wheelPage"});
    if (page.rightPressDisablesBar)
        rows.push_back({window, ids::PageScrollBar.name, E::RightPressed, "disablePageScrollBar"});
    rows.push_back({window, ids::RestoreDefaultsLink.name, E::LeftPressed, "restorePageDefaults"});
}

// The option controls of a page reach the generic bindings; its group boxes refocus it.
void addOptionRows(std::vector<WiringRow>& rows, const settings::PageInfo& info) {
    const std::string_view page = info.role;
    const PageOptions* options = &pageOptions(info.page);
    for (const ControlDesign& c : options->layout)
        if (kindOfName(c.name) == Kind::Group)
            rows.push_back({page, c.name, E::LeftPressed, "refocusPage"});
    for (const OptionRow& row : options->rows) {
        for (const ControlDesign& c : row.controls) {
            switch (row.binding) {
            case Binding::RadioGroup:
            case Binding::ExclusiveChecks:
            case Binding::SingleCheck:
                rows.push_back({page, c.name, E::Clicked, "storeOption"});
                break;
            case Binding::NamedList:
            case Binding::NumberList:
                rows.push_back({page, c.name, E::ItemChosen, "storeOption"});
                rows.push_back({page, c.name, E::TextEdited, "checkListText"});
                break;
            case Binding::Slider:
                rows.push_back({page, c.name, E::PositionChanged, "storeOption"});
                break;
            case Binding::Colour:
                rows.push_back({page, c.name, E::ColourChosen, "storeOption"});
                break;
            case Binding::EditBox:
                rows.push_back({page, c.name, E::TextChanged, "storeOption"});
                break;
            case Binding::FileButton:
            case Binding::FolderButton:
                rows.push_back({page, c.name, E::Clicked, "browseForOption"});
                break;
            case Binding::HotkeyBox:
                rows.push_back({page, c.name, E::KeyPressed, "captureHotkey"});
                rows.push_back({page, c.name, E::FocusLost, "releaseHotkeyBox"});
                break;
            case Binding::FixedKey:
                break;
            }
        }
    }
}

// The settings window with the lyrics page, then every page window: created fills it, presses
// on its background refocus it.
void addSettingsPages(std::vector<WiringRow>& rows) {
    const std::string_view settingsWindow = ids::SettingsWindow.name;
    rows.push_back({settingsWindow, "", E::Created, "setUpSettingsWindow"});
    rows.push_back({settingsWindow, "", E::Destroying, "reloadSettingsRecord"});
    for (const auto& page : settings::settingsPages()) {
        if (page.role != settingsWindow) rows.push_back({page.role, "", E::Created, "fillPage"});
        rows.push_back({page.role, "", E::LeftPressed, "refocusPage"});
        rows.push_back({page.role, page.defaultsGroup, E::LeftPressed, "refocusPage"});
        rows.push_back({settingsWindow, page.tabLabel, E::LeftPressed, "showSettingsPage"});
        addPageScrolling(rows, page);
        addOptionRows(rows, page);
    }
}

std::vector<WiringRow> buildTable() {
    std::vector<WiringRow> r{
        // Main window.
        {"MainWindow", "", E::Created, "runCreationSequence"},
        {"MainWindow", "", E::CloseRequested, "decideClose"},
        {"MainWindow", "", E::Destroying, "runShutdownSequence"},
        {"MainWindow", "", E::Moved, "layOut"},
        {"MainWindow", "", E::Resized, "layOut"},
        {"MainWindow", "", E::TrayNotified, "handleTrayEvent"},
        {"MainWindow", "拖放对象1", E::FilesDropped, "DropFile"},
        {"MainWindow", "图片框1", E::RightPressed, "popUpRightClickMenu"},
        {"MainWindow", "时钟1", E::Tick, "tickPointerWatch"},
        {"MainWindow", "时钟3", E::Tick, "tickPointerIdle"},
        {"MainWindow", "时钟4", E::Tick, "tickFade"},
        {"MainWindow", "标签1", E::Feedback, "dispatchHotkey"},

        // Side panel: the picture and the caption under it do the same.
        {"SidePanel", "", E::MouseMoved, "updatePlayCaption"},
        {"SidePanel", "图片框2", E::LeftPressed, "togglePlayPause"},
        {"SidePanel", "标签2", E::LeftPressed, "togglePlayPause"},
        {"SidePanel", "图片框3", E::LeftPressed, "stopPlayback"},
        {"SidePanel", "标签3", E::LeftPressed, "stopPlayback"},
        {"SidePanel", "图片框4", E::LeftPressed, "pressPrevious"},
        {"SidePanel", "标签4", E::LeftPressed, "pressPrevious"},
        {"SidePanel", "图片框5", E::LeftPressed, "pressNext"},
        {"SidePanel", "标签5", E::LeftPressed, "pressNext"},

        // Floating control bar.
        {"FloatingControlBar", "", E::Created, "setUpControlBar"},
        {"FloatingControlBar", "", E::Resized, "fitControlBar"},
        {"FloatingControlBar", "", E::LeftPressed, "enableProgressBar"},
        {"FloatingControlBar", "标签1", E::LeftPressed, "showProgressBar"},
        {"FloatingControlBar", "横向滚动条1", E::PositionChanged, "seekByBar"},
        {"FloatingControlBar", "横向滚动条1", E::RightPressed, "showTimeLabel"},

        // Hot spots over the main window's top-right corner.
        {"MaximizeButton", "", E::MouseMoved, "showBalloonTip"},
        {"MaximizeButton", "", E::LeftPressed, "maximizeMainWindow"},
        {"MinimizeButton", "", E::MouseMoved, "showBalloonTip"},
        {"MinimizeButton", "", E::LeftPressed, "minimizeMainWindow"},

        // Video list.
        {"VideoListWindow", "", E::Created, "setUpVideoListWindow"},
        {"VideoListWindow", "", E::Resized, "fitListToWindow"},
        {"VideoListWindow", "", E::CloseRequested, "hideVideoList"},
        {"VideoListWindow", "超级列表框1", E::RowDoubleClicked, "PlayEntry"},
        {"VideoListWindow", "超级列表框1", E::RightClicked, "popUpListMenu"},
        {"VideoListWindow", "时钟1", E::Tick, "PollAddFiles"},

    };
    addSettingsPages(r);

    const std::vector<WiringRow> dialogs{
        {"NetworkOpenDialog", "", E::Created, "setUpNetworkOpenDialog"},
        {"NetworkOpenDialog", "按钮1", E::Clicked, "confirmNetworkOpen"},
        {"NetworkOpenDialog", "按钮2", E::Clicked, "cancelNetworkOpen"},

        {"PromptWindow", "按钮1", E::Clicked, "confirmPrompt"},
        {"PromptWindow", "按钮2", E::Clicked, "cancelPrompt"},

        {"TranscodeWindow", "", E::Created, "setUpTranscodeWindow"},
        {"TranscodeWindow", "", E::Destroying, "returnEngineToPlayMode"},
        {"TranscodeWindow", "按钮1", E::Clicked, "StartConversion"},

        {"AboutWindow", "", E::Created, "setUpAboutWindow"},

        {"VolumeWindow", "", E::Created, "setUpVolumeWindow"},
        {"VolumeWindow", "", E::LeftPressed, "resetVolumeTitle"},
        {"VolumeWindow", "分组框1", E::LeftPressed, "resetVolumeTitle"},
        {"VolumeWindow", "分组框2", E::LeftPressed, "resetVolumeTitle"},
        {"VolumeWindow", "单选框7", E::Clicked, "unmute"},
        {"VolumeWindow", "单选框8", E::Clicked, "mute"},
        {"VolumeWindow", "滑块条1", E::PositionChanged, "setVolumeFromSlider"},
        {"VolumeWindow", "单选框1", E::Clicked, "chooseAspectRatio"},
        {"VolumeWindow", "单选框2", E::Clicked, "chooseAspectRatio"},
        {"VolumeWindow", "单选框3", E::Clicked, "chooseAspectRatio"},
        {"VolumeWindow", "单选框4", E::Clicked, "chooseAspectRatio"},
        {"VolumeWindow", "单选框5", E::Clicked, "chooseAspectRatio"},
        {"VolumeWindow", "单选框6", E::Clicked, "chooseAspectRatio"},

        {"SkipIntroWindow", "", E::Created, "setUpSkipIntroWindow"},
        {"SkipIntroWindow", "", E::Destroying, "reloadSettingsRecord"},
        {"SkipIntroWindow", "单选框1", E::Clicked, "storeSkipSwitch"},
        {"SkipIntroWindow", "单选框2", E::Clicked, "storeSkipSwitch"},
        {"SkipIntroWindow", "编辑框1", E::TextChanged, "storeIntro"},
        {"SkipIntroWindow", "编辑框2", E::TextChanged, "storeOutro"},
    };
    r.insert(r.end(), dialogs.begin(), dialogs.end());
    return r;
}

} // namespace

const std::vector<WiringRow>& wiringTable() {
    static const std::vector<WiringRow> table = buildTable();
    return table;
}

} // namespace qinglan::ui
