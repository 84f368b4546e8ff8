#include "aplayer/PictureModeTranslate.h"

#include "aplayer/MpvTranslate.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace qinglan::aplayer {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<std::string_view> split(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

// Locale-independent: filter arguments always take a decimal point.
std::string num(double v) {
    char buf[32];
    if (std::abs(v) < 0.0005) v = 0;
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
    std::string s(buf, ec == std::errc() ? end : buf);
    while (s.find('.') != std::string::npos && (s.back() == '0' || s.back() == '.')) {
        bool dot = s.back() == '.';
        s.pop_back();
        if (dot) break;
    }
    return s;
}

int even(double v) {
    return std::max(2, static_cast<int>(std::lround(v / 2)) * 2);
}

// The three anaglyphs of FFmpeg's stereo3d filter that carry pure channels (no mixing), with the
// channels of its left view. A pair equal to one of them, or to one with the eyes exchanged,
// is that filter; the others are mixed by hand.
struct Stereo3dAnaglyph {
    const char* name;
    bool left[3];
};
constexpr Stereo3dAnaglyph kStereo3d[] = {
    {"arcc", {true, false, false}},
    {"agmc", {false, true, false}},
    {"aybc", {false, false, true}},
};

bool same(const bool a[3], const bool b[3]) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}
bool complement(const bool a[3], const bool b[3]) {
    return a[0] != b[0] && a[1] != b[1] && a[2] != b[2];
}

std::string channelMask(const bool channels[3]) {
    return std::string("colorchannelmixer=rr=") + (channels[0] ? "1" : "0") +
           ":gg=" + (channels[1] ? "1" : "0") + ":bb=" + (channels[2] ? "1" : "0");
}

// The two views' crops and the sample aspect that gives the result the decoded shape again.
struct Views {
    const char* left;
    const char* right;
    const char* aspect;
};
Views viewsOf(StereoLayout layout) {
    switch (layout) {
    case StereoLayout::SideBySide:
        return {"crop=iw/2:ih:0:0", "crop=iw/2:ih:iw/2:0", "setsar=sar*2"};
    case StereoLayout::TopBottom:
        return {"crop=iw:ih/2:0:0", "crop=iw:ih/2:0:ih/2", "setsar=sar/2"};
    case StereoLayout::Virtual:
        break;
    }
    // The right view sits further right than the left one: the picture appears a little behind
    // the screen, the comfortable side.
    return {"crop=iw*49/50:ih:iw/50:0", "crop=iw*49/50:ih:0:0", "setsar=sar*50/49"};
}

} // namespace

std::span<const AnaglyphPair> anaglyphPairs() {
    static constexpr bool R[3] = {true, false, false}, G[3] = {false, true, false},
                          B[3] = {false, false, true}, C[3] = {false, true, true},
                          Y[3] = {true, true, false}, P[3] = {true, false, true};
    static constexpr auto pair = [](const char* name, const bool(&l)[3], const bool(&r)[3]) {
        return AnaglyphPair{name, {l[0], l[1], l[2]}, {r[0], r[1], r[2]}};
    };
    static constexpr std::array kPairs{
        pair("红青", R, C), pair("青红", C, R), pair("黄蓝", Y, B), pair("蓝黄", B, Y),
        pair("绿紫", G, P), pair("紫绿", P, G), pair("红绿", R, G), pair("绿红", G, R),
        pair("绿蓝", G, B), pair("蓝绿", B, G), pair("红蓝", R, B), pair("蓝红", B, R),
    };
    return kPairs;
}

std::optional<StereoSettings> stereoSettings(std::string_view on, std::string_view effect,
                                             std::string_view layout, std::string_view pair) {
    StereoSettings s;
    s.on = isOn(on);
    // Until the player says otherwise the effect is shown, in the first pair, from a 2D picture:
    // the page's own defaults.
    s.effectShown = effect != "0";
    auto l = layout.empty() ? std::optional<long long>(1) : parseInteger(layout);
    auto p = pair.empty() ? std::optional<long long>(1) : parseInteger(pair);
    if (!l || *l < 1 || *l > 3) return std::nullopt;
    if (!p || *p < 1 || *p > static_cast<long long>(anaglyphPairs().size())) return std::nullopt;
    s.layout = static_cast<StereoLayout>(*l);
    s.pair = static_cast<int>(*p);
    return s;
}

