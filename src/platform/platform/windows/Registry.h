#pragma once
// The few registry operations the backends need, on wide names: an owned key handle and text
// values. A value name of nullptr (or "") is the key's default value.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qinglan::platform::registry {

class Key {
public:
    Key() = default;
    explicit Key(HKEY key) : key_(key) {}
    ~Key() {
        if (key_) RegCloseKey(key_);
    }
    Key(Key&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    Key& operator=(Key&& other) noexcept {
        std::swap(key_, other.key_);
        return *this;
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

inline Key open(HKEY root, const std::wstring& path, REGSAM access = KEY_READ) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return Key();
    return Key(key);
}

// Opens the key for writing, creating it and the keys above it as needed. `created` tells
// whether the key itself is new.
inline Key create(HKEY root, const std::wstring& path, bool* created = nullptr) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return Key();
    if (created) *created = disposition == REG_CREATED_NEW_KEY;
    return Key(key);
}

// A value's type and bytes, or nothing when it is absent.
struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
inline std::optional<Value> readValue(HKEY key, const wchar_t* name) {
    if (!key) return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    Value value{type, std::vector<BYTE>(size)};
    if (RegQueryValueExW(key, name, nullptr, &type, value.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

// A text value (REG_SZ or REG_EXPAND_SZ, unexpanded) without its terminating zero; nothing
// when it is absent or of another type.
inline std::optional<std::wstring> readText(HKEY key, const wchar_t* name) {
    const auto value = readValue(key, name);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) return std::nullopt;
    std::wstring text(reinterpret_cast<const wchar_t*>(value->data.data()),
                      value->data.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

inline bool writeValue(HKEY key, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    return RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

// Writes a REG_SZ value unless it holds that text already.
inline bool writeText(HKEY key, const wchar_t* name, const std::wstring& text) {
    if (readText(key, name) == text) return true;
    return writeValue(key, name, REG_SZ, text.c_str(),
                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

inline bool deleteValue(HKEY key, const wchar_t* name) {
    const LSTATUS status = RegDeleteValueW(key, name);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

// True when the key holds neither values nor subkeys.
inline bool isEmpty(HKEY key) {
    DWORD subkeys = 0, values = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    return subkeys == 0 && values == 0;
}

// Removes a key with everything under it; a key that is not there counts as removed.
inline bool deleteTree(HKEY root, const std::wstring& path) {
    const LSTATUS tree = RegDeleteTreeW(root, path.c_str());
    if (tree != ERROR_SUCCESS && tree != ERROR_FILE_NOT_FOUND) return false;
    const LSTATUS key = RegDeleteKeyW(root, path.c_str());
    return key == ERROR_SUCCESS || key == ERROR_FILE_NOT_FOUND;
}

} // namespace qinglan::platform::registry
