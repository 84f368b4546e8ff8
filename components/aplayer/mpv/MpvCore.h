#pragma once
// The mpv core of the engine: the handle, the options it starts with, the event pump and the
// small typed accessors every other part of the engine uses. Everything that draws into mpv or
// observes it is owned next to the core and goes before it (see MpvEngine.h).
//
// Threading: mpv's wakeup callback only posts to the Qt thread; every event, property change
// and reply is handled there, in the order mpv gives them.
#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct mpv_handle;
struct mpv_event;
struct mpv_event_property;

namespace qinglan::aplayer {

class MpvCore {
public:
    using EventHandler = std::function<void(const mpv_event&)>;
    using PropertyHandler = std::function<void(const mpv_event_property&)>;
    using ReplyHandler = std::function<void()>;

    MpvCore() = default;
    ~MpvCore();
    MpvCore(const MpvCore&) = delete;
    MpvCore& operator=(const MpvCore&) = delete;

    // Creates and initialises mpv with these options (name, value), then the player's fixed
    // ones. False when mpv could not start; the core then stays without a handle.
    bool start(const std::vector<std::pair<const char*, std::string>>& options);
    // Stops mpv for good (the video window is about to go): afterwards every call is harmless.
    void destroy();
    bool running() const { return mpv_ != nullptr; }
    mpv_handle* handle() const { return mpv_; }

    // Events other than property changes and property-setting replies, after start.
    void onEvent(EventHandler handler) { eventHandler_ = std::move(handler); }
    // One handler per observed property; format is an mpv_format.
    void observe(const char* name, int format, PropertyHandler handler);
    // Sets a property without waiting; done is called once mpv has applied it (or failed).
    bool setStringAsync(const char* name, const std::string& value, ReplyHandler done);

    bool setProperty(const char* name, const std::string& value);
    bool setFlag(const char* name, bool on);
    bool setDouble(const char* name, double value);
    bool command(std::initializer_list<const char*> args);
    // "" when unavailable.
    std::string property(const char* name) const;
    bool flag(const char* name, bool otherwise = false) const;
    // otherwise when unavailable.
    int64_t integer(const char* name, int64_t otherwise = 0) const;
    bool number(const char* name, double* value) const;
    // An osd-overlay: the ASS events of overlay id drawn on a resX by resY canvas (resX 0: the
    // width follows the window's aspect), at depth z when given; removed while not shown.
    bool overlay(int64_t id, bool shown, const std::string& events, int64_t resX, int64_t resY,
                 std::optional<int64_t> z = std::nullopt);

private:
    static void wakeup(void* self);
    void drainEvents();
    void handleEvent(const mpv_event& event);

    mpv_handle* mpv_ = nullptr;
    QObject context_; // lives on the Qt thread; receives the queued event drains
    std::atomic<bool> wakeupPending_{false};
    EventHandler eventHandler_;
    std::vector<PropertyHandler> observers_; // reply id - 1 -> handler
    std::vector<std::pair<uint64_t, ReplyHandler>> replies_;
    uint64_t nextReply_ = 1;
};

} // namespace qinglan::aplayer
