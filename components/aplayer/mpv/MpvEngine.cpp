#include "MpvEngine.h"

#include "VideoWindow.h"
#include "aplayer/ConfigTable.h"
#include "lyrics/LyricsView.h"

#include <QGuiApplication>
#include <QMetaObject>

#include <mpv/client.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace qinglan::aplayer {
namespace {

constexpr const char* kCodecMissingPrefix = "Failed to initialize a decoder for codec '";

// Observed properties, told apart by their reply ids.
enum : uint64_t {
    ObservePausedForCache = 1,
    ObserveCacheBuffering = 2,
    ObserveVideoOutput = 3,
    // What subtitles drawn per half of a 3D picture follow.
    ObserveSubText = 4,
    ObserveSecondarySubText = 5,
    ObserveOsdDimensions = 6,
};

} // namespace

std::unique_ptr<Engine> createMpvEngine(const MpvEngineOptions& options) {
    return std::make_unique<MpvEngine>(options);
}

MpvEngine::MpvEngine(MpvEngineOptions options) : options_(std::move(options)) {}

MpvEngine::~MpvEngine() {
    processor_.reset();
    destroyMpv();
    delete window_.data();
}

bool MpvEngine::APlayer_Create(QWidget* parent, int x, int y, int width, int height,
                               MessageCallback message, BufferingCallback buffering,
                               CodecMissingCallback codecMissing) {
    if (mpv_) return true;
    message_ = std::move(message);
    buffering_ = std::move(buffering);
    codecMissing_ = std::move(codecMissing);

    // mpv refuses to start under a locale with a decimal comma; Qt may have set one.
    std::setlocale(LC_NUMERIC, "C");

    // Draw into our own window on X11 only; anywhere else (offscreen, tests) no picture rather
    // than a window of mpv's own.
    embedded_ =
        QGuiApplication::platformName() == QLatin1String("xcb") && options_.videoOutput != "null";
    window_ = new VideoWindow(parent, embedded_);
    window_->setGeometry(x, y, width, height);
    window_->setMessageCallback(message_);
    window_->setAboutToBeDestroyed([this] { destroyMpv(); });
    installPanoramaPointer();
    window_->show();
    lyrics_ = std::make_unique<lyrics::LyricsView>(
        window_,
        lyrics::LyricsView::Host{
            [this] { return APlayer_GetPosition(); },
            [this] { return loaded_ && (isSoundOnlyFileName(mediaPath_) || !hasVideoTrack()); },
            [this](int ms) {
                // The line released on must be the one that plays: an exact seek,
                // not the nearest place mpv finds fast.
                if (!mpv_ || !loaded_) return;
                const std::string t = std::to_string(std::max(ms, 0) / 1000.0);
                command({"seek", t.c_str(), "absolute+exact"});
            }});

    mpv_ = mpv_create();
    if (!mpv_) return false;
    auto opt = [this](const char* name, const std::string& value) {
        mpv_set_option_string(mpv_, name, value.c_str());
    };
    if (embedded_) {
        opt("wid", std::to_string(static_cast<long long>(window_->surfaceId())));
        // The gpu outputs through OpenGL only. Where mpv's Vulkan probe fails (no Vulkan
        // driver: a VM, a remote desktop, Xvfb) it closes descriptor 0 on its way out. The next X
        // connection, the fallback output's, then gets that number, the probe at the next media
        // closes it under the running output, and libX11 ends the process. mpv still rejects a
        // software OpenGL while probing and falls back to its x11 output.
        opt("gpu-api", "opengl");
        // Only an X11 context can draw into an X window. On a Wayland desktop (the player on
        // XWayland) mpv would otherwise try its Wayland context first and show the picture in a
        // window of its own.
        opt("gpu-context", "x11egl");
    }
    if (!options_.videoOutput.empty())
        currentVideoOutput_ = options_.videoOutput;
    else if (!embedded_)
        currentVideoOutput_ = "null";
    else
        currentVideoOutput_ =
            rendererVideoOutput(configValue(cfg::Renderer).empty() ? "3"
                                                                   : configValue(cfg::Renderer),
                                openGlUsable())
                .value_or("gpu,x11");
    opt("vo", currentVideoOutput_);
    opt("ao", options_.audioOutput.empty() ? kAudioOutputs : options_.audioOutput);
    opt("idle", "yes");
    opt("force-window", "no");
    opt("keep-open", "no");
    opt("terminal", "no");
    opt("config", "no");
    opt("load-scripts", "no");
    // mpv's built-in scripts cost memory and nothing can reach them: no key is bound, no profile
    // is defined.
    opt("load-stats-overlay", "no");
    opt("load-osd-console", "no");
    opt("load-auto-profiles", "no");
    opt("osc", "no");
    opt("ytdl", "no");
    opt("input-default-bindings", "no");
    opt("input-vo-keyboard", "no");
    // mpv must not take the mouse: X then passes the clicks on to our window.
    opt("input-cursor", "no");
    opt("cursor-autohide", "no");
    opt("osd-on-seek", "no");
    opt("osd-bar", "no");
    // An external subtitle is what the player chooses, never a file mpv guesses.
    opt("sub-auto", "no");
    opt("audio-file-auto", "no");
    opt("volume-max", "1000");
    opt("hwdec", "no");
    opt("audio-client-name", "qinglan");
    mpv_request_log_messages(mpv_, "error");
    if (mpv_initialize(mpv_) < 0) {
        mpv_terminate_destroy(mpv_);
        mpv_ = nullptr;
        return false;
    }
    mpv_observe_property(mpv_, ObservePausedForCache, "paused-for-cache", MPV_FORMAT_FLAG);
    mpv_observe_property(mpv_, ObserveCacheBuffering, "cache-buffering-state", MPV_FORMAT_INT64);
    mpv_observe_property(mpv_, ObserveVideoOutput, "current-vo", MPV_FORMAT_STRING);
    mpv_observe_property(mpv_, ObserveSubText, "sub-text", MPV_FORMAT_NONE);
    mpv_observe_property(mpv_, ObserveSecondarySubText, "secondary-sub-text", MPV_FORMAT_NONE);
    mpv_observe_property(mpv_, ObserveOsdDimensions, "osd-dimensions", MPV_FORMAT_NONE);
    mpv_set_wakeup_callback(mpv_, &MpvEngine::wakeup, this);

    // Values set before the engine existed take effect now.
    for (const auto& [id, value] : std::map<int, std::string>(config_))
        if (id != cfg::ShotFile) applyConfig(id, value);
    return true;
}

