#pragma once
// The value of one numbered field: absent, a text, an integer or (only when another tool
// stored one) a floating-point number.

#include <cstdint>
#include <string>
#include <variant>

namespace qinglan::edb {

class FieldValue {
public:
    FieldValue() = default; // absent
    FieldValue(std::string text) : v_(std::move(text)) {}
    FieldValue(const char* text) : v_(std::string(text)) {}
    FieldValue(std::int32_t n) : v_(static_cast<std::int64_t>(n)) {}
    FieldValue(std::int64_t n) : v_(n) {}
    FieldValue(double d) : v_(d) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isText() const { return std::holds_alternative<std::string>(v_); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(v_); }
    bool isReal() const { return std::holds_alternative<double>(v_); }

    // Text as stored; integers and reals in their shortest decimal form; absent -> "".
    std::string toText() const;
    // Any numeric representation truncated toward zero and clamped to the 32-bit range.
    // Text is read as a decimal number ("12", " -3.9", "1e3"); empty or malformed text -> 0.
    std::int32_t toInt32() const;

    bool operator==(const FieldValue&) const = default;

    const std::string* textIf() const { return std::get_if<std::string>(&v_); }
    const std::int64_t* integerIf() const { return std::get_if<std::int64_t>(&v_); }
    const double* realIf() const { return std::get_if<double>(&v_); }

private:
    std::variant<std::monostate, std::string, std::int64_t, double> v_;
};

// Truncates toward zero and clamps to [INT32_MIN, INT32_MAX]; NaN -> 0.
std::int32_t truncateToInt32(double d);
std::int32_t truncateToInt32(std::int64_t n);

} // namespace qinglan::edb
