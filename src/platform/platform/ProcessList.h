#pragma once
// Which programs are running, by executable file name.

#include <string>
#include <string_view>
#include <vector>

namespace qinglan::platform {

class ProcessList {
public:
    virtual ~ProcessList() = default;
    // The executable file name (no folder) of every running process that can be seen.
    virtual std::vector<std::string> executableNames() const = 0;
};

// Linux: /proc/<pid>/exe, or the first word of /proc/<pid>/cmdline where the link cannot be
// read. The kernel's short process name is cut at 15 characters and is never used.
// Windows: a Toolhelp snapshot's executable names ("upgrade.exe").
const ProcessList& systemProcessList();

// True when some process's executable name equals `name`; without case sensitivity both are
// compared in lower case. An empty list (no /proc) answers false. On Windows a name without an
// extension also matches its ".exe", the file the system runs for it.
bool isProcessRunning(const ProcessList& processes, std::string_view name, bool caseSensitive);
bool isProcessRunning(std::string_view name, bool caseSensitive);

} // namespace qinglan::platform
