// The picture modes inside the engine: the 3D and VR graphs at the head of the video filter
// chain, the panorama view the mouse drags, and subtitles drawn once per half of a 3D picture.
// The graphs themselves are the pure translations of PictureModeTranslate.
#include "MpvEngine.h"

#include "VideoWindow.h"
#include "aplayer/ConfigTable.h"
#include "aplayer/PictureModeTranslate.h"

#include <QTimer>

#include <mpv/client.h>

#include <algorithm>
#include <cmath>

namespace qinglan::aplayer {
namespace {

// ASS colour "&HBBGGRR&" from "#RRGGBB".
std::string assColour(const std::string& rgb) {
    if (rgb.size() != 7) return "&HFFFFFF&";
    return "&H" + rgb.substr(5, 2) + rgb.substr(3, 2) + rgb.substr(1, 2) + "&";
}

// The render quality of the views drawn while the mouse drags a panorama.
constexpr int kDraftQuality = 0;

// mpv's own defaults for what 2108 and 2107 leave open, on its 720-line scale.
constexpr double kDefaultFontSize = 55;
constexpr double kBorderSize = 3;
constexpr double kBottomMargin = 22;

} // namespace

PanoramaSettings MpvEngine::panoramaSettingsNow() const {
    return panoramaSettings(configValue(cfg::VrMode), configValue(cfg::VrView),
                            configValue(cfg::VrDevice), configValue(cfg::VrMonitor),
                            configValue(cfg::VrCaps), configValue(cfg::VrQuality));
}

bool MpvEngine::panoramaShown() const {
    return panoramaSettingsNow().mode != PanoramaMode::None;
}

std::string MpvEngine::pictureModeFilters() const {
    std::string out;
    auto add = [&out](const std::string& graph) {
        if (!graph.empty()) out += (out.empty() ? "lavfi=[" : ",lavfi=[") + graph + "]";
    };
    // The panorama first: a stereo panorama drawn for both eyes is a side-by-side picture that
    // the anaglyph can then combine.
    PanoramaSettings panorama = panoramaSettingsNow();
    // While the mouse drags, each view costs the filter its whole remap table (about 0.1 s
    // at 720 lines): a draft view follows the pointer, the chosen quality comes back at the
    // release.
    if (panoramaDragging_) panorama.quality = std::min(panorama.quality, kDraftQuality);
    add(panoramaGraph(panorama, panoramaOffset_));
    if (auto stereo =
            stereoSettings(configValue(cfg::Stereo3d), configValue(cfg::Stereo3dEffect),
                           configValue(cfg::Stereo3dLayout), configValue(cfg::Stereo3dPair)))
        add(stereoGraph(*stereo));
    return out;
}

bool MpvEngine::applyPanoramaView() {
    // The view that was sent is the view again: whatever the mouse did is dropped.
    panoramaOffset_ = {};
    panoramaDragging_ = false;
    return applyVideoFilters();
}

void MpvEngine::installPanoramaPointer() {
    if (!window_) return;
    VideoWindow::PointerHandler handler;
    handler.active = [this] { return panoramaShown(); };
    handler.dragged = [this](QPoint from, QPoint to) {
        panoramaPointerDragged(to.x() - from.x(), to.y() - from.y());
    };
    handler.released = [this](QPoint) { panoramaPointerReleased(); };
    handler.wheel = [this](int delta) { return panoramaWheel(delta); };
    window_->addPointerHandler(std::move(handler));
}

bool MpvEngine::panoramaPointerDragged(int dx, int dy) {
    if (!panoramaShown()) return false;
    PanoramaSettings s = panoramaSettingsNow();
    int width = window_ ? std::max(1, window_->width()) : 640;
    panoramaDragging_ = true;
    panoramaOffset_ = dragView(
        panoramaOffset_, fieldOfViewForDistance(s.distance * panoramaOffset_.zoom), width, dx, dy);
    redrawPanorama();
    return true;
}

bool MpvEngine::panoramaWheel(int delta) {
    if (!panoramaShown()) return false;
    panoramaOffset_ = wheelZoom(panoramaOffset_, delta);
    redrawPanorama();
    return true;
}

void MpvEngine::panoramaPointerReleased() {
    if (!panoramaDragging_) return;
    panoramaDragging_ = false;
    sendPanoramaView(); // the last view at the chosen quality
}

void MpvEngine::redrawPanorama() {
    // At most one redraw per interval; the last position always gets drawn.
    if (panoramaRedrawPending_) return;
    int interval = panoramaRedrawIntervalMs(configValue(cfg::VrRedrawInterval));
    if (interval == 0 || !panoramaRedrawClock_.isValid() ||
        panoramaRedrawClock_.elapsed() >= interval) {
        panoramaRedrawClock_.start();
        sendPanoramaView();
        return;
    }
    panoramaRedrawPending_ = true;
    QTimer::singleShot(interval - static_cast<int>(panoramaRedrawClock_.elapsed()), &dispatcher_,
                       [this] {
                           panoramaRedrawPending_ = false;
                           panoramaRedrawClock_.start();
                           sendPanoramaView();
                       });
}

void MpvEngine::sendPanoramaView() {
    // mpv builds the chain on its own thread while the window stays responsive; views that come
    // while it works collapse into the latest one.
    if (panoramaRedrawInFlight_) {
        panoramaRedrawAgain_ = true;
        return;
    }
    bool sent = false;
    applyVideoFilters(&sent);
    panoramaRedrawInFlight_ = sent;
    if (sent) panoramaSentChain_ = videoFilters_;
}

void MpvEngine::onPanoramaRedrawn() {
    panoramaRedrawInFlight_ = false;
    // A chain set the waiting way meanwhile may have been applied before this one: mpv runs
    // such a request at once, ahead of those queued. The newest chain is then sent again.
    bool overtaken = videoFilters_ != panoramaSentChain_;
    if (!panoramaRedrawAgain_ && !overtaken) return;
    panoramaRedrawAgain_ = false;
    if (overtaken) videoFilters_ = "\x01 not what mpv has";
    sendPanoramaView();
}

ViewOffset MpvEngine::panoramaOffset() const {
    return panoramaOffset_;
}

bool MpvEngine::subtitleHalvesOn() const {
    if (isOn(configValue(cfg::Stereo3d))) return false; // the 3D mode shows one flat picture
    auto mode = subtitleRenderMode(configValue(cfg::SubtitleRenderMode));
    return mode && *mode != SubtitleRenderMode::Flat;
}

bool MpvEngine::applySubtitleVisibility() {
    // While the halves are drawn here, mpv's own drawing of the same line stays off. Until the
    // player says, the first subtitle shows (mpv's default) and the second does not.
    bool halves = subtitleHalvesOn();
    std::string first = configValue(cfg::SubtitleShow);
    bool ok = setFlag("sub-visibility", !halves && (first.empty() || isOn(first)));
    ok =
        setFlag("secondary-sub-visibility", !halves && isOn(configValue(cfg::Subtitle2Show))) && ok;
    drawSubtitleHalves();
    return ok;
}

void MpvEngine::drawSubtitleHalves() {
    if (!mpv_) return;
    // With the halves off (the flat mode, or the anaglyph's one flat picture) mpv draws the line
    // itself: only halves left from before are cleared, or it would show three times.
    const bool on = subtitleHalvesOn();
    if (!on && !subtitleHalvesDrawn_) return;
    auto mode = subtitleRenderMode(on ? configValue(cfg::SubtitleRenderMode) : std::string());
    std::string first = configValue(cfg::SubtitleShow);
    std::string text = mode && (first.empty() || isOn(first)) ? mpvProperty("sub-text") : "";
    std::string second =
        mode && isOn(configValue(cfg::Subtitle2Show)) ? mpvProperty("secondary-sub-text") : "";
    int64_t w = 0, h = 0, ml = 0, mt = 0, mr = 0, mb = 0;
    mpv_get_property(mpv_, "osd-dimensions/w", MPV_FORMAT_INT64, &w);
    mpv_get_property(mpv_, "osd-dimensions/h", MPV_FORMAT_INT64, &h);
    mpv_get_property(mpv_, "osd-dimensions/ml", MPV_FORMAT_INT64, &ml);
    mpv_get_property(mpv_, "osd-dimensions/mt", MPV_FORMAT_INT64, &mt);
    mpv_get_property(mpv_, "osd-dimensions/mr", MPV_FORMAT_INT64, &mr);
    mpv_get_property(mpv_, "osd-dimensions/mb", MPV_FORMAT_INT64, &mb);
    PictureArea area{static_cast<double>(ml), static_cast<double>(mt),
                     static_cast<double>(w - ml - mr), static_cast<double>(h - mt - mb)};
    auto pos = subtitlePosition(configValue(cfg::SubtitlePos)).value_or(SubtitlePosition{});
    double scale = h > 0 ? h / 720.0 : 1;
    auto placement =
        mode ? halfPlacement(*mode, area, pos.subPos, kBottomMargin * scale) : std::nullopt;

    std::string events;
    if (placement && (!text.empty() || !second.empty())) {
        auto style = subtitleStyle(configValue(cfg::SubtitleFont));
        std::string look =
            "\\fs" +
            std::to_string(std::lround((style ? style->fontSize : kDefaultFontSize) * scale)) +
            "\\fscx" + std::to_string(placement->scaleX) + "\\fscy" +
            std::to_string(placement->scaleY) + "\\bord" +
            std::to_string(std::lround(kBorderSize * scale)) + "\\shad" +
            (style && style->shadow ? std::to_string(std::lround(2 * scale)) : "0");
        if (style) look += "\\1c" + assColour(style->colour);
        if (style && !style->font.empty()) look += "\\fn" + style->font;
        for (int i = 0; i < 2; ++i) {
            auto at = [&](double x, double y) {
                return "\\pos(" + std::to_string(std::lround(x)) + "," +
                       std::to_string(std::lround(y)) + ")";
            };
            if (!text.empty())
                events += "{\\an2" + at(placement->x[i], placement->y[i]) + look + "}" +
                          escapeAss(text) + "\n";
            // The second subtitle sits at the top of each half, as mpv puts it at the top.
            double top =
                mode == SubtitleRenderMode::TopBottom ? area.top + area.height / 2 * i : area.top;
            if (!second.empty())
                events += "{\\an8" + at(placement->x[i], top + kBottomMargin * scale) + look + "}" +
                          escapeAss(second) + "\n";
        }
    }
    if (events.empty() && !subtitleHalvesDrawn_) return;
    subtitleHalvesDrawn_ = !events.empty();

    mpv_node_list list{};
    const char* keys[] = {"name", "id", "format", "data", "res_x", "res_y", "z"};
    mpv_node values[7];
    values[0].format = MPV_FORMAT_STRING;
    values[0].u.string = const_cast<char*>("osd-overlay");
    values[1].format = MPV_FORMAT_INT64;
    values[1].u.int64 = kSubtitleHalvesOverlay;
    values[2].format = MPV_FORMAT_STRING;
    values[2].u.string = const_cast<char*>(events.empty() ? "none" : "ass-events");
    values[3].format = MPV_FORMAT_STRING;
    values[3].u.string = const_cast<char*>(events.c_str());
    values[4].format = MPV_FORMAT_INT64;
    values[4].u.int64 = std::max<int64_t>(w, 1);
    values[5].format = MPV_FORMAT_INT64;
    values[5].u.int64 = std::max<int64_t>(h, 1);
    values[6].format = MPV_FORMAT_INT64;
    values[6].u.int64 = -1; // below the on-screen text
    list.num = 7;
    list.keys = const_cast<char**>(keys);
    list.values = values;
    mpv_node cmd;
    cmd.format = MPV_FORMAT_NODE_MAP;
    cmd.u.list = &list;
    mpv_command_node(mpv_, &cmd, nullptr);
}

} // namespace qinglan::aplayer
