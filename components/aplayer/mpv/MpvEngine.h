#pragma once
// The engine on libmpv. Private to the component: the player sees only aplayer/Engine.h.
#include "aplayer/Engine.h"
#include "aplayer/MpvTranslate.h"
#include "aplayer/PictureModeTranslate.h"

#include <QElapsedTimer>

#include "processing/Processing.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <memory>

#include <atomic>
#include <map>
#include <set>
#include <string>

struct mpv_handle;
struct mpv_event;

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
    std::string mpvProperty(const char* name) const;

    // The mouse on the picture while a panorama is shown (PictureModes.cpp): each move of a drag
    // by (dx, dy) looks around, the wheel zooms. Each returns false (and does nothing) while no
    // panorama is shown. The view is never stored: the next VR view value sent (2403) sets it
    // again.
    bool panoramaPointerDragged(int dx, int dy);
    void panoramaPointerReleased();
    bool panoramaWheel(int delta);
    ViewOffset panoramaOffset() const;

private:
    // lifecycle and events (MpvEngine.cpp)
    void destroyMpv();
    static void wakeup(void* self);
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void onFileLoaded();
    void onEndFile(int reason, int error, long long entryId);
    OpenFailure classifyFailure(int mpvError) const;
    void onLogMessage(const char* prefix, const char* level, const char* text);
    void resetMedia();
    // loadfile of mediaPath_ (with per-file mpv options or nullptr); sets currentEntry_.
    bool load(const char* options);
    void retryWithoutVideo();
    double durationSeconds() const;
    bool hasVideo() const;
    bool hasVideoTrack() const; // a video track (or a sound file's picture) is selected

    // configuration ids (MpvConfig.cpp)
    std::string configValue(int id) const;
    bool applyConfig(int id, const std::string& value);
    bool applyRenderer();
    // OpenGL is allowed (id 313) and a graphics driver could provide it in hardware.
    bool openGlUsable() const;
    // With sentAsync, the chain is handed to mpv without waiting (a dragged panorama): true in
    // *sentAsync when a request went out, answered by kPanoramaRedrawReply.
    bool applyVideoFilters(bool* sentAsync = nullptr);
    // Brightness, contrast, saturation and hue: mpv's own controls where the running output
    // applies them, a filter at the end of the video chain everywhere else.
    bool applyColourControls();
    ColourControls colourControls() const;
    bool colourByFilter() const;
    void onVideoOutputChanged(const char* name);
    bool applyAudioFilters();
    bool applyCpuFlags();
    bool applySubtitleFile(int id);
    bool applyEmbeddedSubtitle(int id);
    bool applyOnScreenText();
    bool applyTrackIndex(const char* property, int id);
    bool takeScreenshot(const std::string& path);

    // picture modes (PictureModes.cpp)
    PanoramaSettings panoramaSettingsNow() const;
    bool panoramaShown() const;
    std::string pictureModeFilters() const; // mpv vf items, first in the chain
    bool applyPanoramaView();
    void installPanoramaPointer(); // the video window's drags and wheel while a panorama shows
    void redrawPanorama();
    void sendPanoramaView();
    void onPanoramaRedrawn();
    bool subtitleHalvesOn() const;
    bool applySubtitleVisibility();
    void drawSubtitleHalves();

    // processing modes (MpvProcessing.cpp)
    bool processingModeOn() const;
    void onProcessingConfig(int id, const std::string& value);
    bool startProcessing(const std::string& path);
    void stopProcessing();   // cancels a running job; its partial output is removed
    void cancelProcessing(); // the same, asked for by the player, and says so on screen
    void showOutcomeText(const std::string& text);
    void onProcessingProgress(unsigned run, const processing::Progress& progress);
    void onProcessingDone(unsigned run, const processing::Outcome& outcome);
    void showProcessingText(const std::string& text);
    void hideProcessingText();

    // small mpv helpers
    bool setProperty(const char* name, const std::string& value);
    bool setFlag(const char* name, bool on);
    bool setDouble(const char* name, double value);
    bool command(std::initializer_list<const char*> args);

    MpvEngineOptions options_;
    mpv_handle* mpv_ = nullptr;
    QPointer<VideoWindow> window_;
    QObject dispatcher_; // lives on the Qt thread; receives the queued event drains
    std::atomic<bool> wakeupPending_{false};
    bool embedded_ = false;
    std::string currentVideoOutput_; // the output list asked of mpv
    std::string activeVideoOutput_;  // the output mpv last ran from that list; "" = not yet known
    bool colourFilterInUse_ = true;
    std::string videoFilters_; // the vf chain mpv has

    MessageCallback message_;
    BufferingCallback buffering_;
    CodecMissingCallback codecMissing_;

    std::map<int, std::string> config_;

    // The media of the last APlayer_OpenA.
    std::string mediaPath_;
    long long currentEntry_ = 0; // mpv playlist entry id of our media, 0 = none
    long long lastStartedEntry_ = 0;
    bool loaded_ = false;
    bool ended_ = false;
    bool failed_ = false;
    std::string failureReason_; // id 8 while failed_
    int pendingSeekMs_ = -1;
    double lastDuration_ = 0;
    std::set<std::string> reportedCodecs_;
    bool videoCodecMissing_ = false;
    bool retriedWithoutVideo_ = false;
    std::map<std::string, long long> externalSubtitles_; // path -> mpv track id
    bool pausedForCache_ = false;
    int cachePercent_ = 100;
    // Drawn over the window while an audio media is open (ids 1302-1328).
    std::unique_ptr<lyrics::LyricsView> lyrics_;

    // The conversion of the last open while id 6 was "2" or "3".
    std::unique_ptr<processing::Processor> processor_;
    bool processingOn_ = false;
    unsigned processingRun_ = 0;
    processing::Progress processingProgress_;
    std::array<int, 4> borders_{}; // id 907: top, bottom, left, right
    std::size_t nextBorder_ = 0;

    ViewOffset panoramaOffset_; // what the mouse added to the sent view
    QElapsedTimer panoramaRedrawClock_;
    bool panoramaRedrawPending_ = false;  // a throttled redraw waits for its interval
    bool panoramaRedrawInFlight_ = false; // mpv still builds the last view sent
    bool panoramaRedrawAgain_ = false;    // the view moved on meanwhile
    bool panoramaDragging_ = false;
    std::string panoramaSentChain_;                       // the chain of the request in flight
    static constexpr uint64_t kPanoramaRedrawReply = 100; // mpv reply id of the async chain
    bool subtitleHalvesDrawn_ = false;
    static constexpr int kSubtitleHalvesOverlay = 2; // osd-overlay id (1 is the on-screen text)
};

} // namespace qinglan::aplayer
