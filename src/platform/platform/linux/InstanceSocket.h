#pragma once
// The toolkit-free half of the single-instance hand-off on Linux: claiming the per-user
// socket, sending a text to the primary, and handing a claim down to the program the launcher
// replaces itself with. Both the launcher (which links no toolkit, so that a second start costs
// next to nothing) and the player's channel use it.
#include "platform/InstanceChannel.h"

#include <string>
#include <vector>

namespace qinglan::platform::instance_socket {

// Descriptor number at which the launcher hands its claim down across exec.
inline constexpr int kHandedDownFd = 3;

struct Claim {
    InstanceChannel::Role role = InstanceChannel::Role::Failed;
    // Primary: the listening socket. Secondary: a connection to the primary. Else -1.
    int fd = -1;
};

// Becomes the primary (a bound, listening socket) unless one runs already, atomically with
// respect to racing starts. A claim handed down by the launcher is taken over as it is.
Claim claim(const std::string& identity);

// Hands a UTF-8 text over a connection from claim() (or a new one when fd < 0) and closes it.
bool send(int fd, const std::string& identity, const std::string& utf8);

// The listening socket a launcher handed down for this identity, or -1. It is marked
// close-on-exec again, so programs the player starts never hold the name.
int takeHandedDown(const std::string& identity);

// Replaces this process by `program` with `args` (args[0] is the program's name), the primary's
// listening socket kept open at kHandedDownFd. Returns only on failure, with errno set.
void execWithClaim(int listeningFd, const std::string& program,
                   const std::vector<std::string>& args);

} // namespace qinglan::platform::instance_socket