void MpvEngine::destroyMpv() {
    if (!mpv_) return;
    mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
    mpv_terminate_destroy(mpv_);
    mpv_ = nullptr;
}

void MpvEngine::wakeup(void* ctx) {
    // Called on an mpv thread: only hand over to the Qt thread, once per batch.
    auto* self = static_cast<MpvEngine*>(ctx);
    if (!self->wakeupPending_.exchange(true))
        QMetaObject::invokeMethod(
            &self->dispatcher_, [self] { self->drainEvents(); }, Qt::QueuedConnection);
}

void MpvEngine::drainEvents() {
    wakeupPending_ = false;
    while (mpv_) {
        mpv_event* event = mpv_wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE) break;
        handleEvent(*event);
    }
}

void MpvEngine::handleEvent(const mpv_event& event) {
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        lastStartedEntry_ = static_cast<mpv_event_start_file*>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED:
        if (currentEntry_ != 0 && lastStartedEntry_ == currentEntry_) onFileLoaded();
        break;
    case MPV_EVENT_END_FILE: {
        auto* end = static_cast<mpv_event_end_file*>(event.data);
        onEndFile(end->reason, end->error, end->playlist_entry_id);
        break;
    }
    // mpv's x11 output watches its parent (our surface) and takes the parent's map event for its
    // own: a surface shown between the output's window being made and being configured leaves
    // mpv's window unmapped for good, and the logo stays. That gap is wide when playback starts
    // at a position (the decoder runs to the start first). So the surface is either shown at
    // the open, before the output exists, or, for a sound file that carries a picture, at the
    // restart, which comes after the output has mapped its window.
    // Video reconfigurations also come while the output is being set up, before the picture's
    // size is known: only the absence of a video track hides the surface.
    case MPV_EVENT_PLAYBACK_RESTART:
        if (window_ && loaded_) window_->showVideo(hasVideoTrack() && hasVideo());
        break;
    case MPV_EVENT_VIDEO_RECONFIG:
        if (window_ && loaded_ && !hasVideoTrack()) window_->showVideo(false);
        break;
    case MPV_EVENT_SET_PROPERTY_REPLY:
        if (event.reply_userdata == kPanoramaRedrawReply) onPanoramaRedrawn();
        break;
    case MPV_EVENT_LOG_MESSAGE: {
        auto* m = static_cast<mpv_event_log_message*>(event.data);
        onLogMessage(m->prefix, m->level, m->text);
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
        auto* p = static_cast<mpv_event_property*>(event.data);
        if (event.reply_userdata == ObservePausedForCache && p->format == MPV_FORMAT_FLAG) {
            bool paused = *static_cast<int*>(p->data) != 0;
            if (pausedForCache_ && !paused && buffering_)
                buffering_(100);
            else if (paused && buffering_)
                buffering_(cachePercent_);
            pausedForCache_ = paused;
        } else if (event.reply_userdata == ObserveCacheBuffering && p->format == MPV_FORMAT_INT64) {
            int percent =
                static_cast<int>(std::clamp<int64_t>(*static_cast<int64_t*>(p->data), 0, 100));
            if (percent != cachePercent_ && pausedForCache_ && buffering_) buffering_(percent);
            cachePercent_ = percent;
        } else if (event.reply_userdata == ObserveVideoOutput) {
            onVideoOutputChanged(p->format == MPV_FORMAT_STRING ? *static_cast<char**>(p->data)
                                                                : nullptr);
        } else if (event.reply_userdata >= ObserveSubText &&
                   event.reply_userdata <= ObserveOsdDimensions && subtitleHalvesOn()) {
            drawSubtitleHalves();
        }
        break;
    }
    default:
        break;
    }
}

