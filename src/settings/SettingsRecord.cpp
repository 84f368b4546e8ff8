#include "settings/SettingsRecord.h"

#include "settings/SettingsFields.h"
#include "settings/SettingsStore.h"

namespace qinglan::settings {

SettingsRecord::SettingsRecord() : values_(kFieldCount + 1) {
    for (int n : recordFields())
        if (isIntegerField(n))
            values_[static_cast<std::size_t>(n)] = SettingsValue(std::int32_t{0});
}

edb::Status SettingsRecord::load(SettingsStore& store) {
    auto all = store.readAll();
    if (!all.ok()) return all.status();
    for (int n : recordFields())
        values_[static_cast<std::size_t>(n)] = all.value()[static_cast<std::size_t>(n - 1)];
    loaded_ = true;
    return {};
}

const SettingsValue& SettingsRecord::get(int field) const {
    static const SettingsValue empty;
    if (!isRecordField(field)) return empty;
    return values_[static_cast<std::size_t>(field)];
}

SettingsValue currentValue(const SettingsRecord& record, SettingsStore* store, int field) {
    if (isRecordField(field)) return record.get(field);
    if (!store || !isSettingsField(field)) return {};
    auto value = store->read(field);
    return value.ok() ? value.value() : SettingsValue{};
}

} // namespace qinglan::settings
