#include "platform/ProcessList.h"

#include <QString>

#include <dirent.h>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace qinglan::platform {

namespace {

std::string baseName(std::string path) {
    // A replaced or deleted executable still names its old file.
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.size() > kDeleted.size() && path.ends_with(kDeleted))
        path.resize(path.size() - kDeleted.size());
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class ProcProcessList : public ProcessList {
public:
    std::vector<std::string> executableNames() const override {
        std::vector<std::string> names;
        DIR* proc = ::opendir("/proc");
        if (!proc) return names;
        while (const dirent* e = ::readdir(proc)) {
            const std::string pid = e->d_name;
            if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
            const std::string base = "/proc/" + pid;
            char target[4096];
            const ssize_t n = ::readlink((base + "/exe").c_str(), target, sizeof target - 1);
            if (n > 0) {
                names.push_back(baseName(std::string(target, static_cast<std::size_t>(n))));
                continue;
            }
            // Another user's process: its command line still names the program.
            std::ifstream cmdline(base + "/cmdline", std::ios::binary);
            std::string argv0;
            std::getline(cmdline, argv0, '\0');
            if (!argv0.empty()) names.push_back(baseName(argv0));
        }
        ::closedir(proc);
        return names;
    }
};

std::string lower(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .toLower()
        .toStdString();
}

} // namespace

const ProcessList& systemProcessList() {
    static const ProcProcessList list;
    return list;
}

bool isProcessRunning(const ProcessList& processes, std::string_view name, bool caseSensitive) {
    const std::string wanted = caseSensitive ? std::string(name) : lower(name);
    for (const auto& n : processes.executableNames())
        if ((caseSensitive ? n : lower(n)) == wanted) return true;
    return false;
}

bool isProcessRunning(std::string_view name, bool caseSensitive) {
    return isProcessRunning(systemProcessList(), name, caseSensitive);
}

} // namespace qinglan::platform
