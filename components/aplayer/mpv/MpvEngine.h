#pragma once
// The engine on libmpv. Private to the component: the player sees only aplayer/Engine.h.
//
// A thin front over the engine's parts, each with one job (see the headers beside this one):
// the mpv core, the media being played, the video filter chain, the picture modes and the
// panorama look-around, the tracks, the subtitles of a 3D picture, the on-screen text,
// screenshots, the processing modes and the lyrics. Configuration ids reach them through the
// one table of ConfigRows.h.
//
// Teardown follows the order of the members below, last first: the parts that draw into mpv
// or observe it go first, then the mpv core, then the video window mpv drew into.
#include "ConfigRows.h"
#include "ConfigValues.h"
#include "MpvCore.h"
#include "OnScreenText.h"
#include "PanoramaLook.h"
#include "PictureModes.h"
#include "PlaybackSession.h"
#include "ProcessingModes.h"
#include "Screenshots.h"
#include "SubtitleHalves.h"
#include "Tracks.h"
#include "VideoChain.h"
#include "aplayer/Engine.h"
#include "aplayer/PictureModeTranslate.h"

#include <QPointer>

#include <memory>
#include <string>

namespace qinglan::aplayer {

class VideoWindow;
namespace lyrics {
class LyricsView;
}

class MpvEngine final : public Engine {
public:
    explicit MpvEngine(MpvEngineOptions options);
    ~MpvEngine() override;
    MpvEngine(const MpvEngine&) = delete;
    MpvEngine& operator=(const MpvEngine&) = delete;

    bool APlayer_Create(QWidget* parent, int x, int y, int width, int height,
                        MessageCallback message, BufferingCallback buffering,
                        CodecMissingCallback codecMissing) override;
    void APlayer_SetCustomLogo(const QImage& logo) override;
    bool APlayer_OpenA(const std::string& pathOrAddress) override;
    void APlayer_Play() override;
    void APlayer_Pause() override;
    void APlayer_Close() override;
    int APlayer_GetState() const override;
    int APlayer_GetPosition() const override;
    int APlayer_GetDuration() const override;
    void APlayer_SetPosition(int ms) override;
    void APlayer_SetVolume(int volume) override;
    bool APlayer_SetConfigA(int id, const std::string& value) override;
    std::string APlayer_GetConfigA(int id) const override;
    QWidget* APlayer_GetWindow() const override;

    // An mpv property as text ("" when unavailable); for tests and the benchmark, which look
    // at what a configuration value did inside mpv.
    std::string mpvProperty(const char* name) const { return core_.property(name); }

    // The mouse on the picture while a panorama is shown: each move of a drag by (dx, dy)
    // looks around, the wheel zooms. Each returns false (and does nothing) while no panorama
    // is shown. The view is never stored: the next VR view value sent (2403) sets it again.
    bool panoramaPointerDragged(int dx, int dy) { return panoramaLook_.dragged(dx, dy); }
    void panoramaPointerReleased() { panoramaLook_.released(); }
    bool panoramaWheel(int delta) { return panoramaLook_.wheel(delta); }
    ViewOffset panoramaOffset() const { return pictureModes_.offset(); }

private:
    // Deletes the video window at the end unless its parent did already.
    struct WindowOwner {
        QPointer<VideoWindow> window;
        ~WindowOwner();
    };

    void handleEvent(const mpv_event& event);
    void resetMedia();
    void stopForProcessing();

    MpvEngineOptions options_;
    WindowOwner owner_;
    const QPointer<VideoWindow>& window_ = owner_.window;
    ConfigValues config_;
    MpvCore core_;
    PlaybackSession session_{core_, config_, window_};
    PictureModes pictureModes_{config_};
    VideoChain video_{core_, config_, pictureModes_};
    PanoramaLook panoramaLook_{pictureModes_, video_, config_, window_};
    Tracks tracks_{core_, config_, session_};
    SubtitleHalves subtitles_{core_, config_};
    OnScreenText text_{core_, config_, window_};
    Screenshots screenshots_{core_, config_, session_};
    ProcessingModes processing_{config_, text_};
    // Drawn over the window while an audio media is open (ids 1302-1328).
    std::unique_ptr<lyrics::LyricsView> lyrics_;
    EngineParts parts_{core_,      config_, session_,     video_,      panoramaLook_, tracks_,
                       subtitles_, text_,   screenshots_, processing_, lyrics_};
};

} // namespace qinglan::aplayer
