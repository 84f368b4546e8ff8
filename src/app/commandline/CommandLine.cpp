#include "app/CommandLine.h"

#include <qinglan/Version.h>

#include <string_view>

namespace qinglan::app {

namespace fs = std::filesystem;

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine c;
    auto first = args.begin();
    if (first != args.end()) {
        if (*first == "--help") return {CommandLine::Action::Help, {}};
        if (*first == "--version") return {CommandLine::Action::Version, {}};
        if (*first == "--") ++first;
    }
    c.media.assign(first, args.end());
    return c;
}

std::string helpText() {
    return "usage: qinglan [FILE | ADDRESS]\n"
           "       qinglan -- FILE\n"
           "Plays a media file or a network address in 青岚播放器. When the player runs already,\n"
           "the file is handed to it and this start ends. A file whose name begins with \"-\"\n"
           "is given after \"--\" or as ./NAME.\n"
           "  --help     print this text\n"
           "  --version  print the version\n";
}

std::string versionText() {
    return std::string("qinglan ") + kVersion + "\n";
}

std::string absoluteIfLocal(const std::string& arg) {
    if (arg.empty() || arg.find("://") != std::string::npos || arg.front() == '/') return arg;
    std::error_code ec;
    const fs::path p(arg);
    if (!fs::exists(p, ec)) return arg;
    const auto abs = fs::absolute(p, ec);
    return ec ? arg : abs.lexically_normal().string();
}

DisplayChoice chooseDisplay(const char* qtPlatform) {
    if (!qtPlatform || !*qtPlatform) return {"xcb", true};
    // The toolkit takes a list ("wayland;xcb") and tries its entries in turn; an X server is
    // needed only when X11 comes first.
    const std::string_view chosen(qtPlatform);
    return {"", chosen.substr(0, chosen.find(';')) == "xcb"};
}

std::string noXServerText(const char* display, const char* waylandDisplay) {
    std::string line = "qinglan: ";
    if (display && *display)
        line += std::string("cannot reach the X server at DISPLAY=") + display;
    else
        line += "no X server to show the player on (DISPLAY is not set)";
    if (waylandDisplay && *waylandDisplay)
        line += "; on a Wayland desktop 青岚播放器 runs through XWayland, which is not running";
    return line + "\n";
}

fs::path playerProgramFor(const fs::path& launcher) {
    std::error_code ec;
    const auto dir = launcher.parent_path();
    if (fs::is_regular_file(dir / kPlayerName, ec)) return dir / kPlayerName;
    return (dir / QINGLAN_PLAYER_FROM_LAUNCHER / kPlayerName).lexically_normal();
}

fs::path launcherProgramFor(const fs::path& player) {
    std::error_code ec;
    const auto dir = player.parent_path();
    if (fs::is_regular_file(dir / kLauncherName, ec)) return dir / kLauncherName;
    const auto installed = (dir / QINGLAN_LAUNCHER_FROM_PLAYER / kLauncherName).lexically_normal();
    return fs::is_regular_file(installed, ec) ? installed : player;
}

} // namespace qinglan::app
