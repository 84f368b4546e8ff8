// A stand-in for the player's start-up, used by the hand-off tests with real processes:
// it decides its role exactly as the player does, then prints what it receives.
//   instance_probe [--as-launcher] IDENTITY [ARG...]
// Prints "PRIMARY" or "SECONDARY"; a primary then prints "RECEIVED <hex of UTF-8>" per text.
// --as-launcher first claims as the launcher does and, when primary, replaces itself with a
// plain probe that is handed the claim; that probe also prints "FD3 CLOEXEC" or "FD3 INHERITED"
// for the descriptor the claim came down on. --with-stray-fd3 leaves a listening socket of
// another name open on descriptor 3 and replaces itself with a plain probe.
#include "app/Startup.h"
#include "platform/InstanceChannel.h"
#include "platform/linux/InstanceSocket.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

int main(int argc, char** argv) {
    namespace socket = qinglan::platform::instance_socket;
    if (argc >= 3 && std::strcmp(argv[1], "--as-launcher") == 0) {
        const auto claim = socket::claim(argv[2]);
        if (claim.role == qinglan::platform::InstanceChannel::Role::Secondary) {
            if (argc > 3) socket::send(claim.fd, argv[2], argv[3]);
            std::printf("SECONDARY\n");
            return 0;
        }
        std::vector<std::string> args{"/proc/self/exe"};
        args.insert(args.end(), argv + 2, argv + argc);
        socket::execWithClaim(claim.fd, "/proc/self/exe", args);
        return 3;
    }
    if (argc >= 3 && std::strcmp(argv[1], "--with-stray-fd3") == 0) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        const std::string name = std::string("stray-") + argv[2];
        std::memcpy(addr.sun_path + 1, name.data(), name.size());
        const auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
            ::listen(fd, 1) != 0 || ::dup2(fd, socket::kHandedDownFd) < 0)
            return 4;
        execv("/proc/self/exe", argv + 1);
        return 3;
    }
    if (argc < 2) return 2;
    const bool handedDown = fcntl(socket::kHandedDownFd, F_GETFD) >= 0;
    std::vector<std::string> args(argv + 2, argv + argc);
    auto channel = qinglan::platform::makeInstanceChannel(argv[1]);
    if (qinglan::app::decideStart(args, *channel) == qinglan::app::StartDecision::HandedOver) {
        std::printf("SECONDARY\n");
        return 0;
    }
    QCoreApplication app(argc, argv);
    std::printf("PRIMARY\n");
    if (handedDown)
        std::printf("FD3 %s\n",
                    fcntl(socket::kHandedDownFd, F_GETFD) & FD_CLOEXEC ? "CLOEXEC" : "INHERITED");
    std::fflush(stdout);
    channel->startReceiving([](const std::string& text) {
        std::printf("RECEIVED ");
        for (unsigned char c : text)
            std::printf("%02x", c);
        std::printf("\n");
        std::fflush(stdout);
    });
    return app.exec();
}
