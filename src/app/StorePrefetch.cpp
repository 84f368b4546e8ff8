#include "app/StorePrefetch.h"

#include <settings/StoreLocation.h>

namespace qinglan::app {
namespace {

std::future<std::optional<edb::RecordDatabase>> openBeside(std::filesystem::path file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return {};
    return std::async(std::launch::async, [file = std::move(file)] {
        auto opened = edb::RecordDatabase::open(file, settings::databasePassword());
        return opened.ok() ? std::optional(std::move(opened.value())) : std::nullopt;
    });
}

std::optional<edb::RecordDatabase> take(std::future<std::optional<edb::RecordDatabase>>& f,
                                        bool sameFolder) {
    if (!f.valid()) return std::nullopt;
    auto db = f.get(); // a connection to another folder's file is closed here
    return sameFolder ? std::move(db) : std::nullopt;
}

} // namespace

void StorePrefetch::start(const std::filesystem::path& folder) {
    folder_ = folder;
    settings_ = openBeside(folder / settings::kSettingsFileName);
    list_ = openBeside(folder / settings::kListFileName);
}

std::optional<edb::RecordDatabase>
StorePrefetch::takeSettings(const std::filesystem::path& folder) {
    return take(settings_, folder == folder_);
}

std::optional<edb::RecordDatabase> StorePrefetch::takeList(const std::filesystem::path& folder) {
    return take(list_, folder == folder_);
}

} // namespace qinglan::app
