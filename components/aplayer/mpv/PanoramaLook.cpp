#include "PanoramaLook.h"

#include "ConfigValues.h"
#include "PictureModes.h"
#include "VideoChain.h"
#include "VideoWindow.h"
#include "aplayer/ConfigTable.h"

#include <QTimer>

#include <algorithm>

namespace qinglan::aplayer {

void PanoramaLook::installPointer() {
    if (!window_) return;
    VideoWindow::PointerHandler handler;
    handler.active = [this] { return modes_.panoramaShown(); };
    handler.dragged = [this](QPoint from, QPoint to) {
        dragged(to.x() - from.x(), to.y() - from.y());
    };
    handler.released = [this](QPoint) { released(); };
    handler.wheel = [this](int delta) { return wheel(delta); };
    window_->addPointerHandler(std::move(handler));
}

bool PanoramaLook::dragged(int dx, int dy) {
    if (!modes_.panoramaShown()) return false;
    PanoramaSettings s = modes_.panoramaSettings();
    int width = window_ ? std::max(1, window_->width()) : 640;
    modes_.setDragging(true);
    const ViewOffset& offset = modes_.offset();
    modes_.setOffset(
        dragView(offset, fieldOfViewForDistance(s.distance * offset.zoom), width, dx, dy));
    redraw();
    return true;
}

bool PanoramaLook::wheel(int delta) {
    if (!modes_.panoramaShown()) return false;
    modes_.setOffset(wheelZoom(modes_.offset(), delta));
    redraw();
    return true;
}

void PanoramaLook::released() {
    if (!modes_.dragging()) return;
    modes_.setDragging(false);
    send(); // the last view at the chosen quality
}

bool PanoramaLook::resetView() {
    modes_.setOffset({});
    modes_.setDragging(false);
    return chain_.apply();
}

void PanoramaLook::redraw() {
    // At most one redraw per interval; the last position always gets drawn.
    if (pending_) return;
    int interval = panoramaRedrawIntervalMs(config_[cfg::VrRedrawInterval]);
    if (interval == 0 || !clock_.isValid() || clock_.elapsed() >= interval) {
        clock_.start();
        send();
        return;
    }
    pending_ = true;
    QTimer::singleShot(interval - static_cast<int>(clock_.elapsed()), &context_, [this] {
        pending_ = false;
        clock_.start();
        send();
    });
}

void PanoramaLook::send() {
    if (inFlight_) {
        again_ = true;
        return;
    }
    bool out = false;
    chain_.applyAsync(&out, [this] { sent(); });
    inFlight_ = out;
    if (out) sentChain_ = chain_.chain();
}

void PanoramaLook::sent() {
    inFlight_ = false;
    // A chain set the waiting way meanwhile may have been applied before this one: mpv runs
    // such a request at once, ahead of those queued. The newest chain is then sent again.
    bool overtaken = chain_.chain() != sentChain_;
    if (!again_ && !overtaken) return;
    again_ = false;
    if (overtaken) chain_.forgetChain();
    send();
}

} // namespace qinglan::aplayer
