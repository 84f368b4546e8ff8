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
    return db_.removeByFirstField(path).status();
}

edb::Status ListStore::clear() {
    if (auto s = open(); !s.ok()) return s;
    return db_.clear();
}

std::vector<std::string> ListStore::takeNotices() {
    return std::exchange(notices_, {});
}

std::string listFailureText(const std::filesystem::path& file, const edb::Status& why) {
    const char* reason = "读写失败";
    switch (why.code()) {
    case edb::ErrorCode::Busy:
        reason = "被其他程序占用";
        break;
    case edb::ErrorCode::ReadOnly:
        reason = "不可写入";
        break;
    case edb::ErrorCode::Missing:
        reason = "无法打开";
        break;
    case edb::ErrorCode::NotADatabase:
        reason = "不是本程序的数据文件";
        break;
    case edb::ErrorCode::WrongPassword:
        reason = "密码不符";
        break;
    case edb::ErrorCode::Corrupt:
        reason = "文件已损坏";
        break;
    default:
        // The store reports a full disk as an input/output failure with its own wording.
        if (why.message().find("disk is full") != std::string::npos) reason = "磁盘已满";
        break;
    }
    std::string text = file.filename().string() + " 无法保存（" + reason + "），添加已停止。";
    if (!why.message().empty()) text += "\n" + why.message();
    return text;
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
