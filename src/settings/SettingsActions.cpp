#include "settings/SettingsActions.h"

#include "settings/SettingsRecord.h"
#include "settings/SettingsStore.h"
#include "settings/StoreLocation.h"

namespace qinglan::settings {

edb::Status saveWindowGeometry(SettingsStore& store, SettingsRecord& record, bool geometryFrozen,
                               bool fileConfigChanged, const Rect& mainWindow,
                               const Rect& listWindow) {
    if (geometryFrozen || fileConfigChanged) return {};
    edb::Status s = store.writeFields({
        {168, mainWindow.left},
        {169, mainWindow.top},
        {170, mainWindow.width},
        {171, mainWindow.height},
        {165, listWindow.left},
        {166, listWindow.top},
        {174, listWindow.width},
        {175, listWindow.height},
    });
    if (!s.ok()) return s;
    return record.load(store);
}

edb::Status restorePageDefaults(SettingsStore& store, Page page,
                                const std::filesystem::path& specialFolder) {
    std::filesystem::path folder = specialFolder.empty() ? defaultSaveFolder() : specialFolder;
    std::vector<std::pair<int, SettingsValue>> values;
    for (int n : pageDefaultOrder(page))
        values.emplace_back(n, SettingsStore::pageDefault(n, folder));
    if (values.empty()) return {};
    return store.writeFields(values);
}

} // namespace qinglan::settings
