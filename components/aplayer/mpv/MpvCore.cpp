#include "MpvCore.h"

#include <QMetaObject>

#include <mpv/client.h>

#include <algorithm>

namespace qinglan::aplayer {

MpvCore::~MpvCore() {
    destroy();
}

bool MpvCore::start(const std::vector<std::pair<const char*, std::string>>& options) {
    if (mpv_) return true;
    mpv_ = mpv_create();
    if (!mpv_) return false;
    for (const auto& [name, value] : options)
        mpv_set_option_string(mpv_, name, value.c_str());
    // mpv plays what the player opens, shows no window of its own and reads no file.
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
             {"idle", "yes"},
             {"force-window", "no"},
             {"keep-open", "no"},
             {"terminal", "no"},
             {"config", "no"},
             {"load-scripts", "no"},
             // mpv's built-in scripts cost memory and nothing can reach them: no key is bound,
             // no profile is defined.
             {"load-stats-overlay", "no"},
             {"load-osd-console", "no"},
             {"load-auto-profiles", "no"},
             {"osc", "no"},
             {"ytdl", "no"},
             {"input-default-bindings", "no"},
             {"input-vo-keyboard", "no"},
             // mpv must not take the mouse: X then passes the clicks on to our window.
             {"input-cursor", "no"},
             {"cursor-autohide", "no"},
             {"osd-on-seek", "no"},
             {"osd-bar", "no"},
             // An external subtitle is what the player chooses, never a file mpv guesses.
             {"sub-auto", "no"},
             {"audio-file-auto", "no"},
             {"volume-max", "1000"},
             {"hwdec", "no"},
             {"audio-client-name", "qinglan"},
         })
        mpv_set_option_string(mpv_, name, value);
    mpv_request_log_messages(mpv_, "error");
    if (mpv_initialize(mpv_) < 0) {
        mpv_terminate_destroy(mpv_);
        mpv_ = nullptr;
        return false;
    }
    mpv_set_wakeup_callback(mpv_, &MpvCore::wakeup, this);
    return true;
}

void MpvCore::destroy() {
    if (!mpv_) return;
    mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
    mpv_terminate_destroy(mpv_);
    mpv_ = nullptr;
}

void MpvCore::observe(const char* name, int format, PropertyHandler handler) {
    if (!mpv_) return;
    observers_.push_back(std::move(handler));
    mpv_observe_property(mpv_, observers_.size(), name, static_cast<mpv_format>(format));
}

bool MpvCore::setStringAsync(const char* name, const std::string& value, ReplyHandler done) {
    if (!mpv_) return false;
    const uint64_t reply = nextReply_++;
    const char* text = value.c_str();
    if (mpv_set_property_async(mpv_, reply, name, MPV_FORMAT_STRING, &text) < 0) return false;
    replies_.emplace_back(reply, std::move(done));
    return true;
}

void MpvCore::wakeup(void* ctx) {
    // Called on an mpv thread: only hand over to the Qt thread, once per batch.
    auto* self = static_cast<MpvCore*>(ctx);
    if (!self->wakeupPending_.exchange(true))
        QMetaObject::invokeMethod(
            &self->context_, [self] { self->drainEvents(); }, Qt::QueuedConnection);
}

void MpvCore::drainEvents() {
    wakeupPending_ = false;
    while (mpv_) {
        mpv_event* event = mpv_wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE) break;
        handleEvent(*event);
    }
}

void MpvCore::handleEvent(const mpv_event& event) {
    if (event.event_id == MPV_EVENT_PROPERTY_CHANGE) {
        const uint64_t id = event.reply_userdata;
        if (id >= 1 && id <= observers_.size() && observers_[id - 1])
            observers_[id - 1](*static_cast<mpv_event_property*>(event.data));
        return;
    }
    if (event.event_id == MPV_EVENT_SET_PROPERTY_REPLY) {
        auto it = std::find_if(replies_.begin(), replies_.end(),
                               [&](const auto& r) { return r.first == event.reply_userdata; });
        if (it == replies_.end()) return;
        ReplyHandler done = std::move(it->second);
        replies_.erase(it);
        if (done) done();
        return;
    }
    if (eventHandler_) eventHandler_(event);
}

bool MpvCore::setProperty(const char* name, const std::string& value) {
    return mpv_ && mpv_set_property_string(mpv_, name, value.c_str()) >= 0;
}

bool MpvCore::setFlag(const char* name, bool on) {
    int v = on ? 1 : 0;
    return mpv_ && mpv_set_property(mpv_, name, MPV_FORMAT_FLAG, &v) >= 0;
}

bool MpvCore::setDouble(const char* name, double value) {
    return mpv_ && mpv_set_property(mpv_, name, MPV_FORMAT_DOUBLE, &value) >= 0;
}

bool MpvCore::command(std::initializer_list<const char*> args) {
    if (!mpv_) return false;
    std::vector<const char*> argv(args);
    argv.push_back(nullptr);
    return mpv_command(mpv_, argv.data()) >= 0;
}

std::string MpvCore::property(const char* name) const {
    if (!mpv_) return {};
    char* v = mpv_get_property_string(mpv_, name);
    std::string out = v ? v : "";
    mpv_free(v);
    return out;
}

bool MpvCore::flag(const char* name, bool otherwise) const {
    int v = otherwise ? 1 : 0;
    if (mpv_) mpv_get_property(mpv_, name, MPV_FORMAT_FLAG, &v);
    return v != 0;
}

int64_t MpvCore::integer(const char* name, int64_t otherwise) const {
    int64_t v = otherwise;
    if (mpv_) mpv_get_property(mpv_, name, MPV_FORMAT_INT64, &v);
    return v;
}

bool MpvCore::number(const char* name, double* value) const {
    return mpv_ && mpv_get_property(mpv_, name, MPV_FORMAT_DOUBLE, value) >= 0;
}

bool MpvCore::overlay(int64_t id, bool shown, const std::string& events, int64_t resX, int64_t resY,
                      std::optional<int64_t> z) {
    if (!mpv_) return false;
    const char* keys[] = {"name", "id", "format", "data", "res_x", "res_y", "z"};
    mpv_node values[7];
    values[0].format = MPV_FORMAT_STRING;
    values[0].u.string = const_cast<char*>("osd-overlay");
    values[1].format = MPV_FORMAT_INT64;
    values[1].u.int64 = id;
    values[2].format = MPV_FORMAT_STRING;
    values[2].u.string = const_cast<char*>(shown ? "ass-events" : "none");
    values[3].format = MPV_FORMAT_STRING;
    values[3].u.string = const_cast<char*>(events.c_str());
    values[4].format = MPV_FORMAT_INT64;
    values[4].u.int64 = resX;
    values[5].format = MPV_FORMAT_INT64;
    values[5].u.int64 = resY;
    values[6].format = MPV_FORMAT_INT64;
    values[6].u.int64 = z.value_or(0);
    mpv_node_list list{};
    list.num = z ? 7 : 6;
    list.keys = const_cast<char**>(keys);
    list.values = values;
    mpv_node cmd;
    cmd.format = MPV_FORMAT_NODE_MAP;
    cmd.u.list = &list;
    return mpv_command_node(mpv_, &cmd, nullptr) >= 0;
}

} // namespace qinglan::aplayer
