// Single-instance hand-off over a per-user local socket in Linux's abstract namespace.
//
// Why abstract: the name disappears with the process that bound it, so a primary killed
// with SIGKILL never leaves a stale socket file that blocks the next start. Abstract names
// carry no file permissions, so the primary checks every peer's user id (SO_PEERCRED).
// A lock file serialises "try to connect, else bind" so that racing starts agree on one
// primary. Wire format: 4-byte big-endian length, then the UTF-8 text.
#include "platform/linux/InstanceSocket.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace qinglan::platform::instance_socket {
namespace {

constexpr int kSendTimeoutMs = 1500;

std::string socketName(const std::string& identity) {
    return identity + "-" + std::to_string(getuid());
}

std::string lockPath(const std::string& identity) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string dir = (runtime && *runtime) ? runtime : "/tmp";
    return dir + "/" + identity + "-" + std::to_string(getuid()) + ".lock";
}

sockaddr_un abstractAddress(const std::string& name, socklen_t& len) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    // sun_path[0] == 0 marks the abstract namespace; the name follows without terminator.
    const std::size_t n = std::min(name.size(), sizeof(addr.sun_path) - 1);
    std::memcpy(addr.sun_path + 1, name.data(), n);
    len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
    return addr;
}

// Holds an exclusive flock for the scope. A lock file owned by another user or reached
// through a symlink is not trusted; the claim then goes on without the lock, which only
// loses protection against a race, never correctness of a single start.
class ScopedLock {
public:
    explicit ScopedLock(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd_ < 0) return;
        struct stat st {};
        if (fstat(fd_, &st) != 0 || st.st_uid != getuid()) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
        while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~ScopedLock() {
        if (fd_ >= 0) ::close(fd_); // closing releases the lock
    }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    int fd_ = -1;
};

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

int connectToPrimary(const std::string& identity) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    socklen_t len;
    sockaddr_un addr = abstractAddress(socketName(identity), len);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

Claim claim(const std::string& identity) {
    if (int fd = takeHandedDown(identity); fd >= 0) return {InstanceChannel::Role::Primary, fd};
    ScopedLock lock(lockPath(identity));
    if (int fd = connectToPrimary(identity); fd >= 0) return {InstanceChannel::Role::Secondary, fd};
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return {};
    socklen_t len;
    sockaddr_un addr = abstractAddress(socketName(identity), len);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        // Bound by a primary that does not accept yet: it is there, so we are second.
        if (int again = connectToPrimary(identity); again >= 0)
            return {InstanceChannel::Role::Secondary, again};
        return {};
    }
    return {InstanceChannel::Role::Primary, fd};
}

bool send(int fd, const std::string& identity, const std::string& utf8) {
    if (fd < 0) fd = connectToPrimary(identity);
    if (fd < 0) return false;
    timeval tv{kSendTimeoutMs / 1000, (kSendTimeoutMs % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    const auto size = static_cast<std::uint32_t>(utf8.size());
    const char header[4] = {char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
    const bool ok = writeAll(fd, header, 4) && writeAll(fd, utf8.data(), size);
    ::shutdown(fd, SHUT_WR);
    ::close(fd);
    return ok;
}

int takeHandedDown(const std::string& identity) {
    // Only a listening socket bound to exactly our name counts: nothing but our own launcher
    // can have given this process such a descriptor, so a stray one left open by whoever
    // started us is never mistaken for a claim.
    const int fd = kHandedDownFd;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISSOCK(st.st_mode)) return -1;
    int value = 0;
    socklen_t size = sizeof value;
    if (getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &value, &size) != 0 || value != 1) return -1;
    sockaddr_un bound{};
    socklen_t boundLen = sizeof bound;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &boundLen) != 0) return -1;
    socklen_t ourLen;
    const sockaddr_un ours = abstractAddress(socketName(identity), ourLen);
    if (boundLen != ourLen || std::memcmp(&bound, &ours, ourLen) != 0) return -1;
    fcntl(fd, F_SETFD, FD_CLOEXEC);
    return fd;
}

void execWithClaim(int listeningFd, const std::string& program,
                   const std::vector<std::string>& args) {
    if (listeningFd >= 0) {
        if (listeningFd != kHandedDownFd) {
            // dup2 leaves the copy without close-on-exec; the original goes with the exec.
            if (dup2(listeningFd, kHandedDownFd) < 0) return;
        } else {
            fcntl(kHandedDownFd, F_SETFD, 0);
        }
    }
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    const int error = errno;
    // Still this process: the claim stays ours; the caller reports the failure and ends.
    if (listeningFd >= 0 && listeningFd != kHandedDownFd) ::close(kHandedDownFd);
    errno = error;
}

} // namespace qinglan::platform::instance_socket
