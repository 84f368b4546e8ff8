#pragma once
// The user's XDG base folders, as every XDG reader finds them.
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

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

// The system's data folders, most important first: the absolute folders of $XDG_DATA_DIRS, or
// /usr/local/share and /usr/share when it names none.
inline std::vector<std::filesystem::path> xdgDataDirs() {
    std::vector<std::filesystem::path> dirs;
    const char* value = std::getenv("XDG_DATA_DIRS");
    std::istringstream list(value ? value : "");
    std::string dir;
    while (std::getline(list, dir, ':'))
        if (std::filesystem::path(dir).is_absolute()) dirs.emplace_back(dir);
    if (dirs.empty()) dirs = {"/usr/local/share", "/usr/share"};
    return dirs;
}

} // namespace qinglan::platform
