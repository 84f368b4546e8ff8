#pragma once
// Where the player keeps mote.edb and means.edb, and the database password they share.

#include <filesystem>
#include <string>

namespace qinglan::settings {

// The folder of the running executable.
std::filesystem::path programDirectory();

// Portable mode: `programDir` when a mote.edb already exists there. Otherwise
// $XDG_DATA_HOME/qinglan, or ~/.local/share/qinglan when XDG_DATA_HOME is unset or not absolute.
// The folder is not created here.
std::filesystem::path dataDirectory(const std::filesystem::path& programDir);

constexpr const char* kSettingsFileName = "mote.edb";
constexpr const char* kListFileName = "means.edb";

// The default save folder of screenshots and transcodes (the shell's special folder of kind 3):
// the user's XDG desktop folder when it exists, else the home folder.
std::filesystem::path defaultSaveFolder();

// The password of both database files, built at run time from its character codes.
std::string databasePassword();

} // namespace qinglan::settings
