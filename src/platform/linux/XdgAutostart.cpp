#include "platform/Autostart.h"
#include "platform/linux/XdgBaseDirs.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace qinglan::platform {

namespace {

// Marks an entry as ours; an entry of that name without it belongs to someone else.
constexpr const char* kOwnerKey = "X-Qinglan-Autostart=true";

// The Exec key's quoting: the path in double quotes with ", `, $ and \ escaped, % doubled.
std::string quotedExec(const std::string& path) {
    std::string out = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += "\\\\";
        if (c == '%') out += '%';
        out += c;
    }
    return out + "\"";
}

bool isOurs(const std::filesystem::path& entry) {
    std::ifstream in(entry);
    std::string line;
    while (std::getline(in, line))
        if (line == kOwnerKey) return true;
    return false;
}

bool writeWhole(const std::filesystem::path& entry, const std::string& text) {
    const std::string tmp = entry.string() + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = std::rename(tmp.c_str(), entry.c_str()) == 0;
    if (!ok) ::unlink(tmp.c_str());
    return ok;
}

} // namespace

std::filesystem::path autostartEntryPath() {
    return xdgConfigHome() / "autostart" / "qinglan.desktop";
}

bool applyAutostart(bool on, const std::filesystem::path& program) {
    const auto entry = autostartEntryPath();
    std::error_code ec;
    if (!on) {
        if (!std::filesystem::exists(entry, ec) || !isOurs(entry)) return true;
        return std::filesystem::remove(entry, ec);
    }
    std::filesystem::create_directories(entry.parent_path(), ec);
    std::ostringstream text;
    text << "[Desktop Entry]\n"
         << "Type=Application\n"
         << "Name=青岚播放器\n"
         << "Exec=" << quotedExec(program.string()) << "\n"
         << "Terminal=false\n"
         << kOwnerKey << "\n";
    return writeWhole(entry, text.str());
}

} // namespace qinglan::platform
