#pragma once
// The settings operations the windows call: saving the window geometry and restoring a page's
// defaults.

#include "edb/Status.h"
#include "settings/Rect.h"
#include "settings/SettingsFields.h"

#include <filesystem>

namespace qinglan::settings {

class SettingsRecord;
class SettingsStore;

// Stores the main window's rectangle in fields 168 to 171 and the video list window's in 165,
// 166, 174, 175, then reloads `record` (so leaving full screen restores what was just saved).
// Does nothing while `geometryFrozen` (full screen) or `fileConfigChanged` is set.
edb::Status saveWindowGeometry(SettingsStore& store, SettingsRecord& record, bool geometryFrozen,
                               bool fileConfigChanged, const Rect& mainWindow,
                               const Rect& listWindow);

// Writes the defaults of `page`'s fields in pageDefaultOrder(page). The save-folder fields
// (145, 164) get `specialFolder`, by default defaultSaveFolder(). The page's controls and the
// engine are not touched: they pick the values up the next time they read the store.
edb::Status restorePageDefaults(SettingsStore& store, Page page,
                                const std::filesystem::path& specialFolder = {});

} // namespace qinglan::settings
