#pragma once
#include <functional>
#include <memory>
#include <string>

namespace qinglan::platform {

// Decides which process owns the screen and carries a media path from a second start of
// the player to the running one. The first process to claim becomes the primary and
// receives; every later process is a secondary that may send one text and then ends.
//
// Threading: claim() and send() block briefly and may run before any event loop exists;
// startReceiving() needs the event loop of the calling thread and delivers texts on it (on
// Linux Qt's; on Windows the thread's message loop, which Qt's event loop runs, from the
// thread that claimed).
class InstanceChannel {
public:
    enum class Role { Primary, Secondary, Failed };

    virtual ~InstanceChannel() = default;

    // Becomes the primary if no primary runs, atomically with respect to racing starts.
    virtual Role claim() = 0;
    // Secondary only: hands a UTF-8 text to the primary. True when it was delivered.
    virtual bool send(const std::string& utf8) = 0;
    // Primary only: from now on every valid text a secondary sends reaches the receiver.
    virtual void startReceiving(std::function<void(const std::string&)> receiver) = 0;
};

// The backend of this platform, named after the window class that identifies the player.
std::unique_ptr<InstanceChannel> makeInstanceChannel(const std::string& identity);

// Largest text a secondary may hand over; longer ones are refused by the primary.
inline constexpr std::size_t kMaxHandOffBytes = 64 * 1024;

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, <= U+10FFFF).
bool isValidUtf8(const std::string& bytes);

} // namespace qinglan::platform
