#pragma once
// What a start of the player was asked for, and where its two programs lie. Toolkit-free: the
// launcher, which a second start runs before anything else, uses it too.
#include <filesystem>
#include <string>
#include <vector>

namespace qinglan::app {

struct CommandLine {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    // Media paths or network addresses; only the first is ever used.
    std::vector<std::string> media;
};

// Only the exact words "--help" and "--version", as the first argument, are options, and "--"
// ends them. Everything else is media: a file named like an option opens as "./--help" or
// after "--".
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The texts printed for --help and --version, each ending with a newline.
std::string helpText();
std::string versionText();

// A relative path means nothing to a player started in another folder: hand over and keep
// local paths in absolute form. Network addresses and paths that do not exist stay as typed.
std::string absoluteIfLocal(const std::string& arg);

// The toolkit's display platform for this process alone.
struct DisplayChoice {
    // Passed to the toolkit for this process only; empty keeps the user's own choice.
    std::string platform;
    // The player cannot run without an X server: check for one before the toolkit starts.
    bool needsXServer = true;
};
// Window positions, opacity, key grabs and the engine's embedded video window are X11
// features, so the player runs on X11, on a Wayland desktop through XWayland, whatever the
// session would make the toolkit pick. A platform the user chose (QT_QPA_PLATFORM, the
// environment's value or null) is respected.
DisplayChoice chooseDisplay(const char* qtPlatform);

// The one line said when no X server can be reached, ending with a newline; the arguments are
// the environment's DISPLAY and WAYLAND_DISPLAY, null when unset.
std::string noXServerText(const char* display, const char* waylandDisplay);

// The player program the launcher becomes: beside the launcher in the build folder, else in
// the installed libexec folder. The launcher the player's desktop entries name: the reverse,
// or the player itself when no launcher is found.
std::filesystem::path playerProgramFor(const std::filesystem::path& launcher);
std::filesystem::path launcherProgramFor(const std::filesystem::path& player);

// The window class that identifies a running player (the launcher claims and hands over by it),
// and its title.
inline constexpr const char* kWindowClass = "OrvelWindow";
inline constexpr const char* kWindowTitle = "青岚播放器";

inline constexpr const char* kLauncherName = "qinglan";
inline constexpr const char* kPlayerName = "qinglan-player";

} // namespace qinglan::app
