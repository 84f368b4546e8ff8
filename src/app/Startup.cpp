#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "platform/DisplayServer.h"
#include "platform/InstanceChannel.h"
#include "platform/TerminationSignals.h"

#include <aplayer/Engine.h>
#include <desktop/SkinEngine.h>
#include <settings/StoreLocation.h>

#include <QApplication>
#include <QMessageBox>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace qinglan::app {

namespace {

// Said on standard error, and in a message box where a Wayland desktop without XWayland can
// still show one. The player ends: without X there is nothing it could show.
int reportNoXServer(char* program) {
    const std::string line = noXServerText(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
    std::fputs(line.c_str(), stderr);
    if (platform::waylandCompositorReachable()) {
        char platformOption[] = "-platform";
        char wayland[] = "wayland";
        char* qtArgv[] = {program, platformOption, wayland, nullptr};
        int qtArgc = 3;
        QApplication app(qtArgc, qtArgv);
        QMessageBox::critical(nullptr, QString::fromUtf8(kWindowTitle),
                              QString::fromUtf8(line).trimmed());
    }
    return 1;
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
    const auto command =
        parseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (command.action != CommandLine::Action::Run) {
        std::fputs(
            (command.action == CommandLine::Action::Help ? helpText() : versionText()).c_str(),
            stdout);
        return 0;
    }

    // The hand-off needs no display: a start from a terminal without one still hands over.
    auto channel = platform::makeInstanceChannel(kWindowClass);
    if (decideStart(command.media, *channel) == StartDecision::HandedOver) return 0;

    // The toolkit names the windows' X11 class instance after its first argument: the
    // launcher's name, as the desktop entry is named, whichever program file runs.
    char programName[] = "qinglan";
    char* program = programName;
    const auto display = chooseDisplay(std::getenv("QT_QPA_PLATFORM"));
    if (display.needsXServer && !platform::xServerReachable()) return reportNoXServer(program);

    processState().prefetch.start(settings::dataDirectory(settings::programDirectory()));

    // The toolkit sees only the program name and the platform chosen for this process: the
    // user's arguments are media, never toolkit options (a file named "-reverse" is a file),
    // and the environment, which the add-files helper and programs started from the player
    // inherit, stays the session's.
    char platformOption[] = "-platform";
    std::string platform = display.platform;
    std::vector<char*> qtArgv{program};
    if (!platform.empty()) {
        qtArgv.push_back(platformOption);
        qtArgv.push_back(platform.data());
    }
    int qtArgc = static_cast<int>(qtArgv.size());
    qtArgv.push_back(nullptr);

    // The class part of the X11 WM_CLASS comes from the application name.
    QApplication::setApplicationName(kWindowClass);
    QApplication app(qtArgc, qtArgv.data());
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
