#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace qinglan::platform {
namespace {

int pipeFds[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the pipe, read on the event loop.
void forwardSignal(int) {
    const char byte = 1;
    (void)!::write(pipeFds[1], &byte, 1);
}

} // namespace

void onTerminationRequest(std::function<void()> handler) {
    if (pipeFds[0] >= 0) return;
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [handler = std::move(handler)] {
                         char buf[16];
                         while (::read(pipeFds[0], buf, sizeof buf) > 0) {
                         }
                         handler();
                     });
    struct sigaction sa {};
    sa.sa_handler = forwardSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

} // namespace qinglan::platform
