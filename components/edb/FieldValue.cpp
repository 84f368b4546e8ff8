#include "edb/FieldValue.h"
#include "edb/Status.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace qinglan::edb {

std::int32_t truncateToInt32(double d) {
    if (std::isnan(d)) return 0;
    double t = std::trunc(d);
    if (t <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (t >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(t);
}

std::int32_t truncateToInt32(std::int64_t n) {
    if (n < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (n > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(n);
}

namespace {

// Reads a whole decimal number (blanks around it allowed). Integers are read exactly so that
// large 64-bit values are not rounded through double; anything else is read as a double in the
// "C" notation whatever the locale (from_chars never looks at it).
std::int32_t textToInt32(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    if (b == e) return 0;
    const char* first = s.data() + b;
    const char* last = s.data() + e;
    const char* digits = (*first == '+') ? first + 1 : first;
    std::int64_t n = 0;
    auto [p, ec] = std::from_chars(digits, last, n);
    if (ec == std::errc() && p == last) return truncateToInt32(n);
    double d = 0;
    auto [p2, ec2] = std::from_chars(digits, last, d);
    if (ec2 == std::errc() && p2 == last) return truncateToInt32(d);
    if (ec2 == std::errc::result_out_of_range)
        return (*digits == '-') ? std::numeric_limits<std::int32_t>::min()
                                : std::numeric_limits<std::int32_t>::max();
    return 0;
}

} // namespace

std::string FieldValue::toText() const {
    if (const auto* t = textIf()) return *t;
    if (const auto* n = integerIf()) return std::to_string(*n);
    if (const auto* d = realIf()) {
        char buf[64];
        auto [p, ec] = std::to_chars(buf, buf + sizeof buf, *d);
        return ec == std::errc() ? std::string(buf, p) : std::string();
    }
    return {};
}

std::int32_t FieldValue::toInt32() const {
    if (const auto* n = integerIf()) return truncateToInt32(*n);
    if (const auto* d = realIf()) return truncateToInt32(*d);
    if (const auto* t = textIf()) return textToInt32(*t);
    return 0;
}

const char* errorCodeName(ErrorCode code) {
    switch (code) {
    case ErrorCode::Ok:
        return "ok";
    case ErrorCode::Missing:
        return "missing";
    case ErrorCode::NotADatabase:
        return "not a database";
    case ErrorCode::WrongPassword:
        return "wrong password";
    case ErrorCode::Corrupt:
        return "corrupt";
    case ErrorCode::NoRecord:
        return "no record";
    case ErrorCode::InvalidArgument:
        return "invalid argument";
    case ErrorCode::Busy:
        return "busy";
    case ErrorCode::ReadOnly:
        return "read-only";
    case ErrorCode::AlreadyExists:
        return "already exists";
    case ErrorCode::Io:
        return "i/o error";
    }
    return "unknown";
}

} // namespace qinglan::edb
