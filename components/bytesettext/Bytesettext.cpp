#include "bytesettext/Bytesettext.h"

#include <cstdint>

namespace qinglan {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Parses one item; returns an error text or empty.
std::string parseCode(std::string_view item, std::uint32_t& cp) {
    std::string_view digits = trimmed(item);
    if (digits.empty()) return "empty character code";
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return "not a decimal character code: \"" + std::string(item) + "\"";
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 0x10FFFF) return "character code out of range: \"" + std::string(item) + "\"";
    }
    if (value == 0) return "character code 0 is not allowed";
    if (value >= 0xD800 && value <= 0xDFFF)
        return "character code is a surrogate: \"" + std::string(item) + "\"";
    cp = static_cast<std::uint32_t>(value);
    return {};
}

} // namespace

BytesettextResult Bytesettext(std::string_view codes) {
    BytesettextResult result;
    if (trimmed(codes).empty()) {
        result.error = "no character codes given";
        return result;
    }
    std::size_t start = 0;
    while (true) {
        std::size_t comma = codes.find(',', start);
        std::string_view item = codes.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        std::uint32_t cp = 0;
        if (std::string err = parseCode(item, cp); !err.empty()) {
            result.text.clear();
            result.error = std::move(err);
            return result;
        }
        appendUtf8(result.text, cp);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return result;
}

} // namespace qinglan