std::string stereoGraph(const StereoSettings& s) {
    if (!s.on) return "";
    const Views views = viewsOf(s.layout);
    if (!s.effectShown)
        return s.layout == StereoLayout::Virtual ? ""
                                                 : std::string(views.left) + "," + views.aspect;
    const AnaglyphPair& pair = anaglyphPairs()[static_cast<size_t>(s.pair - 1)];
    if (s.layout != StereoLayout::Virtual && complement(pair.left, pair.right)) {
        for (const auto& a : kStereo3d) {
            bool direct = same(pair.left, a.left);
            if (!direct && !same(pair.right, a.left)) continue;
            // stereo3d's sbsr/tbr read the right view from the left (top) half: the eyes change.
            const char* in = s.layout == StereoLayout::SideBySide ? (direct ? "sbsl" : "sbsr")
                                                                  : (direct ? "tbl" : "tbr");
            return std::string("stereo3d=") + in + ":" + a.name + "," + views.aspect;
        }
    }
    // Each view keeps only its eye's channels; the sum is the anaglyph. Planar RGB, so that no
    // chroma subsampling blurs the channels into each other.
    return std::string("format=gbrp,split[l][r];[l]") + views.left + "," + channelMask(pair.left) +
           "[lc];[r]" + views.right + "," + channelMask(pair.right) +
           "[rc];[lc][rc]blend=all_mode=addition," + views.aspect;
}

std::optional<PanoramaMode> panoramaMode(std::string_view value) {
    auto v = parseInteger(value);
    if (!v) return std::nullopt;
    switch (*v) {
    case 0:
    case 1:
    case 3:
    case 4:
    case 7:
    case 9:
    case 11:
    case 15:
        return static_cast<PanoramaMode>(*v);
    default:
        return std::nullopt;
    }
}

PanoramaSettings panoramaSettings(std::string_view mode, std::string_view view,
                                  std::string_view device, std::string_view monitor,
                                  std::string_view caps, std::string_view quality) {
    PanoramaSettings s;
    s.mode = panoramaMode(mode).value_or(PanoramaMode::None);
    auto v = split(view, ';');
    auto part = [](const std::vector<std::string_view>& parts, size_t i) {
        return i < parts.size() ? parseDecimal(parts[i]) : std::nullopt;
    };
    if (auto yaw = part(v, 0); yaw && std::isfinite(*yaw)) s.yaw = *yaw;
    if (auto pitch = part(v, 1); pitch && std::isfinite(*pitch)) s.pitch = *pitch;
    if (auto d = part(v, 2); d && std::isfinite(*d) && *d > 0) s.distance = *d;
    s.headMounted = isOn(device);
    if (auto m = parseInteger(monitor); m && *m >= 0 && *m <= 2) s.monitor = static_cast<int>(*m);
    auto c = split(caps, ';');
    auto percent = [](std::string_view t) {
        return static_cast<int>(std::clamp<long long>(parseInteger(t).value_or(0), 0, 100));
    };
    if (c.size() == 3) {
        s.capTop = percent(c[0]);
        s.capBottom = percent(c[1]);
        if (auto colour = colorrefToMpvColor(c[2])) s.capColour = *colour;
    }
    if (auto q = parseInteger(quality))
        s.quality = static_cast<int>(std::clamp<long long>(*q, 0, 100));
    return s;
}

double fieldOfViewForDistance(double distance) {
    if (!std::isfinite(distance) || distance <= 0) distance = PanoramaSettings::kDefaultDistance;
    return std::clamp(2 * std::atan(350.0 / distance) * 180 / kPi, 10.0, 150.0);
}

