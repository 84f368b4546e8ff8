// The player's end of the single-instance hand-off: the claim and the send are the
// toolkit-free socket code the launcher shares; receiving runs on Qt's event loop.
#include "platform/InstanceChannel.h"
#include "platform/linux/InstanceSocket.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

namespace qinglan::platform {
namespace {

constexpr int kReceiveTimeoutMs = 2000;

class LocalSocketInstanceChannel final : public InstanceChannel {
public:
    explicit LocalSocketInstanceChannel(std::string identity) : identity_(std::move(identity)) {}

    ~LocalSocketInstanceChannel() override {
        delete server_;
        if (listenFd_ >= 0 && !server_) ::close(listenFd_);
        if (connectedFd_ >= 0) ::close(connectedFd_);
    }

    Role claim() override {
        const auto claimed = instance_socket::claim(identity_);
        if (claimed.role == Role::Primary) listenFd_ = claimed.fd;
        if (claimed.role == Role::Secondary) connectedFd_ = claimed.fd;
        return claimed.role;
    }

    bool send(const std::string& utf8) override {
        const bool ok = instance_socket::send(connectedFd_, identity_, utf8);
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
