#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qinglan::platform {

// What the desktop shows of the playing media in its panels and lock screen.
struct MediaStatus {
    enum class State { Stopped, Playing, Paused };
    State state = State::Stopped;
    std::string title; // UTF-8; empty while nothing is open
    std::string url;   // file:// URL or the network address
    std::int64_t lengthMs = 0;
    double volume = 1.0; // 1.0 the media's own loudness, up to 10.0
    bool canGoNext = true;
    bool canGoPrevious = true;

    bool operator==(const MediaStatus&) const = default;
};

// The desktop's media controls (media keys, panel widgets, playerctl) reaching the player, and
// the player's state shown back to them. Runs on the window thread; requests arrive from the
// event loop. Without a desktop service to offer it on (no session bus) there is none, and the
// player runs as before.
class MediaRemote {
public:
    struct Player {
        std::function<void()> playPause, play, pause, stop, next, previous, raise, quit;
        std::function<void(std::int64_t offsetMs)> seekBy;
        std::function<void(std::int64_t positionMs)> seekTo;
        std::function<void(const std::string& uri)> open;
        std::function<void(double volume)> setVolume;
        std::function<MediaStatus()> status;
        std::function<std::int64_t()> positionMs;
    };

    virtual ~MediaRemote() = default;
    // The player's state may have changed: the desktop is told what did. Also done every half
    // second by the remote itself.
    virtual void refresh() = 0;
};

// The desktop's remote (MPRIS on the session bus), or nullptr when it cannot be offered.
std::unique_ptr<MediaRemote> makeMediaRemote(MediaRemote::Player player);

} // namespace qinglan::platform
