#pragma once
// Looking around a panorama with the mouse: each move of a drag turns the view, the wheel
// zooms, the release redraws at the chosen quality. Redraws are throttled to the interval of
// id 2405 and handed to mpv without waiting, so the window stays responsive while mpv builds a
// view; views that come meanwhile collapse into the latest one. The view is never stored: the
// next VR view value sent (2403) sets it again.
#include "aplayer/PictureModeTranslate.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <string>

namespace qinglan::aplayer {

class ConfigValues;
class PictureModes;
class VideoChain;
class VideoWindow;

class PanoramaLook {
public:
    PanoramaLook(PictureModes& modes, VideoChain& chain, const ConfigValues& config,
                 const QPointer<VideoWindow>& window)
        : modes_(modes), chain_(chain), config_(config), window_(window) {}

    // The video window's drags and wheel go here while a panorama shows.
    void installPointer();

    // Each returns false (and does nothing) while no panorama is shown.
    bool dragged(int dx, int dy);
    void released();
    bool wheel(int delta);
    // Id 2403 arrived: the sent view is the view again, whatever the mouse did is dropped.
    bool resetView();

private:
    void redraw();
    void send();
    void sent();

    PictureModes& modes_;
    VideoChain& chain_;
    const ConfigValues& config_;
    const QPointer<VideoWindow>& window_;
    QObject context_; // the throttle's timers end with this part
    QElapsedTimer clock_;
    bool pending_ = false;  // a throttled redraw waits for its interval
    bool inFlight_ = false; // mpv still builds the last view sent
    bool again_ = false;    // the view moved on meanwhile
    std::string sentChain_; // the chain of the request in flight
};

} // namespace qinglan::aplayer
