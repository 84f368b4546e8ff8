// Single-instance hand-off over a per-user local socket in Linux's abstract namespace.
//
// Why abstract: the name disappears with the process that bound it, so a primary killed
// with SIGKILL never leaves a stale socket file that blocks the next start. Abstract names
// carry no file permissions, so the primary checks every peer's user id (SO_PEERCRED).
// A lock file serialises "try to connect, else bind" so that racing starts agree on one
// primary. Wire format: 4-byte big-endian length, then the UTF-8 text.
#include "platform/InstanceChannel.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace qinglan::platform {
namespace {

constexpr int kSendTimeoutMs = 1500;
constexpr int kReceiveTimeoutMs = 2000;

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

class LocalSocketInstanceChannel final : public InstanceChannel {
public:
    explicit LocalSocketInstanceChannel(std::string identity)
        : identity_(std::move(identity)), socketName_(identity_ + "-" + std::to_string(getuid())) {}

    ~LocalSocketInstanceChannel() override {
        delete server_;
        if (listenFd_ >= 0 && !server_) ::close(listenFd_);
    }

    Role claim() override {
        ScopedLock lock(lockPath(identity_));
        if (int fd = connectToPrimary(); fd >= 0) {
            connectedFd_ = fd;
            return Role::Secondary;
        }
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return Role::Failed;
        socklen_t len;
        sockaddr_un addr = abstractAddress(socketName_, len);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || ::listen(fd, 16) != 0) {
            ::close(fd);
            // Bound by a primary that does not accept yet: it is there, so we are second.
            if (int again = connectToPrimary(); again >= 0) {
                connectedFd_ = again;
                return Role::Secondary;
            }
            return Role::Failed;
        }
        listenFd_ = fd;
        return Role::Primary;
    }

    bool send(const std::string& utf8) override {
        if (connectedFd_ < 0) connectedFd_ = connectToPrimary();
        if (connectedFd_ < 0) return false;
        timeval tv{kSendTimeoutMs / 1000, (kSendTimeoutMs % 1000) * 1000};
        setsockopt(connectedFd_, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
        const auto size = static_cast<std::uint32_t>(utf8.size());
        const char header[4] = {char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
        const bool ok =
            writeAll(connectedFd_, header, 4) && writeAll(connectedFd_, utf8.data(), size);
        ::shutdown(connectedFd_, SHUT_WR);
        ::close(connectedFd_);
        connectedFd_ = -1;
        return ok;
    }

    void startReceiving(std::function<void(const std::string&)> receiver) override {
        if (listenFd_ < 0 || server_) return;
        receiver_ = std::move(receiver);
        server_ = new QLocalServer;
        server_->listen(listenFd_);
        server_->setMaxPendingConnections(16);
        QObject::connect(server_, &QLocalServer::newConnection, server_, [this] {
            while (QLocalSocket* peer = server_->nextPendingConnection())
                accept(peer);
        });
    }

private:
    int connectToPrimary() const {
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return -1;
        socklen_t len;
        sockaddr_un addr = abstractAddress(socketName_, len);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    static bool sameUser(QLocalSocket* peer) {
        ucred cred{};
        socklen_t len = sizeof cred;
        const int fd = static_cast<int>(peer->socketDescriptor());
        return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == getuid();
    }

    void accept(QLocalSocket* peer) {
        QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        if (!sameUser(peer)) {
            peer->abort();
            peer->deleteLater();
            return;
        }
        // A peer that never finishes its message is dropped rather than kept forever.
        QTimer::singleShot(kReceiveTimeoutMs, peer, [peer] { peer->abort(); });
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(peer, &QLocalSocket::readyRead, peer, [this, peer, buffer] {
            buffer->append(peer->readAll());
            if (buffer->size() > qsizetype(4 + kMaxHandOffBytes)) {
                peer->abort();
                return;
            }
            if (buffer->size() < 4) return;
            const auto* h = reinterpret_cast<const unsigned char*>(buffer->constData());
            const std::uint32_t size = (std::uint32_t(h[0]) << 24) | (std::uint32_t(h[1]) << 16) |
                                       (std::uint32_t(h[2]) << 8) | std::uint32_t(h[3]);
            if (size > kMaxHandOffBytes) {
                peer->abort();
                return;
            }
            if (buffer->size() < qsizetype(4 + size)) return;
            std::string text(buffer->constData() + 4, size);
            peer->disconnectFromServer();
            if (isValidUtf8(text) && receiver_) receiver_(text);
        });
    }

    std::string identity_;
    std::string socketName_;
    int listenFd_ = -1;
    int connectedFd_ = -1;
    QLocalServer* server_ = nullptr;
    std::function<void(const std::string&)> receiver_;
};

} // namespace

std::unique_ptr<InstanceChannel> makeInstanceChannel(const std::string& identity) {
    return std::make_unique<LocalSocketInstanceChannel>(identity);
}

} // namespace qinglan::platform
