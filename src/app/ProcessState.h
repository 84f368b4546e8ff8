#pragma once
#include <string>

namespace qinglan::app {

// Process-wide state shared by start-up, the main window and playback. One window thread
// reads and writes it; no locks.
struct ProcessState {
    // The local path or network address the next open uses (UTF-8).
    std::string currentMedia;
};

ProcessState& processState();

} // namespace qinglan::app
