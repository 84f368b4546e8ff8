#pragma once
// Reading and clearing the current user's registry in tests, with the plain wide API: a key's
// whole subtree as text, to compare before and after.
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qinglan::test {

// Every value under `path` (subkeys included) as "subkey\name" -> type and bytes; empty keys
// show as "subkey\" -> "".
inline std::map<std::wstring, std::wstring> dumpTree(HKEY root, const std::wstring& path) {
    std::map<std::wstring, std::wstring> out;
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
    out[path + L"\\"] = L"";
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameSize = 16384, type = 0, size = 0;
        if (RegEnumValueW(key, i, name, &nameSize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(size);
        nameSize = 16384;
        RegEnumValueW(key, i, name, &nameSize, nullptr, &type, data.data(), &size);
        std::wstring text = std::to_wstring(type) + L":";
        for (BYTE b : data)
            text += std::to_wstring(b) + L",";
        out[path + L"\\" + name] = text;
    }
    std::vector<std::wstring> subkeys;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameSize = 256;
        if (RegEnumKeyExW(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        subkeys.push_back(name);
    }
    RegCloseKey(key);
    for (const auto& sub : subkeys)
        out.merge(dumpTree(root, path + L"\\" + sub));
    return out;
}

inline std::optional<std::wstring> readText(HKEY root, const std::wstring& path,
                                            const wchar_t* name = nullptr) {
    wchar_t data[32768];
    DWORD size = sizeof data, type = 0;
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    const LSTATUS status =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    return std::wstring(data, size / sizeof(wchar_t) - (size >= 2 ? 1 : 0));
}

inline void writeText(HKEY root, const std::wstring& path, const wchar_t* name,
                      const std::wstring& text) {
    HKEY key;
    RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

inline void removeTree(HKEY root, const std::wstring& path) {
    RegDeleteTreeW(root, path.c_str());
    RegDeleteKeyW(root, path.c_str());
}

} // namespace qinglan::test
