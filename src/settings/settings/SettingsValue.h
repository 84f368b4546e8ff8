#pragma once
// The value of one settings field: a text (text fields) or a 32-bit integer (integer fields).

#include <cstdint>
#include <string>
#include <variant>

namespace qinglan::settings {

class SettingsValue {
public:
    SettingsValue() = default; // the empty text
    SettingsValue(std::string text) : v_(std::move(text)) {}
    SettingsValue(const char* text) : v_(std::string(text)) {}
    SettingsValue(std::int32_t n) : v_(n) {}

    bool isInteger() const { return std::holds_alternative<std::int32_t>(v_); }
    // Text as stored, or the integer in decimal.
    std::string toText() const;
    // The integer, or the text read as a number truncated toward zero (empty/malformed -> 0).
    std::int32_t toInt() const;
    // A flag is on only when the text is exactly "1".
    bool isOn() const;

    bool operator==(const SettingsValue&) const = default;

private:
    std::variant<std::string, std::int32_t> v_;
};

} // namespace qinglan::settings
