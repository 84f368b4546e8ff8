#include "playback/PlaybackController.h"

#include "playback/PlaybackRules.h"

#include <aplayer/ConfigTable.h>
#include <aplayer/Engine.h>
#include <settings/SettingsFields.h>

namespace qinglan::playback {
namespace {

const char* const kCaptionPause = "暂停";
const char* const kCaptionPlay = "播放";

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string cannotPlayText(const std::string& fileName, const std::string& reason) {
    return "无法播放：" + fileName + (reason.empty() ? "" : "（" + reason + "）");
}

PlaybackController::PlaybackController(aplayer::Engine& engine, PlaybackView& view, Hooks hooks,
                                       QObject* parent)
    : QObject(parent), engine_(engine), view_(view), hooks_(std::move(hooks)) {
    progress_.setInterval(kProgressMs);
    connect(&progress_, &QTimer::timeout, this, &PlaybackController::progressTick);
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] {
        if (hooks_.applyAllSettings) hooks_.applyAllSettings();
    });
    osdHide_.setSingleShot(true);
    osdHide_.setInterval(kOsdHoldMs);
    connect(&osdHide_, &QTimer::timeout, this, [this] { hideOnScreenText(); });
}

void PlaybackController::openAndPlay(const std::string& currentMedia) {
    view_.setSkipMenuEnabled(true);
    subtitleFile_.clear(); // a subtitle chosen for the previous media does not carry over
    view_.setLogoVisible(false);
    view_.setPlayButtonShowsPause(true);
    engine_.APlayer_Play();
    view_.setPlayLabelCaption(kCaptionPause);

    if (auto stem = mediaStemFor(currentMedia)) {
        mediaStem_ = *stem;
        view_.setScreenshotMenuEnabled(false);
    } else {
        view_.setScreenshotMenuEnabled(true);
    }

    const auto setting = [this](int field) {
        return hooks_.setting ? hooks_.setting(field) : std::string();
    };
    if (setting(settings::field::SkipOn) == "1") {
        const auto skip = skipPositions(setting(settings::field::IntroSeconds),
                                        setting(settings::field::OutroSeconds));
        engine_.APlayer_SetConfigA(aplayer::cfg::StartMs, skip.start);
        engine_.APlayer_SetConfigA(aplayer::cfg::EndMs, skip.end);
    } else if (!cutForNextOpen_) {
        playWhole();
    }
    cutForNextOpen_ = false;

    opened_ = currentMedia;
    failureShown_ = false;
    engine_.APlayer_OpenA(currentMedia);
    settle_.start();
    startProgress();
}

bool PlaybackController::openNetworkStream(const std::string& address) {
    if (!isAcceptedNetworkAddress(address)) return false;
    togglePlayPauseFromPanel();
    // A live stream has no intro or outro: the last local file's cut points must not apply,
    // only a span typed for this very open.
    if (!cutForNextOpen_) playWhole();
    cutForNextOpen_ = false;
    opened_ = address;
    failureShown_ = false;
    engine_.APlayer_OpenA(address);
    startProgress();
    return true;
}

bool PlaybackController::dropFile(const std::string& path) {
    if (isSubtitleFile(path)) {
        subtitleFile_ = path;
        if (hooks_.applyAllSettings) hooks_.applyAllSettings();
        return true;
    }
    openAndPlay(path);
    return false;
}

void PlaybackController::setSubtitleFile(const std::string& path) {
    subtitleFile_ = path;
    if (hooks_.applyAllSettings) hooks_.applyAllSettings();
}

void PlaybackController::togglePlayPauseFromPanel() {
    // The caption, not the engine, is the panel's play state.
    if (view_.playLabelCaption() == kCaptionPause) {
        view_.setPlayButtonShowsPause(false);
        engine_.APlayer_Pause();
        view_.setPlayLabelCaption(kCaptionPlay);
    } else {
        view_.setPlayButtonShowsPause(true);
        engine_.APlayer_Play();
        view_.setPlayLabelCaption(kCaptionPause);
    }
}

void PlaybackController::clickToggle() {
    // One click, one change: decide from the state before the click.
    const int state = engine_.APlayer_GetState();
    if (state == aplayer::StatePlaying)
        engine_.APlayer_Pause();
    else if (state == aplayer::StatePaused)
        engine_.APlayer_Play();
}

void PlaybackController::stop() {
    view_.setLogoVisible(true);
    engine_.APlayer_Close();
    view_.setSkipMenuEnabled(false);
}

void PlaybackController::previous() {
    if (hooks_.playPrevious) hooks_.playPrevious();
}

void PlaybackController::next() {
    if (hooks_.playNext) hooks_.playNext();
}

