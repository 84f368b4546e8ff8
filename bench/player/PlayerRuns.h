#pragma once
// What the player benchmarks do with the processes they start: end one, and the first run that
// turns a fresh data folder into a returning user's.
#include "ScreenProbe.h"

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace qinglan::bench {

// SIGTERM, as a desktop session ends a program; SIGKILL after three seconds without an end.
inline void stopProcess(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        sleepMs(10);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// The first run creates the settings store in `dataDir` and saves it on exit, so every measured
// start reads an existing one. `spawn(argv)` starts the player and gives its process id.
template <class Spawn>
bool createReturningUser(Spawn&& spawn, const std::string& player,
                         const std::filesystem::path& dataDir) {
    const pid_t pid = spawn(player);
    const std::filesystem::path store = dataDir / "qinglan" / "mote.edb";
    for (int i = 0; i < 500 && !std::filesystem::exists(store); ++i)
        sleepMs(10);
    sleepMs(1500);
    stopProcess(pid);
    return std::filesystem::exists(store);
}

} // namespace qinglan::bench
