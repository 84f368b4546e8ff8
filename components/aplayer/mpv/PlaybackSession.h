#pragma once
// The media being played: what was opened, where mpv is with it (opening, loaded, ended,
// failed and why), position, duration, seeking and the network cache. It follows mpv's events
// of its own playlist entry only; those of a media it replaced are ignored.
#include "aplayer/Engine.h"
#include "aplayer/MpvTranslate.h"

#include <QPointer>

#include <set>
#include <string>

namespace qinglan::aplayer {

class ConfigValues;
class MpvCore;
class VideoWindow;

class PlaybackSession {
public:
    PlaybackSession(MpvCore& core, const ConfigValues& config, const QPointer<VideoWindow>& window);

    // Called once mpv runs, with the player's callbacks.
    void start(BufferingCallback buffering, CodecMissingCallback codecMissing);

    // Loads path with the start and end of ids 102 and 103; false when mpv refused the request.
    bool open(const std::string& path);
    // Forgets the media (after a stop, or before the next one).
    void reset();

    int state() const;
    int positionMs() const;
    int durationMs() const;
    void seek(int ms);
    // The position exactly, for the release of a lyrics drag.
    void seekExactly(int ms);

    bool loaded() const { return loaded_; }
    // An audio media is loaded: a sound file, or a media without a video track.
    bool soundLoaded() const;
    // Ids 4, 7 and 8.
    std::string loadedPath() const { return loaded_ ? mediaPath_ : std::string(); }
    std::string playResult() const;
    std::string failureReason() const;
    bool hasVideoTrack() const; // a video track (or a sound file's picture) is selected

    // mpv's events.
    void startedEntry(long long entryId) { lastStartedEntry_ = entryId; }
    // True when the media that loaded is ours; then the caller applies what needs the media,
    // and seekPending() follows.
    bool fileLoaded();
    void seekPending();
    void endFile(int reason, int error, long long entryId);
    void restarted();
    void videoReconfigured();
    void logMessage(const char* prefix, const char* text);

private:
    bool load(const char* options);
    void retryWithoutVideo();
    OpenFailure classifyFailure(int mpvError) const;
    double durationSeconds() const;
    bool hasVideo() const;
    void pausedForCache(bool paused);
    void cacheFilled(int percent);

    MpvCore& core_;
    const ConfigValues& config_;
    const QPointer<VideoWindow>& window_;
    BufferingCallback buffering_;
    CodecMissingCallback codecMissing_;

    std::string mediaPath_;      // of the last open
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
    bool pausedForCache_ = false;
    int cachePercent_ = 100;
};

} // namespace qinglan::aplayer