void MpvEngine::onFileLoaded() {
    loaded_ = true;
    lastDuration_ = durationSeconds();
    auto endMs = parseInteger(configValue(cfg::EndMs));
    if (endMs && *endMs < 0) {
        auto start = resolveStart(configValue(cfg::StartMs), lastDuration_);
        auto end = resolveEnd(configValue(cfg::EndMs), lastDuration_);
        if (end && *end > start.value_or(0.0)) setProperty("end", std::to_string(*end));
    }
    applyTrackIndex("aid", cfg::AudioTrack);
    if (pendingSeekMs_ >= 0) {
        int ms = pendingSeekMs_;
        pendingSeekMs_ = -1;
        APlayer_SetPosition(ms);
    }
}

void MpvEngine::onEndFile(int reason, int error, long long entryId) {
    if (currentEntry_ == 0 || entryId != currentEntry_)
        return; // an earlier media, replaced by a newer open or closed
    if (loaded_) {
        double d = durationSeconds();
        if (d > 0) lastDuration_ = d;
    }
    loaded_ = false;
    if (reason == MPV_END_FILE_REASON_EOF)
        ended_ = true;
    else if (reason == MPV_END_FILE_REASON_ERROR) {
        failed_ = true;
        failureReason_ = std::string(openFailureText(classifyFailure(error)));
    }
    if (window_) window_->showVideo(false);
    retryWithoutVideo();
}

// mpv gives up on a media whose video cannot be decoded, sound and all. The sound is worth
// having: load it once more without the video. Log messages and events reach us in either
// order, so this runs on both the decoder message and the failed end.
void MpvEngine::retryWithoutVideo() {
    if (!failed_ || !videoCodecMissing_ || retriedWithoutVideo_ || currentEntry_ == 0) return;
    retriedWithoutVideo_ = true;
    failed_ = false;
    failureReason_.clear();
    if (load("vid=no")) return;
    failed_ = true;
    failureReason_ = std::string(openFailureText(OpenFailure::DecoderMissing));
}

// The words for the user: mpv tells a file it cannot read from one it cannot understand; which
// of "missing", "unreadable" and "network" a load failure was is told by the path.
OpenFailure MpvEngine::classifyFailure(int error) const {
    const bool decoderMissing = videoCodecMissing_ || !reportedCodecs_.empty();
    switch (error) {
    case MPV_ERROR_LOADING_FAILED: {
        if (isNetworkAddress(mediaPath_)) return OpenFailure::Network;
        std::string local = mediaPath_;
        if (local.rfind("file://", 0) == 0) local.erase(0, 7);
        std::error_code ec;
        if (!std::filesystem::exists(std::filesystem::path(local), ec))
            return ec && ec != std::errc::no_such_file_or_directory &&
                           ec != std::errc::not_a_directory
                       ? OpenFailure::FileUnreadable
                       : OpenFailure::FileMissing;
        return std::ifstream(local, std::ios::binary) ? OpenFailure::Other
                                                      : OpenFailure::FileUnreadable;
    }
    case MPV_ERROR_UNKNOWN_FORMAT:
        return OpenFailure::UnsupportedFormat;
    case MPV_ERROR_NOTHING_TO_PLAY:
        return decoderMissing ? OpenFailure::DecoderMissing : OpenFailure::NothingToPlay;
    case MPV_ERROR_VO_INIT_FAILED:
        return OpenFailure::NoPicture;
    case MPV_ERROR_AO_INIT_FAILED:
        return OpenFailure::NoSound;
    default:
        return decoderMissing ? OpenFailure::DecoderMissing : OpenFailure::Other;
    }
}

