#pragma once
#include <string>
#include <vector>

namespace qinglan::platform {
class InstanceChannel;
}

namespace qinglan::app {

enum class StartDecision { BecomePrimary, HandedOver };

// Decides whether this process runs the player. A secondary hands its first argument (if
// any) to the running player and must then end with code 0; a primary keeps the first
// argument as the current media. Only the first argument ever counts.
StartDecision decideStart(const std::vector<std::string>& args, platform::InstanceChannel& channel);

// The whole process: start-up, main window, message loop. Returns the exit code: 0, or 1 when
// there is no X server to show the player on.
int runPlayer(int argc, char** argv);

} // namespace qinglan::app
