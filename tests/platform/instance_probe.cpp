// A stand-in for the player's start-up, used by the hand-off tests with real processes:
// it decides its role exactly as the player does, then prints what it receives.
//   instance_probe IDENTITY [ARG...]
// Prints "PRIMARY" or "SECONDARY"; a primary then prints "RECEIVED <hex of UTF-8>" per text.
#include "app/Startup.h"
#include "platform/InstanceChannel.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::vector<std::string> args(argv + 2, argv + argc);
    auto channel = qinglan::platform::makeInstanceChannel(argv[1]);
    if (qinglan::app::decideStart(args, *channel) == qinglan::app::StartDecision::HandedOver) {
        std::printf("SECONDARY\n");
        return 0;
    }
    QCoreApplication app(argc, argv);
    std::printf("PRIMARY\n");
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
