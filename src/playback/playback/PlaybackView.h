#pragma once
#include <string>

namespace qinglan::playback {

// What playback control changes in the windows around the video. The main window
// implements it; tests use a recording fake, so the rules run without a display.
class PlaybackView {
public:
    virtual ~PlaybackView() = default;

    virtual void setLogoVisible(bool visible) = 0;
    virtual void setSkipMenuEnabled(bool enabled) = 0;
    virtual void setScreenshotMenuEnabled(bool enabled) = 0;
    // The side panel's play button: true shows the "pause" image (playing), false "play".
    virtual void setPlayButtonShowsPause(bool showsPause) = 0;
    // The side panel's play label; its caption doubles as the panel's play state.
    virtual std::string playLabelCaption() const = 0;
    virtual void setPlayLabelCaption(const std::string& caption) = 0;
    // The floating control bar: bar range and position in seconds, and the time text.
    virtual void showProgress(int maximumSeconds, int positionSeconds, const std::string& text) = 0;
    virtual void toggleFullScreen() = 0;
    virtual void popupContextMenu() = 0;
    virtual void showCodecMissing(const std::string& name) = 0;
};

} // namespace qinglan::playback
