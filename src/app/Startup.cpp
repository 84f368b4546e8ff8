#include "app/Startup.h"

#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "platform/InstanceChannel.h"
#include "platform/TerminationSignals.h"

#include <aplayer/Engine.h>
#include <desktop/SkinEngine.h>
#include <settings/StoreLocation.h>

#include <QApplication>

#include <clocale>
#include <filesystem>

namespace qinglan::app {

namespace {

// A relative path means nothing to a player started in another folder: hand over and keep
// local paths in absolute form. Network addresses and paths that do not exist stay as typed.
std::string absoluteIfLocal(const std::string& arg) {
    if (arg.empty() || arg.find("://") != std::string::npos || arg.front() == '/') return arg;
    std::error_code ec;
    const std::filesystem::path p(arg);
    if (!std::filesystem::exists(p, ec)) return arg;
    const auto abs = std::filesystem::absolute(p, ec);
    return ec ? arg : abs.lexically_normal().string();
}

} // namespace

StartDecision decideStart(const std::vector<std::string>& args,
                          platform::InstanceChannel& channel) {
    const auto role = channel.claim();
    if (role == platform::InstanceChannel::Role::Secondary) {
        // With no argument nothing is sent and the running player is left alone.
        if (!args.empty()) channel.send(absoluteIfLocal(args.front()));
        return StartDecision::HandedOver;
    }
    // A channel that could not be set up must not stop the user from playing: run alone.
    if (!args.empty()) processState().currentMedia = absoluteIfLocal(args.front());
    return StartDecision::BecomePrimary;
}

int runPlayer(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);

    auto channel = platform::makeInstanceChannel(kWindowClass);
    if (decideStart(args, *channel) == StartDecision::HandedOver) return 0;

    processState().prefetch.start(settings::dataDirectory(settings::programDirectory()));

    // The class part of the X11 WM_CLASS comes from the application name.
    QApplication::setApplicationName(kWindowClass);
    QApplication app(argc, argv);
    // libmpv refuses to start unless numbers are formatted the "C" way.
    std::setlocale(LC_NUMERIC, "C");

    // The skin engine the player carries is mapped before any window exists; a failure
    // leaves the player unskinned.
    desktop::mapSkinEngine(processState().skinLibrary);

    MainWindow window(aplayer::createMpvEngine());
    channel->startReceiving([&window](const std::string& path) { window.openHandedOver(path); });
    // A polite end request from the system runs the same shutdown as the tray's exit.
    platform::onTerminationRequest([&window] { window.shutdown(); });
    window.create();
    app.exec();
    return 0;
}

} // namespace qinglan::app
