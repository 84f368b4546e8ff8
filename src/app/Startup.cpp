#include "app/Startup.h"

#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "platform/InstanceChannel.h"
#include "platform/TerminationSignals.h"

#include <QApplication>

#include <clocale>

namespace qinglan::app {

StartDecision decideStart(const std::vector<std::string>& args,
                          platform::InstanceChannel& channel) {
    const auto role = channel.claim();
    if (role == platform::InstanceChannel::Role::Secondary) {
        // With no argument nothing is sent and the running player is left alone.
        if (!args.empty()) channel.send(args.front());
        return StartDecision::HandedOver;
    }
    // A channel that could not be set up must not stop the user from playing: run alone.
    if (!args.empty()) processState().currentMedia = args.front();
    return StartDecision::BecomePrimary;
}

int runPlayer(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);

    auto channel = platform::makeInstanceChannel(kWindowClass);
    if (decideStart(args, *channel) == StartDecision::HandedOver) return 0;

    // The class part of the X11 WM_CLASS comes from the application name.
    QApplication::setApplicationName(kWindowClass);
    QApplication app(argc, argv);
    // libmpv refuses to start unless numbers are formatted the "C" way.
    std::setlocale(LC_NUMERIC, "C");

    MainWindow window;
    channel->startReceiving([&window](const std::string& path) { window.openHandedOver(path); });
    // A polite end request from the system runs the same shutdown as the tray's exit.
    platform::onTerminationRequest([&window] { window.shutdown(); });
    window.create();
    app.exec();
    return 0;
}

} // namespace qinglan::app
