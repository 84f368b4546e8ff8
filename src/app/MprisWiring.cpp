// The desktop's media controls (media keys, panel widgets, playerctl) through the platform's
// media remote: each request runs what the player's own controls run, and the remote reads the
// engine's state to show. Without a session bus there is no remote and nothing changes.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"

#include <aplayer/Engine.h>
#include <platform/MediaRemote.h>

#include <QFileInfo>
#include <QObject>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace qinglan::app {

namespace {

using platform::MediaStatus;

// Keeps the remote as long as the main window object lives.
class MprisHolder final : public QObject {
public:
    explicit MprisHolder(MainWindow& w) : QObject(&w), w_(w) {
        remote_ = platform::makeMediaRemote(player());
    }

private:
    aplayer::Engine& engine() { return w_.engine(); }
    int state() { return engine().APlayer_GetState(); }

    // The media of the last open. Not currentMedia: a dropped subtitle becomes that too, and
    // the network open leaves it as it was, but neither is what plays.
    const std::string& playingMedia() { return w_.playback().openedMedia(); }

    // Nothing open: play starts the last media again.
    void playFromIdle() {
        const std::string media = playingMedia();
        if (media.empty()) return;
        processState().currentMedia = media;
        w_.playback().openAndPlay(media);
    }

    // The volume the desktop set holds until the volume hotkeys move the player's own.
    int volume() {
        const int offset = w_.playback().volumeOffset();
        if (offset != lastOffset_) {
            lastOffset_ = offset;
            volume_ = offset + 100;
        }
        return volume_;
    }

    MediaStatus status() {
        MediaStatus s;
        const int st = state();
        s.state = st == aplayer::StatePlaying || st == aplayer::StateOpening
                      ? MediaStatus::State::Playing
                  : st == aplayer::StatePaused ? MediaStatus::State::Paused
                                               : MediaStatus::State::Stopped;
        s.volume = volume() / 100.0;
        const auto& media = playingMedia();
        if (st == aplayer::StateReady || media.empty()) return s;
        const QString text = QString::fromStdString(media);
        const QUrl url = QUrl(text).scheme().startsWith(QLatin1String("http"))
                             ? QUrl(text)
                             : QUrl::fromLocalFile(text);
        s.url = url.toString(QUrl::FullyEncoded).toStdString();
        s.title = url.isLocalFile() ? QFileInfo(text).fileName().toStdString() : media;
        s.lengthMs = engine().APlayer_GetDuration();
        return s;
    }

    platform::MediaRemote::Player player() {
        platform::MediaRemote::Player p;
        p.playPause = [this] {
            if (state() == aplayer::StateReady)
                playFromIdle();
            else
                w_.playback().clickToggle();
        };
        p.play = [this] {
            if (state() == aplayer::StatePaused) engine().APlayer_Play();
            if (state() == aplayer::StateReady) playFromIdle();
        };
        p.pause = [this] {
            if (state() == aplayer::StatePlaying) engine().APlayer_Pause();
        };
        p.stop = [this] { w_.playback().stop(); };
        p.next = [this] { w_.playback().next(); };
        p.previous = [this] { w_.playback().previous(); };
        p.raise = [this] { w_.showMainWindow(); };
        p.quit = [this] { w_.shutdown(); };
        p.seekBy = [this](std::int64_t ms) {
            w_.playback().seekRelative(static_cast<int>(
                std::clamp<std::int64_t>(ms, -24 * 3600 * 1000, 24 * 3600 * 1000)));
        };
        p.seekTo = [this](std::int64_t ms) {
            engine().APlayer_SetPosition(
                static_cast<int>(std::clamp<std::int64_t>(ms, 0, 1000LL * 3600 * 24 * 24)));
        };
        p.open = [this](const std::string& uri) {
            const QUrl url(QString::fromStdString(uri));
            std::string media;
            if (url.isLocalFile())
                media = url.toLocalFile().toStdString();
            else if (url.scheme() == QLatin1String("http") ||
                     url.scheme() == QLatin1String("https"))
                media = uri;
            if (media.empty()) return;
            processState().currentMedia = media;
            w_.playback().openAndPlay(media);
        };
        p.setVolume = [this](double v) {
            volume();
            volume_ = static_cast<int>(std::lround(std::clamp(v, 0.0, 10.0) * 100));
            engine().APlayer_SetVolume(volume_);
        };
        p.status = [this] { return status(); };
        p.positionMs = [this] { return std::int64_t(engine().APlayer_GetPosition()); };
        return p;
    }

    MainWindow& w_;
    std::unique_ptr<platform::MediaRemote> remote_;
    int lastOffset_ = 0;
    int volume_ = 100;
};

} // namespace

void wireMpris(MainWindow& w, ui::HandlerTable&) {
    new MprisHolder(w);
}

} // namespace qinglan::app
