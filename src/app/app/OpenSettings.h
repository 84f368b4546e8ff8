#pragma once
#include <settings/Rect.h>

#include <string>
#include <vector>

namespace qinglan::app {

// Opens the settings file for this run (creating or recovering it) and loads the in-memory
// copy. Returns the notices for the user about files that had to be set aside. When the file
// cannot be opened, the store is kept closed for the rest of the run and a notice says so.
std::vector<std::string> openSettings(const settings::Rect& workArea);

} // namespace qinglan::app
