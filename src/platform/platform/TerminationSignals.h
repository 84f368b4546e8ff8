#pragma once
#include <functional>

namespace qinglan::platform {

// Delivers the system's polite end requests (SIGTERM and SIGINT on Linux) on the Qt event
// loop of the calling thread, so the player can run its ordinary shutdown instead of dying
// mid-write. Call once, after the application object exists.
void onTerminationRequest(std::function<void()> handler);

} // namespace qinglan::platform
