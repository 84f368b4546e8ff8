#pragma once
// SettingsRecord: the in-memory copy of the settings that the rest of the program reads.
// It holds fields 1 to 164, 167 to 205 and 207 (165, 166 and 206 are read from the store where
// they are needed). Until the first successful load every value is empty (text "" / integer 0).

#include "edb/Status.h"
#include "settings/SettingsValue.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qinglan::settings {

class SettingsStore;

class SettingsRecord {
public:
    SettingsRecord();

    // Opens the store and reads the held fields in ascending order. On failure the previous
    // values stay as they were.
    edb::Status load(SettingsStore& store);
    bool isLoaded() const { return loaded_; }

    // The loaded value; fields not held (and numbers outside 1..207) read as the empty text.
    const SettingsValue& get(int field) const;
    std::string text(int field) const { return get(field).toText(); }
    std::int32_t integer(int field) const { return get(field).toInt(); }
    // Only exactly "1" is on.
    bool isOn(int field) const { return get(field).isOn(); }

private:
    std::vector<SettingsValue> values_; // index = field number
    bool loaded_ = false;
};

// Any field's current value: the loaded copy for the fields it holds, the file for the three
// it does not (165, 166, 206). Empty when there is no store or the file cannot be read.
SettingsValue currentValue(const SettingsRecord& record, SettingsStore* store, int field);

} // namespace qinglan::settings
