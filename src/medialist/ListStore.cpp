#include "medialist/ListStore.h"

#include <edb/Recovery.h>
#include <settings/SettingsStore.h>
#include <settings/StoreLocation.h>

#include <chrono>
#include <thread>

namespace qinglan::medialist {

ListStore::ListStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path ListStore::file() const {
    return folder_ / settings::kListFileName;
}

edb::Status ListStore::open() {
    if (db_.isOpen()) return {};
    auto opened = edb::openOrRecover(file(), settings::databasePassword(), {});
    if (!opened.ok()) return opened.status();
    auto& r = opened.value();
    if (!r.setAsidePath.empty())
        notices_.push_back(settings::setAsideNotice(file(), r.setAsidePath, r.openError));
    db_ = std::move(r.db);
    return {};
}

edb::Result<std::vector<std::string>> ListStore::paths() {
    if (auto s = open(); !s.ok()) return s;
    auto all = db_.readFieldOfAll(kPathField);
    if (!all.ok()) return all.status();
    std::vector<std::string> out;
    out.reserve(all.value().size());
    for (auto& v : all.value())
        out.push_back(v.toText());
    return out;
}

edb::Status ListStore::append(const std::vector<std::string>& paths) {
    if (paths.empty()) return {};
    if (auto s = open(); !s.ok()) return s;
    return db_.appendTexts(kPathField, paths);
}

edb::Status ListStore::remove(const std::string& path) {
    if (auto s = open(); !s.ok()) return s;
    return db_.removeWhereField1(path).status();
}

edb::Status ListStore::clear() {
    if (auto s = open(); !s.ok()) return s;
    return db_.clear();
}

std::vector<std::string> ListStore::takeNotices() {
    return std::exchange(notices_, {});
}

edb::Result<edb::RecordDatabase> openListForAppending(const std::filesystem::path& file) {
    const std::string password = settings::databasePassword();
    for (int attempt = 0;; ++attempt) {
        auto opened = edb::RecordDatabase::open(file, password);
        if (opened.code() == edb::ErrorCode::Missing) {
            std::error_code ec;
            std::filesystem::create_directories(file.parent_path(), ec);
            opened = edb::RecordDatabase::create(file, password);
            if (opened.code() == edb::ErrorCode::AlreadyExists && attempt < 10)
                continue; // made meanwhile
        }
        if (opened.code() != edb::ErrorCode::Busy || attempt >= 10) return opened;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
}

} // namespace qinglan::medialist
