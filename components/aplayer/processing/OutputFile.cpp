#include "OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qinglan::aplayer::processing {

bool pathExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string freeOutputName(const std::string& wanted,
                           const std::function<bool(const std::string&)>& exists) {
    if (!exists(wanted)) return wanted;
    const auto slash = wanted.rfind('/');
    auto dot = wanted.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
        dot == (slash == std::string::npos ? 0 : slash + 1))
        dot = wanted.size(); // no extension (or a hidden file's leading dot)
    const std::string stem = wanted.substr(0, dot), extension = wanted.substr(dot);
    for (int n = 2;; ++n) {
        std::string candidate = stem + " (" + std::to_string(n) + ")" + extension;
        if (!exists(candidate)) return candidate;
    }
}

std::string outputFolderProblem(const std::string& wanted) {
    if (wanted.empty()) return "未设置输出文件";
    if (wanted.find('/') == std::string::npos) return "未设置保存目录";
    if (wanted.front() != '/') return "保存目录不是绝对路径";
    return {};
}

OutputFile::~OutputFile() {
    discard();
}

bool OutputFile::create(std::string& reason) {
    const auto slash = wanted_.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : wanted_.substr(0, slash);
    const std::string base = slash == std::string::npos ? wanted_ : wanted_.substr(slash + 1);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        reason = "no folder " + folder;
        return false;
    }
    // Hidden, and with an ending no player takes for a finished file.
    for (int n = 0; n < 100; ++n) {
        std::string candidate = folder + "/." + base + (n ? "." + std::to_string(n) : "") + ".part";
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            temp_ = candidate;
            return true;
        }
        if (errno != EEXIST) {
            reason = std::string("cannot write in ") + folder + " (" + std::strerror(errno) + ")";
            return false;
        }
    }
    reason = "cannot write in " + folder;
    return false;
}

bool OutputFile::commit(std::string& reason) {
    if (temp_.empty()) return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string target = freeOutputName(wanted_, pathExists);
        // Only a name still free is taken: a file made meanwhile is never replaced.
        if (::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
            final_ = target;
            temp_.clear();
            return true;
        }
        if (errno == EEXIST) continue;
        if (errno != EINVAL && errno != ENOSYS) break;
        // A file system without the no-replace rename: a hard link fails on an existing name.
        if (::link(temp_.c_str(), target.c_str()) == 0) {
            ::unlink(temp_.c_str());
            final_ = target;
            temp_.clear();
            return true;
        }
        if (errno != EEXIST) break;
    }
    reason = std::string("cannot name the output (") + std::strerror(errno) + ")";
    return false;
}

void OutputFile::discard() {
    if (temp_.empty()) return;
    ::unlink(temp_.c_str());
    temp_.clear();
}

} // namespace qinglan::aplayer::processing
