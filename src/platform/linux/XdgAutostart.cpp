#include "platform/linux/XdgAutostart.h"
#include "platform/Autostart.h"
#include "platform/linux/DesktopEntryText.h"
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

bool isOurs(const std::filesystem::path& entry) {
    std::ifstream in(entry);
    std::string line;
    while (std::getline(in, line))
        if (line == kOwnerKey) return true;
    return false;
}

// Writes `text` whole beside `entry` and puts it in place: over our own entry, or where there
// is none yet. An entry that appears meanwhile is not replaced (link() never overwrites).
bool writeWhole(const std::filesystem::path& entry, const std::string& text, bool replace) {
    const std::string tmp = entry.string() + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok && replace) {
        ok = std::rename(tmp.c_str(), entry.c_str()) == 0;
        if (ok) return true;
    } else if (ok) {
        ok = ::link(tmp.c_str(), entry.c_str()) == 0;
    }
    ::unlink(tmp.c_str());
    return ok;
}

class XdgAutostart final : public Autostart {
public:
    bool apply(bool on, const std::filesystem::path& program) override {
        const auto entry = autostartEntryPath();
        std::error_code ec;
        const bool exists = std::filesystem::exists(std::filesystem::symlink_status(entry, ec));
        if (exists && !isOurs(entry)) return !on; // someone else's entry: never touched
        if (!on) return !exists || std::filesystem::remove(entry, ec);
        std::filesystem::create_directories(entry.parent_path(), ec);
        std::ostringstream text;
        text << "[Desktop Entry]\n"
             << "Type=Application\n"
             << "Name=" << desktopEntryString("青岚播放器") << "\n"
             << "Exec=" << desktopEntryExec(program.string()) << "\n"
             << "Terminal=false\n"
             << kOwnerKey << "\n";
        return writeWhole(entry, text.str(), exists);
    }
};

} // namespace

std::filesystem::path autostartEntryPath() {
    return xdgConfigHome() / "autostart" / "qinglan.desktop";
}

std::unique_ptr<Autostart> makeAutostart() {
    return std::make_unique<XdgAutostart>();
}

} // namespace qinglan::platform
