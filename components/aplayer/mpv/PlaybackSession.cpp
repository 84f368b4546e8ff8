#include "PlaybackSession.h"

#include "ConfigValues.h"
#include "MpvCore.h"
#include "VideoWindow.h"
#include "aplayer/ConfigTable.h"

#include <mpv/client.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace qinglan::aplayer {
namespace {

constexpr const char* kCodecMissingPrefix = "Failed to initialize a decoder for codec '";

} // namespace

PlaybackSession::PlaybackSession(MpvCore& core, const ConfigValues& config,
                                 const QPointer<VideoWindow>& window)
    : core_(core), config_(config), window_(window) {}

void PlaybackSession::start(BufferingCallback buffering, CodecMissingCallback codecMissing) {
    buffering_ = std::move(buffering);
    codecMissing_ = std::move(codecMissing);
    core_.observe("paused-for-cache", MPV_FORMAT_FLAG, [this](const mpv_event_property& p) {
        if (p.format == MPV_FORMAT_FLAG) pausedForCache(*static_cast<int*>(p.data) != 0);
    });
    core_.observe("cache-buffering-state", MPV_FORMAT_INT64, [this](const mpv_event_property& p) {
        if (p.format == MPV_FORMAT_INT64)
            cacheFilled(
                static_cast<int>(std::clamp<int64_t>(*static_cast<int64_t*>(p.data), 0, 100)));
    });
}

bool PlaybackSession::open(const std::string& path) {
    // The surface is up before mpv makes its window inside it: mpv then maps that window
    // itself and the first frame shows the moment it is drawn. Shown later (mpv's window made,
    // not yet mapped) mpv takes the surface's map for its own and never maps its window.
    // A media that turns out to have no picture hides it again once it is set up.
    if (window_) window_->showVideo(!isSoundOnlyFileName(path));
    // A negative end needs the duration: it is set once the media has loaded. So is an end
    // at or before the start, which would end the media at once (and the player would race
    // through its list): such an end is dropped and the media played whole.
    std::string startMs = config_[cfg::StartMs], endMs = config_[cfg::EndMs];
    auto start = resolveStart(startMs, 0), end = resolveEnd(endMs, 0);
    core_.setProperty("start", startOption(startMs));
    core_.setProperty("end", end && *end > start.value_or(0.0) ? endOption(endMs) : "none");
    // Track choices belong to one media; the stored index is applied once the new one loads.
    core_.setProperty("aid", "auto");
    core_.setProperty("sid", "auto");
    core_.setProperty("secondary-sid", "no");
    core_.setFlag("pause", false);

    mediaPath_ = path;
    if (load(nullptr)) return true;
    mediaPath_.clear();
    return false;
}

// loadfile of mediaPath_ (with per-file mpv options or nullptr); sets currentEntry_.
bool PlaybackSession::load(const char* options) {
    const char* args[] = {"loadfile", mediaPath_.c_str(), "replace", options, nullptr};
    mpv_node result{};
    if (!core_.running() || mpv_command_ret(core_.handle(), args, &result) < 0) return false;
    long long entry = 0;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i)
            if (std::strcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                entry = result.u.list->values[i].u.int64;
    }
    mpv_free_node_contents(&result);
    if (entry == 0) entry = core_.integer("playlist/0/id", 0);
    currentEntry_ = entry;
    return true;
}

void PlaybackSession::reset() {
    mediaPath_.clear();
    currentEntry_ = 0;
    loaded_ = ended_ = failed_ = false;
    failureReason_.clear();
    pendingSeekMs_ = -1;
    lastDuration_ = 0;
    reportedCodecs_.clear();
    videoCodecMissing_ = retriedWithoutVideo_ = false;
}

int PlaybackSession::state() const {
    if (!core_.running() || currentEntry_ == 0 || ended_ || failed_) return StateReady;
    if (!loaded_) return StateOpening;
    return core_.flag("pause") ? StatePaused : StatePlaying;
}

int PlaybackSession::positionMs() const {
    if (ended_) return static_cast<int>(std::lround(lastDuration_ * 1000));
    if (!core_.running() || !loaded_) return 0;
    double pos = 0;
    if (!core_.number("time-pos", &pos) || !std::isfinite(pos)) return 0;
    return static_cast<int>(std::lround(std::clamp(pos, 0.0, 2e6) * 1000));
}