void PlaybackController::cutPointsSentForNextOpen() {
    cutForNextOpen_ = true;
}

// The engine keeps configuration values between opens, so cut points of an earlier open must
// be undone explicitly ("0" = from the start, to the end).
void PlaybackController::playWhole() {
    engine_.APlayer_SetConfigA(aplayer::cfg::StartMs, "0");
    engine_.APlayer_SetConfigA(aplayer::cfg::EndMs, "0");
}

void PlaybackController::setVolume(int volume) {
    engine_.APlayer_SetVolume(volume);
}

void PlaybackController::setMuted(bool muted) {
    engine_.APlayer_SetConfigA(aplayer::cfg::Mute, muted ? "1" : "0");
    muted_ = muted;
}

void PlaybackController::setAspectRatio(const std::string& value) {
    engine_.APlayer_SetConfigA(aplayer::cfg::Aspect, value);
}

void PlaybackController::seekToBarPosition(int seconds) {
    engine_.APlayer_SetPosition(seconds * 1000);
}

void PlaybackController::seekRelative(int deltaMs) {
    engine_.APlayer_SetPosition(engine_.APlayer_GetPosition() + deltaMs);
}

void PlaybackController::stepVolume(bool up) {
    const int next = stepVolumeOffset(volumeOffset_, up);
    if (next == volumeOffset_) return;
    volumeOffset_ = next;
    showOnScreenText(volumeOnScreenText(volumeOffset_));
    engine_.APlayer_SetVolume(volumeOffset_ + 100);
    osdHide_.start(kOsdHoldMs);
}

void PlaybackController::showOnScreenText(const std::string& text) {
    // A new text ends the wait of the one it replaces: that wait must not cut this one short.
    osdHide_.stop();
    shownText_ = text;
    engine_.APlayer_SetConfigA(aplayer::cfg::OsdShow, "1");
    engine_.APlayer_SetConfigA(aplayer::cfg::OsdSize, "100");
    engine_.APlayer_SetConfigA(aplayer::cfg::OsdMargin, "70");
    engine_.APlayer_SetConfigA(aplayer::cfg::OsdOutline, "1");
    engine_.APlayer_SetConfigA(aplayer::cfg::OsdOpacity, "200");
    engine_.APlayer_SetConfigA(aplayer::cfg::OsdText, text);
}

void PlaybackController::hideOnScreenText() {
    engine_.APlayer_SetConfigA(aplayer::cfg::OsdShow, "0");
}

void PlaybackController::hideOnScreenText(const std::string& ifShowing) {
    if (ifShowing == shownText_ && !osdHide_.isActive()) hideOnScreenText();
}

void PlaybackController::onEngineMessage(uint32_t message, uintptr_t, intptr_t) {
    switch (message) {
    case aplayer::MessageLeftButtonDown:
        clickToggle();
        break;
    case aplayer::MessageLeftButtonDoubleClick:
        view_.toggleFullScreen();
        engine_.APlayer_Play();
        break;
    case aplayer::MessageRightButtonUp:
        view_.popupContextMenu();
        break;
    default:
        break;
    }
}

void PlaybackController::onBuffering(int percent) {
    engine_.APlayer_SetConfigA(aplayer::cfg::OsdText, "缓冲：" + std::to_string(percent) + "%");
    if (percent == 100) hideOnScreenText();
}

void PlaybackController::onCodecMissing(const std::string& name) {
    view_.showCodecMissing(name);
}

void PlaybackController::startProgress() {
    progress_.start();
}

void PlaybackController::stopProgress() {
    progress_.stop();
    settle_.stop();
    osdHide_.stop();
}

void PlaybackController::progressTick() {
    const int maximum = engine_.APlayer_GetDuration() / 1000;
    const int position = engine_.APlayer_GetPosition() / 1000;
    view_.showProgress(maximum, position, formatClock(position) + "/" + formatClock(maximum));

    const std::string ended = engine_.APlayer_GetConfigA(aplayer::cfg::PlayResult);
    if (ended == "0") {
        if (hooks_.advanceAtEnd) hooks_.advanceAtEnd();
    } else if (ended == "2" && !failureShown_) {
        // The media could not be opened: say so instead of leaving the Playing signs up.
        failureShown_ = true;
        view_.setLogoVisible(true);
        view_.setSkipMenuEnabled(false);
        showOnScreenText(cannotPlayText(fileNameOf(opened_),
                                        engine_.APlayer_GetConfigA(aplayer::cfg::FailureReason)));
        osdHide_.start(kFailureHoldMs);
    }
}

} // namespace qinglan::playback
