#pragma once
#include "platform/HotkeyRegistrar.h"

#include <QObject>

#include <optional>
#include <set>
#include <tuple>
#include <vector>

namespace qinglan::platform {

// Registrations kept in memory, refused like the real ones: a key outside the key table (code 0
// among them) or a modifier alone, a combination registered here already, or one a test marked
// as held by another program. press() delivers
// a combination as the desktop would: through the event loop, and only while it is registered.
class FakeHotkeyRegistrar final : public HotkeyRegistrar {
public:
    struct Registration {
        int id;
        int modifiers;
        int virtualKey;
        bool operator==(const Registration&) const = default;
    };

    bool registerHotkey(int id, int modifiers, int virtualKey) override;
    void unregisterAll() override;
    void setPressCallback(std::function<void(int id)> pressed) override;

    // Held by another program from now on.
    void holdElsewhere(int modifiers, int virtualKey);
    // The user presses a combination. True when it was registered (the press is then queued).
    bool press(int modifiers, int virtualKey);

    // What is registered now, in the order of registration.
    const std::vector<Registration>& registered() const { return registered_; }
    // Every registerHotkey call ever made, refused ones included, in order.
    const std::vector<Registration>& attempts() const { return attempts_; }
    int unregisterCalls() const { return unregisterCalls_; }

private:
    std::optional<int> idOf(int modifiers, int virtualKey) const;

    std::vector<Registration> registered_;
    std::vector<Registration> attempts_;
    std::set<std::pair<int, int>> heldElsewhere_;
    std::function<void(int)> pressed_;
    QObject queue_; // presses still queued when the fake goes are dropped with it
    int unregisterCalls_ = 0;
};

} // namespace qinglan::platform
