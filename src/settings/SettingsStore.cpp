#include "settings/SettingsStore.h"

#include "edb/Recovery.h"
#include "settings/StoreLocation.h"

namespace qinglan::settings {

namespace {

SettingsValue fromStored(int field, const edb::FieldValue& v) {
    if (isIntegerField(field)) return SettingsValue(v.toInt32());
    return SettingsValue(v.toText());
}

edb::Record toRecord(const std::vector<std::pair<int, SettingsValue>>& fields) {
    edb::Record record;
    record.reserve(fields.size());
    for (const auto& [n, v] : fields)
        record.emplace_back(n, toStoredValue(n, v));
    return record;
}

edb::Status badField(int field) {
    return {edb::ErrorCode::InvalidArgument,
            "settings field " + std::to_string(field) + " does not exist"};
}

} // namespace

edb::FieldValue toStoredValue(int field, const SettingsValue& value) {
    if (isIntegerField(field)) return edb::FieldValue(value.toInt());
    return edb::FieldValue(value.toText());
}

std::string setAsideNotice(const std::filesystem::path& original,
                           const std::filesystem::path& setAside, const edb::Status& why) {
    const char* reason = "文件已损坏";
    if (why.code() == edb::ErrorCode::WrongPassword)
        reason = "密码不符";
    else if (why.code() == edb::ErrorCode::NotADatabase)
        reason = "不是本程序的数据文件";
    return original.filename().string() + " 无法打开（" + reason + "），已另存为 " +
           setAside.string() + "，并已新建一份默认数据。";
}

SettingsStore::SettingsStore(std::filesystem::path folder, Rect workArea)
    : folder_(std::move(folder)), workArea_(workArea) {}

SettingsStore::~SettingsStore() = default;

std::filesystem::path SettingsStore::file() const {
    return folder_ / kSettingsFileName;
}

bool SettingsStore::isOpen() const {
    std::lock_guard lock(mutex_);
    return db_.isOpen();
}

void SettingsStore::close() {
    std::lock_guard lock(mutex_);
    db_.close();
}

void SettingsStore::keepClosedForThisRun(const edb::Status& why) {
    std::lock_guard lock(mutex_);
    db_.close();
    const std::string reason = why.ok() ? std::string("no reason given") : why.message();
    keptClosed_ = edb::Status{why.ok() ? edb::ErrorCode::Io : why.code(),
                              "settings are neither read nor saved in this run: " + reason};
}

bool SettingsStore::isKeptClosed() const {
    std::lock_guard lock(mutex_);
    return keptClosed_.has_value();
}

edb::Status SettingsStore::open() {
    std::lock_guard lock(mutex_);
    return openLocked();
}

edb::Status SettingsStore::openLocked() {
    if (keptClosed_) return *keptClosed_;
    if (db_.isOpen()) return {};
    Rect workArea = workArea_;
    auto fill = [workArea](edb::RecordDatabase& db) {
        return db.append(toRecord(firstRunValues(workArea, defaultSaveFolder())));
    };
    auto opened = edb::openOrRecover(file(), databasePassword(), fill);
    if (!opened.ok()) return opened.status();
    auto& r = opened.value();
    if (!r.setAsidePath.empty())
        notices_.push_back(setAsideNotice(file(), r.setAsidePath, r.openError));
    db_ = std::move(r.db);
    return selectSettingsRecordLocked();
}

edb::Status SettingsStore::adopt(edb::RecordDatabase db) {
    std::lock_guard lock(mutex_);
    if (keptClosed_) return *keptClosed_;
    if (db_.isOpen() || !db.isOpen()) return {};
    db_ = std::move(db);
    return selectSettingsRecordLocked();
}

// The settings live in the first record; a file without one (emptied by another tool) gets a
// fresh default record rather than failing every read.
edb::Status SettingsStore::selectSettingsRecordLocked() {
    auto count = db_.count();
    if (!count.ok()) return count.status();
    if (count.value() == 0)
        return db_.append(toRecord(firstRunValues(workArea_, defaultSaveFolder())));
    return db_.goTo(1);
}

edb::Result<SettingsValue> SettingsStore::read(int field) {
    if (!isSettingsField(field)) return badField(field);
    std::lock_guard lock(mutex_);
    if (auto s = openLocked(); !s.ok()) return s;
    auto v = db_.read(field);
    if (!v.ok()) return v.status();
    return fromStored(field, v.value());
}

edb::Result<std::vector<SettingsValue>> SettingsStore::readAll() {
    std::lock_guard lock(mutex_);
    if (auto s = openLocked(); !s.ok()) return s;
    auto all = db_.readAll();
    if (!all.ok()) return all.status();
    std::vector<SettingsValue> out;
    out.reserve(kFieldCount);
    for (int n = 1; n <= kFieldCount; ++n)
        out.push_back(fromStored(n, edb::FieldValue{}));
    for (const auto& [n, v] : all.value())
        if (isSettingsField(n)) out[static_cast<std::size_t>(n - 1)] = fromStored(n, v);
    return out;
}

edb::Status SettingsStore::write(int field, const SettingsValue& value) {
    return writeFields({{field, value}});
}

edb::Status SettingsStore::writeFields(const std::vector<std::pair<int, SettingsValue>>& fields) {
    for (const auto& [n, v] : fields)
        if (!isSettingsField(n)) return badField(n);
    std::lock_guard lock(mutex_);
    if (auto s = openLocked(); !s.ok()) return s;
    return db_.writeFields(toRecord(fields));
}

std::vector<std::string> SettingsStore::takeNotices() {
    std::lock_guard lock(mutex_);
    return std::exchange(notices_, {});
}

SettingsValue SettingsStore::pageDefault(int field, const std::filesystem::path& specialFolder) {
    const FieldInfo& f = fieldInfo(field);
    if (f.kind == DefaultKind::SpecialFolder) return SettingsValue(specialFolder.string());
    if (f.type == FieldType::Integer) return SettingsValue(edb::FieldValue(f.value).toInt32());
    return SettingsValue(f.value);
}

std::vector<std::pair<int, SettingsValue>>
SettingsStore::firstRunValues(Rect workArea, const std::filesystem::path& specialFolder) {
    const Rect main{workArea.left + (workArea.width - kMainWindowWidth) / 2,
                    workArea.top + (workArea.height - kMainWindowHeight) / 2, kMainWindowWidth,
                    kMainWindowHeight};
    std::vector<std::pair<int, SettingsValue>> values;
    values.reserve(kFieldCount);
    for (const FieldInfo& f : settingsFields()) {
        switch (f.number) {
        case 168:
            values.emplace_back(f.number, main.left);
            break;
        case 169:
            values.emplace_back(f.number, main.top);
            break;
        case 170:
            values.emplace_back(f.number, main.width);
            break;
        case 171:
            values.emplace_back(f.number, main.height);
            break;
        default:
            values.emplace_back(f.number, pageDefault(f.number, specialFolder));
        }
    }
    return values;
}

edb::Status SettingsStore::createFile(const std::filesystem::path& file, Rect workArea) {
    auto created = edb::RecordDatabase::create(file, databasePassword());
    if (!created.ok()) return created.status();
    edb::Status s = created.value().append(toRecord(firstRunValues(workArea, defaultSaveFolder())));
    if (!s.ok()) {
        created.value().close();
        std::error_code ec;
        std::filesystem::remove(file, ec);
    }
    return s;
}

} // namespace qinglan::settings