void MpvEngine::onLogMessage(const char* prefix, const char* level, const char* text) {
    (void)level;
    if (!text) return;
    if (std::strcmp(prefix, "vd") != 0 && std::strcmp(prefix, "ad") != 0 &&
        std::strcmp(prefix, "sd") != 0)
        return;
    const char* at = std::strstr(text, kCodecMissingPrefix);
    if (!at) return;
    std::string name(at + std::strlen(kCodecMissingPrefix));
    name = name.substr(0, name.find('\''));
    if (std::strcmp(prefix, "vd") == 0) {
        videoCodecMissing_ = true;
        retryWithoutVideo();
    }
    if (name.empty() || !reportedCodecs_.insert(name).second) return;
    if (!codecMissing_) return;
    CodecMissingCallback fn = codecMissing_;
    fn(name);
}

void MpvEngine::resetMedia() {
    mediaPath_.clear();
    currentEntry_ = 0;
    loaded_ = ended_ = failed_ = false;
    failureReason_.clear();
    pendingSeekMs_ = -1;
    lastDuration_ = 0;
    reportedCodecs_.clear();
    videoCodecMissing_ = retriedWithoutVideo_ = false;
    externalSubtitles_.clear();
}

bool MpvEngine::hasVideoTrack() const {
    return mpvProperty("vid") != "no";
}

bool MpvEngine::hasVideo() const {
    int64_t w = 0;
    return mpv_ && mpv_get_property(mpv_, "video-params/w", MPV_FORMAT_INT64, &w) >= 0 && w > 0;
}

double MpvEngine::durationSeconds() const {
    double d = 0;
    if (!mpv_ || mpv_get_property(mpv_, "duration", MPV_FORMAT_DOUBLE, &d) < 0 || !std::isfinite(d))
        return 0;
    return d;
}

void MpvEngine::APlayer_SetCustomLogo(const QImage& logo) {
    if (window_) window_->setLogo(logo);
}

bool MpvEngine::APlayer_OpenA(const std::string& pathOrAddress) {
    if (!mpv_ || pathOrAddress.empty()) return false;
    stopProcessing();
    if (processingModeOn()) return startProcessing(pathOrAddress);
    resetMedia();
    // The surface is up before mpv makes its window inside it: mpv then maps that window
    // itself and the first frame shows the moment it is drawn. Shown later (mpv's window made,
    // not yet mapped) mpv takes the surface's map for its own and never maps its window.
    // A media that turns out to have no picture hides it again once it is set up.
    if (window_) window_->showVideo(!isSoundOnlyFileName(pathOrAddress));
    // A negative end needs the duration: it is set once the media has loaded. So is an end
    // at or before the start, which would end the media at once (and the player would race
    // through its list): such an end is dropped and the media played whole.
    std::string startMs = configValue(cfg::StartMs), endMs = configValue(cfg::EndMs);
    auto start = resolveStart(startMs, 0), end = resolveEnd(endMs, 0);
    setProperty("start", startOption(startMs));
    setProperty("end", end && *end > start.value_or(0.0) ? endOption(endMs) : "none");
    // Track choices belong to one media; the stored index is applied once the new one loads.
    setProperty("aid", "auto");
    setProperty("sid", "auto");
    setProperty("secondary-sid", "no");
    setFlag("pause", false);

    mediaPath_ = pathOrAddress;
    if (load(nullptr)) return true;
    mediaPath_.clear();
    return false;
}

bool MpvEngine::load(const char* options) {
    const char* args[] = {"loadfile", mediaPath_.c_str(), "replace", options, nullptr};
    mpv_node result{};
    if (mpv_command_ret(mpv_, args, &result) < 0) return false;
    long long entry = 0;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i)
            if (std::strcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                entry = result.u.list->values[i].u.int64;
    }
    mpv_free_node_contents(&result);
    if (entry == 0) {
        int64_t id = 0;
        if (mpv_get_property(mpv_, "playlist/0/id", MPV_FORMAT_INT64, &id) >= 0) entry = id;
    }
    currentEntry_ = entry;
    return true;
}

