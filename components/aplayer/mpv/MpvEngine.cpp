#include "MpvEngine.h"

#include "VideoWindow.h"
#include "lyrics/LyricsView.h"

#include <QGuiApplication>

#include <mpv/client.h>

#include <algorithm>
#include <clocale>
#include <map>

namespace qinglan::aplayer {

std::unique_ptr<Engine> createMpvEngine(const MpvEngineOptions& options) {
    return std::make_unique<MpvEngine>(options);
}

MpvEngine::WindowOwner::~WindowOwner() {
    if (!window) return;
    window->setAboutToBeDestroyed({}); // the core has gone already
    delete window.data();
}

MpvEngine::MpvEngine(MpvEngineOptions options) : options_(std::move(options)) {
    core_.onEvent([this](const mpv_event& event) { handleEvent(event); });
}

MpvEngine::~MpvEngine() = default;

bool MpvEngine::APlayer_Create(QWidget* parent, int x, int y, int width, int height,
                               MessageCallback message, BufferingCallback buffering,
                               CodecMissingCallback codecMissing) {
    if (core_.running()) return true;
    // mpv refuses to start under a locale with a decimal comma; Qt may have set one.
    std::setlocale(LC_NUMERIC, "C");

    // Draw into our own window on X11 only; anywhere else (offscreen, tests) no picture rather
    // than a window of mpv's own.
    const bool embedded =
        QGuiApplication::platformName() == QLatin1String("xcb") && options_.videoOutput != "null";
    owner_.window = new VideoWindow(parent, embedded);
    window_->setGeometry(x, y, width, height);
    window_->setMessageCallback(std::move(message));
    window_->setAboutToBeDestroyed([this] { core_.destroy(); });
    panoramaLook_.installPointer();
    window_->show();
    lyrics_ = std::make_unique<lyrics::LyricsView>(
        window_, lyrics::LyricsView::Host{[this] { return APlayer_GetPosition(); },
                                          [this] { return session_.soundLoaded(); },
                                          // The line released on must be the one that plays:
                                          // an exact seek, not the nearest place mpv finds fast.
                                          [this](int ms) { session_.seekExactly(ms); }});

    std::vector<std::pair<const char*, std::string>> options;
    if (embedded) {
        options.emplace_back("wid", std::to_string(static_cast<long long>(window_->surfaceId())));
        // The gpu outputs through OpenGL only. Where mpv's Vulkan probe fails (no Vulkan
        // driver: a VM, a remote desktop, Xvfb) it closes descriptor 0 on its way out. The next X
        // connection, the fallback output's, then gets that number, the probe at the next media
        // closes it under the running output, and libX11 ends the process. mpv still rejects a
        // software OpenGL while probing and falls back to its x11 output.
        options.emplace_back("gpu-api", "opengl");
        // Only an X11 context can draw into an X window. On a Wayland desktop (the player on
        // XWayland) mpv would otherwise try its Wayland context first and show the picture in a
        // window of its own.
        options.emplace_back("gpu-context", "x11egl");
    }
    options.emplace_back("vo", video_.startOutput(options_.videoOutput, embedded));
    options.emplace_back("ao", options_.audioOutput.empty() ? kAudioOutputs : options_.audioOutput);
    if (!core_.start(options)) return false;
    session_.start(std::move(buffering), std::move(codecMissing));
    video_.start();
    subtitles_.start();

    // Values set before the engine existed take effect now.
    for (const auto& [id, value] : std::map<int, std::string>(config_.all()))
        if (const ConfigRow* row = findConfigRow(id);
            row && row->apply && row->when == When::Running)
            row->apply(parts_, id, value);
    return true;
}

void MpvEngine::handleEvent(const mpv_event& event) {
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        session_.startedEntry(static_cast<mpv_event_start_file*>(event.data)->playlist_entry_id);
        break;
    case MPV_EVENT_FILE_LOADED:
        if (session_.fileLoaded()) {
            tracks_.applyAudioTrack();
            session_.seekPending();
        }
        break;
    case MPV_EVENT_END_FILE: {
        auto* end = static_cast<mpv_event_end_file*>(event.data);
        session_.endFile(end->reason, end->error, end->playlist_entry_id);
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART:
        session_.restarted();
        break;
    case MPV_EVENT_VIDEO_RECONFIG:
        session_.videoReconfigured();
        break;
    case MPV_EVENT_LOG_MESSAGE: {
        auto* m = static_cast<mpv_event_log_message*>(event.data);
        session_.logMessage(m->prefix, m->text);
        break;
    }
    default:
        break;
    }
}

void MpvEngine::resetMedia() {
    session_.reset();
    tracks_.forgetFiles();
}

void MpvEngine::stopForProcessing() {
    if (core_.running()) core_.command({"stop"}); // the media played until now
    resetMedia();
    if (window_) window_->showVideo(false);
}

void MpvEngine::APlayer_SetCustomLogo(const QImage& logo) {
    if (window_) window_->setLogo(logo);
}

bool MpvEngine::APlayer_OpenA(const std::string& pathOrAddress) {
    if (!core_.running() || pathOrAddress.empty()) return false;
    processing_.stop();
    if (processing_.modeOn()) {
        stopForProcessing();
        return processing_.start(pathOrAddress);
    }
    resetMedia();
    return session_.open(pathOrAddress);
}

void MpvEngine::APlayer_Play() {
    core_.setFlag("pause", false);
}

void MpvEngine::APlayer_Pause() {
    core_.setFlag("pause", true);
}

void MpvEngine::APlayer_Close() {
    processing_.cancel();
    if (!core_.running()) return;
    core_.command({"stop"});
    resetMedia();
    if (window_) window_->showVideo(false);
}

int MpvEngine::APlayer_GetState() const {
    return processing_.running() ? StatePlaying : session_.state();
}

int MpvEngine::APlayer_GetPosition() const {
    return processing_.running() ? static_cast<int>(processing_.progress().doneMs)
                                 : session_.positionMs();
}

int MpvEngine::APlayer_GetDuration() const {
    return processing_.running() ? static_cast<int>(processing_.progress().totalMs)
                                 : session_.durationMs();
}

void MpvEngine::APlayer_SetPosition(int ms) {
    session_.seek(ms);
}

void MpvEngine::APlayer_SetVolume(int volume) {
    core_.setDouble("volume", std::clamp(volume, 0, 1000));
}

bool MpvEngine::APlayer_SetConfigA(int id, const std::string& value) {
    config_.set(id, value);
    const ConfigRow* row = findConfigRow(id);
    if (!row || !row->apply) return true;                            // stored only
    if (row->when == When::Running && !core_.running()) return true; // applied at the start
    return row->apply(parts_, id, value);
}

std::string MpvEngine::APlayer_GetConfigA(int id) const {
    const ConfigRow* row = findConfigRow(id);
    return row && row->read ? row->read(parts_) : config_[id];
}

QWidget* MpvEngine::APlayer_GetWindow() const {
    return window_.data();
}

} // namespace qinglan::aplayer
