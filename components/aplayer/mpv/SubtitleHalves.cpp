#include "SubtitleHalves.h"

#include "ConfigValues.h"
#include "MpvCore.h"
#include "aplayer/ConfigTable.h"
#include "aplayer/MpvTranslate.h"
#include "aplayer/PictureModeTranslate.h"

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

// mpv's own defaults for what 2108 and 2107 leave open, on its 720-line scale.
constexpr double kDefaultFontSize = 55;
constexpr double kBorderSize = 3;
constexpr double kBottomMargin = 22;

constexpr int kOverlayId = 2; // osd-overlay id (1 is the on-screen text)

} // namespace

void SubtitleHalves::start() {
    auto follow = [this](const mpv_event_property&) {
        if (on()) draw();
    };
    core_.observe("sub-text", MPV_FORMAT_NONE, follow);
    core_.observe("secondary-sub-text", MPV_FORMAT_NONE, follow);
    core_.observe("osd-dimensions", MPV_FORMAT_NONE, follow);
}

bool SubtitleHalves::on() const {
    if (isOn(config_[cfg::Stereo3d])) return false; // the 3D mode shows one flat picture
    auto mode = subtitleRenderMode(config_[cfg::SubtitleRenderMode]);
    return mode && *mode != SubtitleRenderMode::Flat;
}

bool SubtitleHalves::applyVisibility() {
    // While the halves are drawn here, mpv's own drawing of the same line stays off. Until the
    // player says, the first subtitle shows (mpv's default) and the second does not.
    bool halves = on();
    std::string first = config_[cfg::SubtitleShow];
    bool ok = core_.setFlag("sub-visibility", !halves && (first.empty() || isOn(first)));
    ok = core_.setFlag("secondary-sub-visibility", !halves && isOn(config_[cfg::Subtitle2Show])) &&
         ok;
    draw();
    return ok;
}

void SubtitleHalves::draw() {
    if (!core_.running()) return;
    // With the halves off (the flat mode, or the anaglyph's one flat picture) mpv draws the line
    // itself: only halves left from before are cleared, or it would show three times.
    const bool halves = on();
    if (!halves && !drawn_) return;
    auto mode = subtitleRenderMode(halves ? config_[cfg::SubtitleRenderMode] : std::string());
    std::string first = config_[cfg::SubtitleShow];
    std::string text = mode && (first.empty() || isOn(first)) ? core_.property("sub-text") : "";
    std::string second =
        mode && isOn(config_[cfg::Subtitle2Show]) ? core_.property("secondary-sub-text") : "";
    const int64_t w = core_.integer("osd-dimensions/w"), h = core_.integer("osd-dimensions/h");
    const int64_t ml = core_.integer("osd-dimensions/ml"), mt = core_.integer("osd-dimensions/mt");
    const int64_t mr = core_.integer("osd-dimensions/mr"), mb = core_.integer("osd-dimensions/mb");
    PictureArea area{static_cast<double>(ml), static_cast<double>(mt),
                     static_cast<double>(w - ml - mr), static_cast<double>(h - mt - mb)};
    auto pos = subtitlePosition(config_[cfg::SubtitlePos]).value_or(SubtitlePosition{});
    double scale = h > 0 ? h / 720.0 : 1;
    auto placement =
        mode ? halfPlacement(*mode, area, pos.subPos, kBottomMargin * scale) : std::nullopt;

    std::string events;
    if (placement && (!text.empty() || !second.empty())) {
        auto style = subtitleStyle(config_[cfg::SubtitleFont]);
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
    if (events.empty() && !drawn_) return;
    drawn_ = !events.empty();
    core_.overlay(kOverlayId, !events.empty(), events, std::max<int64_t>(w, 1),
                  std::max<int64_t>(h, 1), -1); // below the on-screen text
}

} // namespace qinglan::aplayer
