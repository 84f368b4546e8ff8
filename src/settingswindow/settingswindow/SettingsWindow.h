#pragma once
// The settings window's behaviour: its page tabs and embedded pages, scrolling, the title that
// follows a slider, and the generic bindings that fill every option control from the settings
// file, store it at once and send it to the engine at once as its row says
// (ui/SettingsOptions.h).
//
// Everything runs on the window thread. A page is filled when it is created, by reading its
// fields from the store there: a whole page reads in well under a frame.

#include <settings/SettingsStore.h>
#include <ui/UiEvent.h>

#include <QString>

#include <filesystem>
#include <functional>
#include <string>

class QWidget;

namespace qinglan::ui {
class FileDialogBox;
}

namespace qinglan::settingswindow {

struct Services {
    // The open settings store; nullptr when there is none (then nothing is filled or stored).
    std::function<settings::SettingsStore*()> store;
    // Sends a configuration value to the engine.
    std::function<void(int id, const std::string& value)> send;
    // Sets the video list window's opacity (1..255).
    std::function<void(int opacity)> setListOpacity;
    // Dialogs; an empty answer means the user cancelled. A file is chosen through the window's
    // own file dialog control, which holds the designed filter.
    std::function<QString(QWidget* parent, const ui::FileDialogBox& dialog)> chooseFile;
    std::function<QString(QWidget* parent, const QString& title)> chooseFolder;
    // The folder the save-folder defaults point to; empty: the usual special folder.
    std::filesystem::path specialFolder;
};

// Adds the handlers the settings window and its pages are wired to: setUpSettingsWindow,
// showSettingsPage, refocusPage, scrollPage, wheelPage, disablePageScrollBar,
// restorePageDefaults, fillPage, storeOption, checkListText, browseForOption, captureHotkey and
// releaseHotkeyBox. The services are copied; the handler table must outlive the windows.
void wireSettingsWindow(ui::HandlerTable& handlers, Services services);

// The page window embedded in the settings window, or nullptr while the lyrics page shows.
ui::CatalogueWindow* embeddedPage(QWidget* settingsWindow);

// The text a slider's title shows: "系统设置 - 亮度：73%".
QString sliderTitle(std::string_view prefix, int position, std::string_view unit);

} // namespace qinglan::settingswindow
