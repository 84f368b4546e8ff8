// qinglan: what the user, the desktop and the file manager start. It links nothing but the C++
// runtime, so a second start hands its file to the running player without first loading the
// toolkit, the engine and the codecs the player links; a first start replaces itself (exec,
// same process) with the player program and hands it the instance claim it has just made.
#include "app/CommandLine.h"
#include "platform/ProgramLocation.h"
#include "platform/linux/InstanceSocket.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

using namespace qinglan;

int main(int argc, char** argv) {
    const auto command =
        app::parseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (command.action != app::CommandLine::Action::Run) {
        const auto text =
            command.action == app::CommandLine::Action::Help ? app::helpText() : app::versionText();
        std::fputs(text.c_str(), stdout);
        return 0;
    }

    namespace socket = platform::instance_socket;
    const auto claim = socket::claim(app::kWindowClass);
    if (claim.role == platform::InstanceChannel::Role::Secondary) {
        // With no argument nothing is sent and the running player is left alone.
        if (!command.media.empty())
            socket::send(claim.fd, app::kWindowClass, app::absoluteIfLocal(command.media.front()));
        return 0;
    }

    // A claim that could not be made must not stop the user from playing: the player tries
    // again and runs alone if it must.
    const auto self = platform::programFile();
    const auto player = app::playerProgramFor(
        !self.empty() ? self
                      : std::filesystem::path(argc > 0 && argv[0] ? argv[0] : app::kLauncherName));
    std::vector<std::string> args{player.string(), "--"};
    args.insert(args.end(), command.media.begin(), command.media.end());
    socket::execWithClaim(claim.role == platform::InstanceChannel::Role::Primary ? claim.fd : -1,
                          player.string(), args);
    std::fprintf(stderr, "qinglan: cannot start the player %s: %s\n", player.c_str(),
                 std::strerror(errno));
    return 1;
}
