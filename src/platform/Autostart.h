#pragma once
// Start with the user's session: an XDG autostart entry qinglan.desktop in
// $XDG_CONFIG_HOME/autostart (~/.config/autostart when unset or not absolute) whose Exec is the
// program path. The entry is written whole under a temporary name and renamed into place, so
// a crash never leaves half an entry. Only an entry this program wrote is ever removed.

#include <filesystem>

namespace qinglan::platform {

std::filesystem::path autostartEntryPath();

// On: writes the entry for `program`; off: removes our entry if there is one. Failures are
// silent (false).
bool applyAutostart(bool on, const std::filesystem::path& program);

} // namespace qinglan::platform