std::string panoramaGraph(const PanoramaSettings& s, const ViewOffset& offset) {
    using M = PanoramaMode;
    if (s.mode == M::None) return "";
    const int height = even(360 + 720 * std::clamp(s.quality, 0, 100) / 100.0);
    const int width = even(height * 16 / 9.0);
    const char* interp = s.quality < 34 ? "near" : s.quality < 67 ? "linear" : "cubic";
    const bool eyes =
        s.mode == M::EquirectEyes || s.mode == M::EquirectStereo || s.mode == M::FisheyeEyes;
    const char* inStereo = eyes ? "sbs" : "2d";
    const bool caps = s.capTop > 0 || s.capBottom > 0;
    const bool equirect =
        s.mode == M::Equirect || s.mode == M::EquirectEyes || s.mode == M::EquirectStereo;

    std::string graph;
    std::string input = "e";
    if (!equirect) {
        const char* circle = s.mode == M::DualFisheye ? "dfisheye" : "fisheye";
        std::string circleInput = std::string(circle) + ":ih_fov=180:iv_fov=180";
        // A half panorama's circle looks straight up or down: laid out as the sky or the ground
        // of a whole sphere first, so that yaw turns around the vertical and pitch 0 is the
        // horizon. Caps need that layout too.
        double turn = s.mode == M::FisheyeUp ? -90 : s.mode == M::FisheyeDown ? 90 : 0;
        if (turn != 0 || caps) {
            graph = "v360=input=" + circleInput + ":output=e:in_stereo=" + inStereo +
                    ":out_stereo=" + inStereo + ":pitch=" + num(turn) +
                    ":w=" + std::to_string(height * 2) + ":h=" + std::to_string(height) +
                    ":interp=" + interp + ",";
        } else {
            input = circleInput;
        }
    }
    if (caps) {
        std::string colour = "0x" + s.capColour.substr(1);
        if (s.capTop > 0)
            graph += "drawbox=x=0:y=0:w=iw:h=ih*" + std::to_string(s.capTop) +
                     "/200:color=" + colour + ":t=fill,";
        if (s.capBottom > 0)
            graph += "drawbox=x=0:y=ih-ih*" + std::to_string(s.capBottom) + "/200:w=iw:h=ih*" +
                     std::to_string(s.capBottom) + "/200:color=" + colour + ":t=fill,";
    }

    double yaw = std::remainder(s.yaw + offset.yaw, 360.0);
    double pitch = std::clamp(s.pitch + offset.pitch, -90.0, 90.0);
    double hfov = fieldOfViewForDistance(s.distance * offset.zoom);
    double vfov = 2 * std::atan(std::tan(hfov / 2 * kPi / 180) * height / width) * 180 / kPi;
    // Both eyes side by side for a headset; on the monitor beside it, both, one or none. The
    // size is an eye's: v360 puts the two side by side at twice the width.
    bool bothEyes = s.headMounted ? s.monitor == 0 : s.mode == M::EquirectStereo;
    graph += "v360=input=" + input + ":output=flat:in_stereo=" + inStereo +
             ":out_stereo=" + (bothEyes ? "sbs" : "2d") + ":yaw=" + num(yaw) +
             ":pitch=" + num(pitch) + ":h_fov=" + num(hfov) + ":v_fov=" + num(vfov) +
             ":w=" + std::to_string(width) + ":h=" + std::to_string(height) + ":interp=" + interp;
    if (s.headMounted && s.monitor == 2) graph += ",drawbox=x=0:y=0:w=iw:h=ih:color=black:t=fill";
    return graph;
}

ViewOffset dragView(const ViewOffset& start, double fieldOfView, int windowWidth, int dx, int dy) {
    if (windowWidth <= 0) return start;
    double perPixel = fieldOfView / windowWidth;
    ViewOffset v = start;
    v.yaw = std::remainder(start.yaw - dx * perPixel, 360.0);
    v.pitch = std::clamp(start.pitch + dy * perPixel, -180.0, 180.0);
    return v;
}

ViewOffset wheelZoom(const ViewOffset& start, int wheelDelta) {
    ViewOffset v = start;
    v.zoom = std::clamp(start.zoom * std::pow(1.1, wheelDelta / 120.0), 1 / 8.0, 8.0);
    return v;
}

int panoramaRedrawIntervalMs(std::string_view value) {
    return static_cast<int>(std::clamp<long long>(parseInteger(value).value_or(5), 0, 100));
}

std::optional<SubtitleRenderMode> subtitleRenderMode(std::string_view value) {
    auto v = parseInteger(value);
    if (!v || *v < 0 || *v > 2) return std::nullopt;
    return static_cast<SubtitleRenderMode>(*v);
}

std::optional<HalfPlacement> halfPlacement(SubtitleRenderMode mode, const PictureArea& area,
                                           int verticalPercent, double bottomMargin) {
    if (mode == SubtitleRenderMode::Flat || area.width <= 0 || area.height <= 0)
        return std::nullopt;
    double v = std::clamp(verticalPercent, 0, 100) / 100.0;
    HalfPlacement p;
    if (mode == SubtitleRenderMode::SideBySide) {
        for (int i = 0; i < 2; ++i) {
            p.x[i] = area.left + area.width * (i == 0 ? 0.25 : 0.75);
            p.y[i] = area.top + area.height * v - bottomMargin;
        }
        p.scaleX = 50;
    } else {
        for (int i = 0; i < 2; ++i) {
            p.x[i] = area.left + area.width / 2;
            p.y[i] = area.top + area.height / 2 * (i + v) - bottomMargin / 2;
        }
        p.scaleY = 50;
    }
    return p;
}

} // namespace qinglan::aplayer
