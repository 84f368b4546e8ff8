#pragma once
// The XDG autostart entry: qinglan.desktop in $XDG_CONFIG_HOME/autostart (~/.config/autostart
// when unset or not absolute) whose Exec is the program path. The entry is written whole under
// a temporary name and renamed into place, so a crash never leaves half an entry; an entry of
// that name this program did not write is never replaced or removed.

#include <filesystem>

namespace qinglan::platform {

std::filesystem::path autostartEntryPath();

} // namespace qinglan::platform
