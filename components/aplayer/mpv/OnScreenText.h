#pragma once
// The on-screen text of ids 602-621: an ASS overlay drawn by mpv over the video, and the same
// text painted by the video window while no video is drawn (mpv draws nothing then).
#include <QPointer>

namespace qinglan::aplayer {

class ConfigValues;
class MpvCore;
class VideoWindow;

class OnScreenText {
public:
    OnScreenText(MpvCore& core, const ConfigValues& config, const QPointer<VideoWindow>& window)
        : core_(core), config_(config), window_(window) {}

    // Shows or hides the text of id 612 as ids 602-621 say.
    bool apply();

private:
    MpvCore& core_;
    const ConfigValues& config_;
    const QPointer<VideoWindow>& window_;
};

} // namespace qinglan::aplayer
