#pragma once
// One accessor per window of the catalogue; the data files are split by window group.
#include "ui/Catalogue.h"

namespace qinglan::ui::catalogue {

// Main window and companions.
const WindowDesign& mainWindow();
const WindowDesign& sidePanel();
const WindowDesign& floatingControlBar();
const WindowDesign& maximizeButton();
const WindowDesign& minimizeButton();
const WindowDesign& videoListWindow();

// Settings window and its pages.
const WindowDesign& settingsWindow();
const WindowDesign& subtitlePage();
const WindowDesign& picturePage();
const WindowDesign& generalPage();
const WindowDesign& soundPage();
const WindowDesign& vrPage();
const WindowDesign& hotkeyPage();
const WindowDesign& transcodePage();
const WindowDesign& associationPage();
const WindowDesign& screenshotPage();

// Dialogs and tool windows.
const WindowDesign& networkOpenDialog();
const WindowDesign& promptWindow();
const WindowDesign& transcodeWindow();
const WindowDesign& aboutWindow();
const WindowDesign& volumeWindow();
const WindowDesign& skipIntroWindow();

} // namespace qinglan::ui::catalogue