int PlaybackSession::durationMs() const {
    if (ended_) return static_cast<int>(std::lround(lastDuration_ * 1000));
    if (!loaded_) return 0;
    return static_cast<int>(std::lround(std::clamp(durationSeconds(), 0.0, 2e6) * 1000));
}

void PlaybackSession::seek(int ms) {
    if (!core_.running() || currentEntry_ == 0 || ended_ || failed_) return;
    if (!loaded_) {
        pendingSeekMs_ = std::max(ms, 0);
        return;
    }
    double target = std::max(ms, 0) / 1000.0;
    double d = durationSeconds();
    if (d > 0) target = std::min(target, d);
    std::string t = std::to_string(target);
    core_.command({"seek", t.c_str(), "absolute"});
}

void PlaybackSession::seekExactly(int ms) {
    if (!core_.running() || !loaded_) return;
    const std::string t = std::to_string(std::max(ms, 0) / 1000.0);
    core_.command({"seek", t.c_str(), "absolute+exact"});
}

bool PlaybackSession::soundLoaded() const {
    return loaded_ && (isSoundOnlyFileName(mediaPath_) || !hasVideoTrack());
}

std::string PlaybackSession::playResult() const {
    if (currentEntry_ == 0) return "";
    return ended_ ? "0" : failed_ ? "2" : "1";
}

std::string PlaybackSession::failureReason() const {
    return currentEntry_ == 0 || !failed_ ? std::string() : failureReason_;
}

bool PlaybackSession::hasVideoTrack() const {
    return core_.property("vid") != "no";
}

bool PlaybackSession::hasVideo() const {
    return core_.integer("video-params/w", 0) > 0;
}

double PlaybackSession::durationSeconds() const {
    double d = 0;
    if (!core_.number("duration", &d) || !std::isfinite(d)) return 0;
    return d;
}

bool PlaybackSession::fileLoaded() {
    if (currentEntry_ == 0 || lastStartedEntry_ != currentEntry_) return false;
    loaded_ = true;
    lastDuration_ = durationSeconds();
    auto endMs = parseInteger(config_[cfg::EndMs]);
    if (endMs && *endMs < 0) {
        auto start = resolveStart(config_[cfg::StartMs], lastDuration_);
        auto end = resolveEnd(config_[cfg::EndMs], lastDuration_);
        if (end && *end > start.value_or(0.0)) core_.setProperty("end", std::to_string(*end));
    }
    return true;
}

void PlaybackSession::seekPending() {
    if (pendingSeekMs_ < 0) return;
    int ms = pendingSeekMs_;
    pendingSeekMs_ = -1;
    seek(ms);
}

void PlaybackSession::endFile(int reason, int error, long long entryId) {
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

// mpv's x11 output watches its parent (our surface) and takes the parent's map event for its
// own: a surface shown between the output's window being made and being configured leaves
// mpv's window unmapped for good, and the logo stays. That gap is wide when playback starts
// at a position (the decoder runs to the start first). So the surface is either shown at
// the open, before the output exists, or, for a sound file that carries a picture, at the
// restart, which comes after the output has mapped its window.
// Video reconfigurations also come while the output is being set up, before the picture's
// size is known: only the absence of a video track hides the surface.
void PlaybackSession::restarted() {
    if (window_ && loaded_) window_->showVideo(hasVideoTrack() && hasVideo());
}

void PlaybackSession::videoReconfigured() {
    if (window_ && loaded_ && !hasVideoTrack()) window_->showVideo(false);
}

// mpv gives up on a media whose video cannot be decoded, sound and all. The sound is worth
// having: load it once more without the video. Log messages and events reach us in either
// order, so this runs on both the decoder message and the failed end.
void PlaybackSession::retryWithoutVideo() {
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
OpenFailure PlaybackSession::classifyFailure(int error) const {
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

void PlaybackSession::logMessage(const char* prefix, const char* text) {
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

void PlaybackSession::pausedForCache(bool paused) {
    if (pausedForCache_ && !paused && buffering_)
        buffering_(100);
    else if (paused && buffering_)
        buffering_(cachePercent_);
    pausedForCache_ = paused;
}

void PlaybackSession::cacheFilled(int percent) {
    if (percent != cachePercent_ && pausedForCache_ && buffering_) buffering_(percent);
    cachePercent_ = percent;
}

} // namespace qinglan::aplayer
