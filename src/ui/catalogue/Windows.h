#pragma once
// One accessor per window of the catalogue; the data files are split by window group.
#include "ui/Catalogue.h"

namespace qinglan::ui::catalogue {

// Main window and companions.
const WindowSpec& mainWindow();
const WindowSpec& sidePanel();
const WindowSpec& floatingControlBar();
const WindowSpec& maximizeButton();
const WindowSpec& minimizeButton();
const WindowSpec& videoListWindow();

// Settings window and its pages.
const WindowSpec& settingsWindow();
const WindowSpec& subtitlePage();
const WindowSpec& picturePage();
const WindowSpec& generalPage();
const WindowSpec& soundPage();
const WindowSpec& vrPage();
const WindowSpec& hotkeyPage();
const WindowSpec& transcodePage();
const WindowSpec& associationPage();
const WindowSpec& screenshotPage();

// Dialogs and tool windows.
const WindowSpec& networkOpenDialog();
const WindowSpec& promptWindow();
const WindowSpec& transcodeWindow();
const WindowSpec& aboutWindow();
const WindowSpec& volumeWindow();
const WindowSpec& skipIntroWindow();

} // namespace qinglan::ui::catalogue
