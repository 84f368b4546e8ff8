#include "settings/SettingsValue.h"

#include "edb/FieldValue.h"

namespace qinglan::settings {

std::string SettingsValue::toText() const {
    if (const auto* n = std::get_if<std::int32_t>(&v_)) return std::to_string(*n);
    return std::get<std::string>(v_);
}

std::int32_t SettingsValue::toInt() const {
    if (const auto* n = std::get_if<std::int32_t>(&v_)) return *n;
    return edb::FieldValue(std::get<std::string>(v_)).toInt32();
}

bool SettingsValue::isOn() const {
    const auto* t = std::get_if<std::string>(&v_);
    return t && *t == "1";
}

} // namespace qinglan::settings
