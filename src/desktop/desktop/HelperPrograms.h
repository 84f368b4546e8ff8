#pragma once
// Where the player finds the helper programs it starts (the add-files helper). In a build folder
// a helper lies beside the player; installed, helpers live in the program's own folder under
// libexec, found from the player's folder by the same relative path wherever the installation
// was put.

#include <filesystem>
#include <string_view>

namespace qinglan::desktop {

// The helpers' folder as seen from the installed player's folder ("../libexec/qinglan").
std::filesystem::path installedHelperFolder();

// The helper `name` for a player in `programDir`: beside it when it is there, else in the
// installed helpers' folder when it is there, else the path beside the player (starting it then
// fails quietly, as with any missing helper).
std::filesystem::path helperProgram(const std::filesystem::path& programDir, std::string_view name);

} // namespace qinglan::desktop
