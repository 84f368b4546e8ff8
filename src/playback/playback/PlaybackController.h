#pragma once
#include "playback/PlaybackView.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <string>

namespace qinglan::aplayer {
class Engine;
}

namespace qinglan::playback {

// What the player says when a media cannot be played: "无法播放：" and the file's name, then the
// engine's reason in full-width brackets when it gave one ("无法播放：a.mp4（文件不存在）").
std::string cannotPlayText(const std::string& fileName, const std::string& reason);

// Everything between a media path and seeing it play: open, play/pause, stop, seek, volume,
// the progress display, the on-screen text and the engine callbacks. Lives on the window
// thread; the periodic progress poll is a timer there, so window changes and the advance
// at the end of a media never race with anything.
class PlaybackController : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // Settings text of a field of the loaded settings (173, 205, 206 are read here).
        std::function<std::string(int field)> setting;
        // Re-sends every stored option to the engine; runs a second after each open.
        std::function<void()> applyAllSettings;
        // The video list's navigation; each sets the current media and opens it.
        std::function<void()> advanceAtEnd;
        std::function<void()> playPrevious;
        std::function<void()> playNext;
    };

    PlaybackController(aplayer::Engine& engine, PlaybackView& view, Hooks hooks,
                       QObject* parent = nullptr);

    // Opens currentMedia and starts playing it.
    void openAndPlay(const std::string& currentMedia);
    // An http:// or https:// stream; anything else is ignored (false). The window-side
    // preparation (share mode, layout) is the caller's.
    bool openNetworkStream(const std::string& address);
    // A dropped file: a subtitle is remembered and applied, anything else is opened.
    // Returns true when it was taken as a subtitle.
    bool dropFile(const std::string& path);
    // "开始转换" has just sent its typed cut points (ids 102, 103). They hold for the next open
    // only, whether it plays or converts; with skip on the skip positions replace them. Every
    // later open is whole again, so one file's span never cuts the files after it.
    void cutPointsSentForNextOpen();
    bool cutPendingForNextOpen() const { return cutForNextOpen_; }
    // A subtitle file chosen for the media that plays: remembered and applied at once.
    void setSubtitleFile(const std::string& path);

    void togglePlayPauseFromPanel();
    void clickToggle(); // a click on the video, and the play/pause hotkey
    void stop();
    void previous();
    void next();

    // The volume window: its slider sets the engine volume itself (independent of the hotkeys'
    // offset); the mute choice is remembered between openings of the window.
    void setVolume(int volume);
    void setMuted(bool muted);
    bool muted() const { return muted_; }
    void setAspectRatio(const std::string& value);

    void seekToBarPosition(int seconds);
    void seekRelative(int deltaMs); // hotkeys: -20000 / +20000, no bounds applied
    void stepVolume(bool up);
    int volumeOffset() const { return volumeOffset_; }

    void showOnScreenText(const std::string& text);
    void hideOnScreenText();
    // Hides the text only while it is the one shown: a caller that waits to hide its own
    // message leaves a later text (the volume, a failure) alone.
    void hideOnScreenText(const std::string& ifShowing);

    // Engine callbacks.
    void onEngineMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void onBuffering(int percent);
    void onCodecMissing(const std::string& name);

    const std::string& subtitleFile() const { return subtitleFile_; }
    const std::string& mediaStem() const { return mediaStem_; }
    // The path or address of the last open.
    const std::string& openedMedia() const { return opened_; }
    bool progressRunning() const { return progress_.isActive(); }
    // How long the on-screen text stays from now on, 0 when no hide is pending.
    int onScreenTextHoldMs() const { return osdHide_.isActive() ? osdHide_.interval() : 0; }
    // Stops the progress poll for good (shutdown).
    void stopProgress();

    // One poll of the progress loop; public so tests need not wait for the timer.
    void progressTick();

    static constexpr int kSettleMs = 1000;      // open -> re-apply settings
    static constexpr int kProgressMs = 1000;    // progress poll period
    static constexpr int kOsdHoldMs = 1000;     // volume text stays this long
    static constexpr int kFailureHoldMs = 4000; // "cannot play" stays this long

private:
    void startProgress();
    void playWhole();

    aplayer::Engine& engine_;
    PlaybackView& view_;
    Hooks hooks_;
    QTimer progress_;
    QTimer settle_;
    QTimer osdHide_;
    int volumeOffset_ = 0;
    bool muted_ = false;
    std::string subtitleFile_;
    std::string shownText_; // the on-screen text last shown
    std::string mediaStem_;
    std::string opened_;        // the media of the last open, for the failure message
    bool failureShown_ = false; // the failure of this open was already reported
    bool cutForNextOpen_ = false;
};

} // namespace qinglan::playback
