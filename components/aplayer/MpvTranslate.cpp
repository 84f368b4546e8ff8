#include "aplayer/MpvTranslate.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace qinglan::aplayer {
namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

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

std::string seconds(long long ms) {
    char buf[48];
    long long a = ms < 0 ? -ms : ms;
    std::snprintf(buf, sizeof buf, "%s%lld.%03lld", ms < 0 ? "-" : "", a / 1000, a % 1000);
    return buf;
}

std::string number(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

} // namespace

std::optional<long long> parseInteger(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

std::optional<double> parseDecimal(std::string_view text) {
    text = trim(text);
    double v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<std::string> colorrefToMpvColor(std::string_view decimalColorref) {
    auto v = parseInteger(decimalColorref);
    if (!v || *v < 0 || *v > 0xFFFFFF) return std::nullopt;
    unsigned r = *v & 0xFF, g = (*v >> 8) & 0xFF, b = (*v >> 16) & 0xFF;
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", r, g, b);
    return std::string(buf);
}

std::optional<std::string> aspectOverride(std::string_view value) {
    auto parts = split(value, ';');
    if (parts.size() != 2) return std::nullopt;
    auto a = parseDecimal(parts[0]), b = parseDecimal(parts[1]);
    if (!a || !b) return std::nullopt;
    if (*a == 0 && *b == 0) return std::string("-1");
    if (*a <= 0 || *b <= 0) return std::nullopt;
    return number(*a) + ":" + number(*b);
}

std::optional<int> colourControl(std::string_view value) {
    auto v = parseInteger(value);
    if (!v) return std::nullopt;
    return static_cast<int>((std::clamp<long long>(*v, 0, 100) - 50) * 2);
}

bool isSoundOnlyFileName(std::string_view path) {
    static constexpr std::string_view kSound[] = {".mp3", ".flac", ".ape", ".wav",  ".m4a",
                                                  ".aac", ".ogg",  ".oga", ".opus", ".wma"};
    const auto dot = path.find_last_of('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos)
        return false;
    std::string ext(path.substr(dot));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::find(std::begin(kSound), std::end(kSound), ext) != std::end(kSound);
}

std::string_view openFailureText(OpenFailure failure) {
    switch (failure) {
    case OpenFailure::FileMissing:
        return "文件不存在";
    case OpenFailure::FileUnreadable:
        return "文件无法读取";
    case OpenFailure::Network:
        return "网络错误";
    case OpenFailure::UnsupportedFormat:
        return "格式不支持";
    case OpenFailure::NothingToPlay:
        return "没有可播放的音视频";
    case OpenFailure::DecoderMissing:
        return "缺少解码器";
    case OpenFailure::NoPicture:
        return "无法输出画面";
    case OpenFailure::NoSound:
        return "无法输出声音";
    case OpenFailure::Other:
        break;
    }
    return "播放出错";
}

bool isNetworkAddress(std::string_view pathOrAddress) {
    const auto colon = pathOrAddress.find("://");
    if (colon == std::string_view::npos || colon == 0) return false;
    const std::string_view scheme = pathOrAddress.substr(0, colon);
    // A scheme is letters, digits, "+", "-" and "."; a local name may hold "://" further on.
    for (unsigned char c : scheme)
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    std::string lower(scheme);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower != "file";
}

bool outputAppliesColourControls(std::string_view videoOutput) {
    return videoOutput == "gpu" || videoOutput == "gpu-next";
}

std::string colourControlGraph(const ColourControls& c) {
    auto factor = [](int v) { return (100 + std::clamp(v, -100, 100)) / 100.0; };
    double gain = factor(c.contrast), saturation = factor(c.saturation);
    double offset = std::clamp(c.brightness, -100, 100) / 100.0;
    double degrees = std::clamp(c.hue, -100, 100) * 1.8;
    std::vector<std::string> items;
    if (gain != 1 || offset != 0) {
        // y' = gain * (y - 16) + 16 + 219 * offset; lutyuv keeps the result within 16..235.
        double constant = 16 - 16 * gain + 219 * offset;
        std::string expr = "val*" + number(gain);
        if (constant != 0) expr += (constant > 0 ? "+" : "") + number(constant);
        items.push_back("lutyuv=y=" + expr);
    }
    // The gain scales the colour too, as it does every channel on the gpu outputs.
    double chroma = gain * saturation;
    if (degrees != 0 || chroma != 1)
        items.push_back("hue=h=" + number(degrees) + ":s=" + number(chroma));
    std::string out;
    for (auto& i : items)
        out += (out.empty() ? "" : ",") + i;
    return out;
}

std::string startOption(std::string_view ms) {
    auto v = parseInteger(ms);
    if (!v || *v <= 0) return "none";
    return seconds(*v);
}

std::string endOption(std::string_view ms) {
    auto v = parseInteger(ms);
    if (!v || *v == 0) return "none";
    return seconds(*v);
}

std::optional<double> resolveStart(std::string_view ms, double duration) {
    auto v = parseInteger(ms);
    if (!v || *v <= 0) return std::nullopt;
    double s = *v / 1000.0;
    if (duration > 0 && s >= duration) return std::nullopt;
    return s;
}

std::optional<double> resolveEnd(std::string_view ms, double duration) {
    auto v = parseInteger(ms);
    if (!v || *v == 0) return std::nullopt;
    double s = *v / 1000.0;
    if (s < 0) {
        if (duration <= 0) return std::nullopt;
        s += duration;
    }
    if (s <= 0) return std::nullopt;
    return s;
}

std::optional<std::string> rendererVideoOutput(std::string_view value, bool openGlAllowed) {
    auto v = parseInteger(value);
    if (!v || *v < 1 || *v > 4) return std::nullopt;
    switch (*v) {
    case 1:
        return std::string("xv,x11");
    case 2:
        return std::string("x11");
    case 3:
        return std::string(openGlAllowed ? "gpu,x11" : "x11");
    default:
        return std::string(openGlAllowed ? "gpu-next,gpu,x11" : "x11");
    }
}

std::string hardwareDecoding(bool on, std::string_view mode) {
    if (!on) return "no";
    return mode == "1" ? "auto-safe" : "auto-copy-safe";
}

std::optional<Rotation> rotation(std::string_view degrees) {
    auto v = parseDecimal(degrees);
    if (!v) return std::nullopt;
    double d = std::fmod(*v, 360.0);
    if (d < 0) d += 360.0;
    Rotation r;
    double quarter = d / 90.0;
    if (std::abs(quarter - std::round(quarter)) < 1e-9) {
        r.videoRotate = static_cast<int>(std::lround(quarter) % 4) * 90;
        return r;
    }
    std::string a = number(d) + "*PI/180";
    r.filter = "rotate=a=" + a + ":ow=rotw(" + a + "):oh=roth(" + a + "):c=black";
    return r;
}

std::string_view enhancementGraph() {
    // Light denoise first so that sharpening does not amplify noise, then a touch of
    // contrast and colour.
    return "hqdn3d=1.5:1.5:6:6,unsharp=5:5:0.8:5:5:0,eq=contrast=1.05:saturation=1.15";
}

std::string videoFilterChain(const VideoFilterSettings& s) {
    std::vector<std::string> items;
    if (s.flipHorizontal) items.push_back("lavfi=[hflip]");
    if (s.flipVertical) items.push_back("lavfi=[vflip]");
    if (!s.rotateFilter.empty()) items.push_back("lavfi=[" + s.rotateFilter + "]");
    std::string enh(enhancementGraph());
    if (s.compare) {
        // Left half as decoded, right half enhanced, with a thin divider between them.
        items.push_back("lavfi=[split[a][b];[b]" + enh +
                        ",crop=iw/2:ih:iw/2:0[r];[a]crop=iw/2:ih:0:0,"
                        "drawbox=x=iw-2:y=0:w=2:h=ih:color=white@0.8:t=fill[l];[l][r]hstack]");
    } else if (s.enhance) {
        items.push_back("lavfi=[" + enh + "]");
    }
    // Last, as the gpu outputs apply their controls to the finished picture.
    if (!s.colourGraph.empty()) items.push_back("lavfi=[" + s.colourGraph + "]");
    std::string out;
    for (auto& i : items)
        out += (out.empty() ? "" : ",") + i;
    return out;
}

std::string audioFilterChain(const AudioFilterSettings& s) {
    std::vector<std::string> items;
    // aformat first: the channel filters need two channels even for mono media.
    switch (s.channelMap) {
    case 1:
        items.push_back("lavfi=[aformat=channel_layouts=stereo,pan=stereo|c0=c0|c1=c0]");
        break;
    case 2:
        items.push_back("lavfi=[aformat=channel_layouts=stereo,pan=stereo|c0=c1|c1=c1]");
        break;
    case 3:
        items.push_back("lavfi=[aformat=channel_layouts=stereo,"
                        "pan=stereo|c0=0.5*c0+0.5*c1|c1=0.5*c0+0.5*c1]");
        break;
    default:
        break;
    }
    if (s.surround) {
        int depth = std::clamp(s.surroundDepth, 0, 30);
        items.push_back("lavfi=[aformat=channel_layouts=stereo,extrastereo=m=" +
                        number(1.0 + depth * 0.05) + "]");
    }
    if (s.levelling) items.push_back("lavfi=[dynaudnorm=f=250:g=15]");
    if (s.multichannelGain && s.multichannelGainTenthsDb != 0)
        items.push_back("lavfi=[volume=" + number(s.multichannelGainTenthsDb / 10.0) + "dB]");
    std::string out;
    for (auto& i : items)
        out += (out.empty() ? "" : ",") + i;
    return out;
}

std::optional<MultichannelOutput> multichannelOutput(std::string_view mode) {
    if (mode == "1") return MultichannelOutput{"mono", ""};
    if (mode == "2") return MultichannelOutput{"stereo", ""};
    if (mode == "3") return MultichannelOutput{"5.1", ""};
    if (mode == "4") return MultichannelOutput{"auto-safe", "ac3,dts"};
    return std::nullopt;
}

std::optional<SubtitleTiming> subtitleTiming(std::string_view value) {
    auto parts = split(value, ';');
    auto delay = parseInteger(parts[0]);
    if (!delay) return std::nullopt;
    SubtitleTiming t;
    t.delaySeconds = (*delay - 5000) / 1000.0;
    if (parts.size() >= 3) {
        auto num = parseInteger(parts[1]), den = parseInteger(parts[2]);
        if (num && den && *num > 0 && *den > 0)
            t.speed = static_cast<double>(*num) / static_cast<double>(*den);
    }
    return t;
}

std::optional<SubtitlePosition> subtitlePosition(std::string_view value) {
    auto parts = split(value, ';');
    if (parts.size() != 3) return std::nullopt;
    SubtitlePosition p;
    if (!isOn(parts[0])) return p;
    auto h = parseInteger(parts[1]), v = parseInteger(parts[2]);
    if (!h || !v) return std::nullopt;
    p.subPos = static_cast<int>(std::clamp<long long>(*v, 0, 100));
    p.alignX = *h <= 33 ? "left" : *h >= 67 ? "right" : "center";
    return p;
}

std::optional<SubtitleStyle> subtitleStyle(std::string_view value) {
    auto parts = split(value, ';');
    if (parts.size() != 4) return std::nullopt;
    SubtitleStyle s;
    std::string_view font = trim(parts[0]);
    if (!font.empty() && font.front() == '@') font.remove_prefix(1);
    s.font = std::string(font);
    auto size = parseInteger(parts[1]);
    auto colour = colorrefToMpvColor(parts[2]);
    if (!size || *size <= 0 || !colour) return std::nullopt;
    // Point sizes of the player's list (10..40) on mpv's 720-line scale: 18 gives mpv's own
    // default size.
    s.fontSize = static_cast<int>(std::clamp<long long>(*size, 1, 200) * 3);
    s.colour = *colour;
    s.shadow = isOn(parts[3]);
    return s;
}

std::string escapeAss(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\xE2\x81\xA0"; // backslash + word joiner: never starts an escape
        else if (c == '{')
            out += "\\{";
        else if (c == '\n')
            out += "\\N";
        else if (c != '\r')
            out += c;
    }
    return out;
}

std::string onScreenTextAss(std::string_view text, const OnScreenTextStyle& style) {
    int size = std::max(1, 36 * std::clamp(style.sizePercent, 10, 1000) / 100);
    int margin = std::clamp(style.margin, 0, 700);
    int alpha = 255 - std::clamp(style.opacity, 0, 255);
    char head[200];
    std::snprintf(head, sizeof head,
                  "{\\an7\\pos(%d,%d)\\fs%d\\bord%d\\shad%d\\1c&HFFFFFF&\\3c&H000000&"
                  "\\4c&H000000&\\alpha&H%02X&}",
                  margin, margin, size, style.outline ? 2 : 0, style.outline ? 1 : 0, alpha);
    return head + escapeAss(text);
}

Size screenshotSize(Size source, Size requested, bool keepAspect) {
    constexpr int maxSide = 16384;
    int w = std::clamp(requested.width, 0, maxSide), h = std::clamp(requested.height, 0, maxSide);
    if (source.width <= 0 || source.height <= 0) return {w, h};
    if (w == 0 && h == 0) return source;
    double sw = source.width, sh = source.height;
    if (w == 0)
        w = static_cast<int>(std::lround(h * sw / sh));
    else if (h == 0)
        h = static_cast<int>(std::lround(w * sh / sw));
    else if (keepAspect) {
        double scale = std::min(w / sw, h / sh);
        w = static_cast<int>(std::lround(sw * scale));
        h = static_cast<int>(std::lround(sh * scale));
    }
    return {std::clamp(w, 1, maxSide), std::clamp(h, 1, maxSide)};
}

std::optional<ImageFormat> imageFormat(std::string_view value) {
    auto v = parseInteger(value);
    if (!v || *v < 1 || *v > 4) return std::nullopt;
    return static_cast<ImageFormat>(*v);
}

} // namespace qinglan::aplayer
