#pragma once
// The user's XDG base folders, as every XDG reader finds them.
#include <cstdlib>
#include <filesystem>

namespace qinglan::platform {

// $`variable` (XDG_DATA_HOME, XDG_CONFIG_HOME ...), or `fallback` under $HOME when it is unset,
// empty or not absolute (the base directory rules ignore a relative value).
inline std::filesystem::path xdgHome(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && *value && std::filesystem::path(value).is_absolute()) return value;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "") / fallback;
}

inline std::filesystem::path xdgDataHome() {
    return xdgHome("XDG_DATA_HOME", ".local/share");
}
inline std::filesystem::path xdgConfigHome() {
    return xdgHome("XDG_CONFIG_HOME", ".config");
}

} // namespace qinglan::platform
