#pragma once
// Where the running program's file lies: the player finds its helpers, its settings folder and
// the program the desktop entries start from it.

#include <filesystem>

namespace qinglan::platform {

// The running program's file, absolute; empty when the system does not say.
// Linux: the /proc/self/exe link. Windows: GetModuleFileNameW of the program itself.
std::filesystem::path programFile();

} // namespace qinglan::platform