void MpvEngine::APlayer_Play() {
    if (mpv_) setFlag("pause", false);
}

void MpvEngine::APlayer_Pause() {
    if (mpv_) setFlag("pause", true);
}

void MpvEngine::APlayer_Close() {
    cancelProcessing();
    if (!mpv_) return;
    command({"stop"});
    resetMedia();
    if (window_) window_->showVideo(false);
}

int MpvEngine::APlayer_GetState() const {
    if (processingOn_) return StatePlaying;
    if (!mpv_ || currentEntry_ == 0 || ended_ || failed_) return StateReady;
    if (!loaded_) return StateOpening;
    int paused = 0;
    mpv_get_property(mpv_, "pause", MPV_FORMAT_FLAG, &paused);
    return paused ? StatePaused : StatePlaying;
}

int MpvEngine::APlayer_GetPosition() const {
    if (processingOn_) return static_cast<int>(processingProgress_.doneMs);
    if (ended_) return static_cast<int>(std::lround(lastDuration_ * 1000));
    if (!mpv_ || !loaded_) return 0;
    double pos = 0;
    if (mpv_get_property(mpv_, "time-pos", MPV_FORMAT_DOUBLE, &pos) < 0 || !std::isfinite(pos))
        return 0;
    return static_cast<int>(std::lround(std::clamp(pos, 0.0, 2e6) * 1000));
}

int MpvEngine::APlayer_GetDuration() const {
    if (processingOn_) return static_cast<int>(processingProgress_.totalMs);
    if (ended_) return static_cast<int>(std::lround(lastDuration_ * 1000));
    if (!loaded_) return 0;
    return static_cast<int>(std::lround(std::clamp(durationSeconds(), 0.0, 2e6) * 1000));
}

void MpvEngine::APlayer_SetPosition(int ms) {
    if (!mpv_ || currentEntry_ == 0 || ended_ || failed_) return;
    if (!loaded_) {
        pendingSeekMs_ = std::max(ms, 0);
        return;
    }
    double target = std::max(ms, 0) / 1000.0;
    double d = durationSeconds();
    if (d > 0) target = std::min(target, d);
    std::string t = std::to_string(target);
    command({"seek", t.c_str(), "absolute"});
}

void MpvEngine::APlayer_SetVolume(int volume) {
    if (mpv_) setDouble("volume", std::clamp(volume, 0, 1000));
}

std::string MpvEngine::APlayer_GetConfigA(int id) const {
    switch (id) {
    case cfg::MediaLoaded:
        return loaded_ ? mediaPath_ : std::string();
    case cfg::PlayResult:
        if (processingOn_) return "1";
        if (currentEntry_ == 0) return "";
        return ended_ ? "0" : failed_ ? "2" : "1";
    case cfg::FailureReason:
        return processingOn_ || currentEntry_ == 0 || !failed_ ? std::string() : failureReason_;
    default:
        return configValue(id);
    }
}

QWidget* MpvEngine::APlayer_GetWindow() const {
    return window_.data();
}

std::string MpvEngine::mpvProperty(const char* name) const {
    if (!mpv_) return {};
    char* v = mpv_get_property_string(mpv_, name);
    std::string out = v ? v : "";
    mpv_free(v);
    return out;
}

std::string MpvEngine::configValue(int id) const {
    auto it = config_.find(id);
    return it == config_.end() ? std::string() : it->second;
}

bool MpvEngine::setProperty(const char* name, const std::string& value) {
    return mpv_ && mpv_set_property_string(mpv_, name, value.c_str()) >= 0;
}

bool MpvEngine::setFlag(const char* name, bool on) {
    int v = on ? 1 : 0;
    return mpv_ && mpv_set_property(mpv_, name, MPV_FORMAT_FLAG, &v) >= 0;
}

bool MpvEngine::setDouble(const char* name, double value) {
    return mpv_ && mpv_set_property(mpv_, name, MPV_FORMAT_DOUBLE, &value) >= 0;
}

bool MpvEngine::command(std::initializer_list<const char*> args) {
    if (!mpv_) return false;
    std::vector<const char*> argv(args);
    argv.push_back(nullptr);
    return mpv_command(mpv_, argv.data()) >= 0;
}

} // namespace qinglan::aplayer
