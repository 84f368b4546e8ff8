#pragma once
// One accessor per window of the catalogue; the data files are split by window group.
#include "ui/Catalogue.h"

#include <settings/SettingsPages.h>

namespace qinglan::ui::catalogue {

// Main window and companions.
const WindowDesign& mainWindow();
const WindowDesign& sidePanel();
const WindowDesign& floatingControlBar();
const WindowDesign& maximizeButton();
const WindowDesign& minimizeButton();
const WindowDesign& videoListWindow();

// Settings window, and the window of each other settings page (the settings window itself for
// the lyrics page).
const WindowDesign& settingsWindow();
const WindowDesign& pageWindowDesign(settings::Page page);

// Dialogs and tool windows.
const WindowDesign& networkOpenDialog();
const WindowDesign& promptWindow();
const WindowDesign& transcodeWindow();
const WindowDesign& aboutWindow();
const WindowDesign& volumeWindow();
const WindowDesign& skipIntroWindow();

} // namespace qinglan::ui::catalogue
