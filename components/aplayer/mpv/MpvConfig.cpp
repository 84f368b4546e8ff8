// Configuration ids -> mpv. The translations are the pure functions of MpvTranslate; this file
// only decides which of them a value feeds and applies the result.
#include "MpvEngine.h"

#include "ScreenshotWriter.h"
#include "VideoWindow.h"
#include "aplayer/ConfigTable.h"
#include "aplayer/SubtitleEncoding.h"
#include "lyrics/LyricsView.h"

#include <QString>

#include <mpv/client.h>

extern "C" {
#include <libavutil/cpu.h>
}

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace qinglan::aplayer {

bool MpvEngine::APlayer_SetConfigA(int id, const std::string& value) {
    config_[id] = value;
    onProcessingConfig(id, value);
    if (id == cfg::ShotFile) // an action, not a setting: never re-applied later
        return takeScreenshot(value);
    if (!mpv_) return true;
    bool ok = applyConfig(id, value);
    // Subtitles drawn per half of a 3D picture take their look and place from these.
    if (id == cfg::SubtitlePos || id == cfg::SubtitleFont || id == cfg::SubtitleRenderMode)
        drawSubtitleHalves();
    return ok;
}

bool MpvEngine::applyConfig(int id, const std::string& value) {
    using namespace cfg;
    switch (id) {
    case Mute:
        return setFlag("mute", isOn(value));
    case SubtitleStyleOwn:
        return setProperty("sub-ass-override", isOn(value) ? "scale" : "force");
    case Renderer:
    case OpenGl:
        return applyRenderer();
    case Aspect: {
        auto a = aspectOverride(value);
        return a && setProperty("video-aspect-override", *a);
    }
    case HardwareDecoding:
    case HardwareDecodingMode:
        return setProperty("hwdec", hardwareDecoding(isOn(configValue(HardwareDecoding)),
                                                     configValue(HardwareDecodingMode)));
    case Brightness:
    case Contrast:
    case Saturation:
    case Hue:
        return colourControl(value) && applyColourControls();
    case FlipHorizontal:
    case FlipVertical:
    case Enhancement:
    case Comparison:
        return applyVideoFilters();
    case RotateDegrees: {
        auto r = rotation(value);
        if (!r) return false;
        bool ok = setProperty("video-rotate", std::to_string(r->videoRotate));
        return applyVideoFilters() && ok;
    }
    case Avx2:
    case Sse2:
        return applyCpuFlags();
    case AudioTrack:
        return applyTrackIndex("aid", AudioTrack);
    case ChannelMap:
    case VolumeLevelling:
    case Surround:
    case SurroundDepth:
    case MultichannelVolume:
        return applyAudioFilters();
    case MultichannelMode: {
        auto out = multichannelOutput(value);
        if (!out) return false;
        bool ok = setProperty("audio-channels", out->audioChannels);
        ok = setProperty("audio-spdif", out->audioSpdif) && ok;
        return applyAudioFilters() && ok;
    }
    case ChannelDelay: {
        auto ms = parseInteger(value);
        return ms && setDouble("audio-delay", static_cast<double>(*ms) / 1000.0);
    }
    case SubtitleFile:
    case Subtitle2File:
        return applySubtitleFile(id);
    case SubtitleShow:
    case Subtitle2Show:
    case cfg::SubtitleRenderMode:
        return applySubtitleVisibility();
    case Stereo3d: {
        // The anaglyph makes one flat picture of the two views: its subtitles are drawn flat.
        bool ok = applyVideoFilters();
        return applySubtitleVisibility() && ok;
    }
    case Stereo3dEffect:
    case Stereo3dLayout:
    case Stereo3dPair:
    case VrMode:
    case VrDevice:
    case VrMonitor:
    case VrCaps:
    case VrQuality:
        return applyVideoFilters();
    case VrView:
        return applyPanoramaView();
    case SubtitleLanguage:
    case Subtitle2Language:
        return applyEmbeddedSubtitle(id);
    case SubtitleDelay:
    case Subtitle2Delay: {
        auto t = subtitleTiming(value);
        if (!t) return false;
        bool ok = setDouble("sub-delay", t->delaySeconds);
        return setDouble("sub-speed", t->speed) && ok;
    }
    case SubtitlePos: {
        auto p = subtitlePosition(value);
        if (!p) return false;
        bool ok = setProperty("sub-pos", std::to_string(p->subPos));
        ok = setProperty("sub-align-x", p->alignX) && ok;
        return setProperty("sub-align-y", p->alignY) && ok;
    }
    case SubtitleFont: {
        auto s = subtitleStyle(value);
        if (!s) return false;
        bool ok = s->font.empty() || setProperty("sub-font", s->font);
        ok = setProperty("sub-font-size", std::to_string(s->fontSize)) && ok;
        ok = setProperty("sub-color", s->colour) && ok;
        return setProperty("sub-shadow-offset", s->shadow ? "2" : "0") && ok;
    }
    case OsdShow:
    case OsdSize:
    case OsdMargin:
    case OsdOpacity:
    case OsdText:
    case OsdOutline:
        return applyOnScreenText();
    case LyricsShow:
    case LyricsInterval:
    case LyricsFile:
    case LyricsBackColour:
    case LyricsBackPicture:
    case LyricsBackFit:
    case LyricsFont:
    case LyricsTextColour:
    case LyricsHighlight:
    case LyricsBorder:
    case LyricsBorderColour:
    case LyricsFade:
    case LyricsAnimation:
    case LyricsOffset:
    case LyricsDrag:
    case LyricsAlign:
        if (lyrics_) lyrics_->setConfig(id, value);
        return true;
    default:
        return true; // stored only (see the table)
    }
}

// mpv's gpu outputs refuse a software OpenGL, and finding that out costs 50 to 100 ms and the
// whole GL stack in memory at every start. Without a device node of a graphics driver (Mesa's
// DRI nodes, NVIDIA's) there is no hardware OpenGL to find, so they are not tried at all.
bool MpvEngine::openGlUsable() const {
    if (configValue(cfg::OpenGl) == "0") return false;
    static const bool graphicsDevice = [] {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec))
            if (entry.path().filename().string().starts_with("render") ||
                entry.path().filename().string().starts_with("card"))
                return true;
        return std::filesystem::exists("/dev/nvidia0", ec);
    }();
    return graphicsDevice;
}

bool MpvEngine::applyRenderer() {
    // A forced output (tests, no native window) is never replaced.
    if (!options_.videoOutput.empty() || !embedded_) return true;
    std::string renderer = configValue(cfg::Renderer);
    auto vo = rendererVideoOutput(renderer.empty() ? "3" : renderer, openGlUsable());
    if (!vo) return false;
    if (*vo == currentVideoOutput_)
        return true; // the player re-sends it after every open: no needless re-creation
    currentVideoOutput_ = *vo;
    // Which of the listed outputs comes up is known only once it runs.
    activeVideoOutput_.clear();
    bool ok = setProperty("vo", *vo);
    return applyColourControls() && ok;
}

ColourControls MpvEngine::colourControls() const {
    auto value = [this](int id) { return colourControl(configValue(id)).value_or(0); };
    return {value(cfg::Brightness), value(cfg::Contrast), value(cfg::Saturation), value(cfg::Hue)};
}

bool MpvEngine::colourByFilter() const {
    // Until the output is known the filter is used: it looks right on every output.
    return activeVideoOutput_.empty() || !outputAppliesColourControls(activeVideoOutput_);
}

bool MpvEngine::applyColourControls() {
    ColourControls c = colourControls();
    colourFilterInUse_ = colourByFilter();
    if (colourFilterInUse_) c = {}; // the output's own controls stay neutral
    bool ok = setProperty("brightness", std::to_string(c.brightness));
    ok = setProperty("contrast", std::to_string(c.contrast)) && ok;
    ok = setProperty("saturation", std::to_string(c.saturation)) && ok;
    ok = setProperty("hue", std::to_string(c.hue)) && ok;
    return applyVideoFilters() && ok;
}

void MpvEngine::onVideoOutputChanged(const char* name) {
    if (!name || !*name) return; // no output at the moment: the last one is still the best guess
    activeVideoOutput_ = name;
    if (colourByFilter() != colourFilterInUse_) applyColourControls();
}

bool MpvEngine::applyVideoFilters(bool* sentAsync) {
    VideoFilterSettings s;
    s.flipHorizontal = isOn(configValue(cfg::FlipHorizontal));
    s.flipVertical = isOn(configValue(cfg::FlipVertical));
    if (auto r = rotation(configValue(cfg::RotateDegrees))) s.rotateFilter = r->filter;
    s.enhance = isOn(configValue(cfg::Enhancement));
    s.compare = isOn(configValue(cfg::Comparison));
    if (colourByFilter()) s.colourGraph = colourControlGraph(colourControls());
    // The same chain again would only rebuild the filters for nothing (the player re-sends its
    // settings after every open).
    std::string chain = videoFilterChain(s);
    if (std::string modes = pictureModeFilters(); !modes.empty())
        chain = chain.empty() ? modes : modes + "," + chain;
    if (chain == videoFilters_) return true;
    if (sentAsync) {
        const char* text = chain.c_str();
        if (!mpv_ ||
            mpv_set_property_async(mpv_, kPanoramaRedrawReply, "vf", MPV_FORMAT_STRING, &text) < 0)
            return false;
        *sentAsync = true;
    } else if (!setProperty("vf", chain)) {
        return false;
    }
    videoFilters_ = chain;
    return true;
}

bool MpvEngine::applyAudioFilters() {
    AudioFilterSettings s;
    s.channelMap = static_cast<int>(parseInteger(configValue(cfg::ChannelMap)).value_or(0));
    s.levelling = isOn(configValue(cfg::VolumeLevelling));
    s.surround = isOn(configValue(cfg::Surround));
    s.surroundDepth = static_cast<int>(parseInteger(configValue(cfg::SurroundDepth)).value_or(10));
    std::string mode = configValue(cfg::MultichannelMode);
    s.multichannelGain = mode == "1" || mode == "2" || mode == "3";
    s.multichannelGainTenthsDb = static_cast<int>(std::clamp<long long>(
        parseInteger(configValue(cfg::MultichannelVolume)).value_or(0), 0, 100));
    return setProperty("af", audioFilterChain(s));
}

bool MpvEngine::applyCpuFlags() {
    // FFmpeg's CPU flags are process-wide and read when a decoder or filter is set up, so a
    // change reaches the next media.
    av_force_cpu_flags(-1);
    int flags = av_get_cpu_flags();
    if (configValue(cfg::Sse2) == "0")
        flags &= ~(AV_CPU_FLAG_SSE2 | AV_CPU_FLAG_SSE2SLOW | AV_CPU_FLAG_SSE3 |
                   AV_CPU_FLAG_SSE3SLOW | AV_CPU_FLAG_SSSE3 | AV_CPU_FLAG_SSE4 | AV_CPU_FLAG_SSE42 |
                   AV_CPU_FLAG_AVX | AV_CPU_FLAG_AVXSLOW | AV_CPU_FLAG_XOP | AV_CPU_FLAG_FMA3 |
                   AV_CPU_FLAG_FMA4 | AV_CPU_FLAG_AVX2 | AV_CPU_FLAG_AVX512);
    if (configValue(cfg::Avx2) == "0") flags &= ~(AV_CPU_FLAG_AVX2 | AV_CPU_FLAG_AVX512);
    av_force_cpu_flags(flags);
    return true;
}

bool MpvEngine::applyTrackIndex(const char* property, int id) {
    auto index = parseInteger(configValue(id));
    if (!index || *index < 0 || !loaded_) return index.has_value() || configValue(id).empty();
    // Only an index the media has: a missing track would silence it.
    const char* type = std::strcmp(property, "aid") == 0 ? "audio" : "sub";
    int64_t count = 0;
    mpv_get_property(mpv_, "track-list/count", MPV_FORMAT_INT64, &count);
    long long seen = 0;
    for (int64_t i = 0; i < count; ++i) {
        std::string base = "track-list/" + std::to_string(i) + "/";
        char* t = mpv_get_property_string(mpv_, (base + "type").c_str());
        bool match = t && std::strcmp(t, type) == 0;
        mpv_free(t);
        int external = 0;
        mpv_get_property(mpv_, (base + "external").c_str(), MPV_FORMAT_FLAG, &external);
        if (!match || external) continue;
        if (seen++ == *index) {
            int64_t trackId = 0;
            mpv_get_property(mpv_, (base + "id").c_str(), MPV_FORMAT_INT64, &trackId);
            return setProperty(property, std::to_string(trackId));
        }
    }
    return false;
}

bool MpvEngine::applyEmbeddedSubtitle(int id) {
    bool second = id == cfg::Subtitle2Language;
    // A subtitle file, when given, has the place; the index picks among the media's own.
    if (!configValue(second ? cfg::Subtitle2File : cfg::SubtitleFile).empty() && loaded_)
        return true;
    return applyTrackIndex(second ? "secondary-sid" : "sid", id);
}

bool MpvEngine::applySubtitleFile(int id) {
    bool second = id == cfg::Subtitle2File;
    const char* property = second ? "secondary-sid" : "sid";
    std::string path = configValue(id);
    if (!loaded_) return !path.empty() || true; // applied to the media once the player re-sends it
    if (path.empty())
        return applyEmbeddedSubtitle(second ? cfg::Subtitle2Language : cfg::SubtitleLanguage);
    // The player sends the same file after every apply: add it once, then re-select it.
    // A track is shown in one place at a time: the file moves from the other place.
    const char* other = second ? "sid" : "secondary-sid";
    auto select = [&](long long trackId) {
        if (mpvProperty(other) == std::to_string(trackId)) setProperty(other, "no");
        return setProperty(property, std::to_string(trackId));
    };
    auto known = externalSubtitles_.find(path);
    if (known != externalSubtitles_.end()) return select(known->second);
    // A short Chinese file is taken for Latin text by mpv's own guess: the engine says which.
    setProperty("sub-codepage", subtitleCodepageOfFile(path));
    const char* args[] = {"sub-add", path.c_str(), second ? "auto" : "select", nullptr};
    if (mpv_command(mpv_, args) < 0) return false;
    int64_t count = 0, trackId = 0;
    mpv_get_property(mpv_, "track-list/count", MPV_FORMAT_INT64, &count);
    for (int64_t i = count - 1; i >= 0; --i) {
        std::string base = "track-list/" + std::to_string(i) + "/";
        char* t = mpv_get_property_string(mpv_, (base + "type").c_str());
        bool isSub = t && std::strcmp(t, "sub") == 0;
        mpv_free(t);
        if (isSub) {
            mpv_get_property(mpv_, (base + "id").c_str(), MPV_FORMAT_INT64, &trackId);
            break;
        }
    }
    if (trackId <= 0) return false;
    externalSubtitles_[path] = trackId;
    return select(trackId);
}

bool MpvEngine::applyOnScreenText() {
    if (!mpv_) return false;
    bool shown = isOn(configValue(cfg::OsdShow));
    OnScreenTextStyle style;
    style.sizePercent = static_cast<int>(parseInteger(configValue(cfg::OsdSize)).value_or(100));
    style.margin = static_cast<int>(parseInteger(configValue(cfg::OsdMargin)).value_or(70));
    style.opacity = static_cast<int>(parseInteger(configValue(cfg::OsdOpacity)).value_or(255));
    style.outline = configValue(cfg::OsdOutline) != "0";
    std::string data = shown ? onScreenTextAss(configValue(cfg::OsdText), style) : std::string();
    // While idle the logo is painted by Qt and mpv draws nothing: the window shows the text.
    if (window_)
        window_->setIdleText(shown ? QString::fromStdString(configValue(cfg::OsdText)) : QString(),
                             style.opacity);

    mpv_node_list list{};
    const char* keys[] = {"name", "id", "format", "data", "res_x", "res_y"};
    mpv_node values[6];
    values[0].format = MPV_FORMAT_STRING;
    values[0].u.string = const_cast<char*>("osd-overlay");
    values[1].format = MPV_FORMAT_INT64;
    values[1].u.int64 = 1;
    values[2].format = MPV_FORMAT_STRING;
    values[2].u.string = const_cast<char*>(shown ? "ass-events" : "none");
    values[3].format = MPV_FORMAT_STRING;
    values[3].u.string = const_cast<char*>(data.c_str());
    values[4].format = MPV_FORMAT_INT64;
    values[4].u.int64 = 0; // width follows the window's aspect
    values[5].format = MPV_FORMAT_INT64;
    values[5].u.int64 = 720;
    list.num = 6;
    list.keys = const_cast<char**>(keys);
    list.values = values;
    mpv_node cmd;
    cmd.format = MPV_FORMAT_NODE_MAP;
    cmd.u.list = &list;
    return mpv_command_node(mpv_, &cmd, nullptr) >= 0;
}

bool MpvEngine::takeScreenshot(const std::string& path) {
    if (!mpv_ || !loaded_ || path.empty()) return false;
    auto format = imageFormat(configValue(cfg::ShotFormat));
    if (!format) format = ImageFormat::Jpg;
    const char* args[] = {"screenshot-raw", "subtitles", nullptr};
    mpv_node result{};
    if (mpv_command_ret(mpv_, args, &result) < 0) return false;
    int64_t w = 0, h = 0, stride = 0;
    const mpv_byte_array* data = nullptr;
    std::string pixelFormat;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int i = 0; i < result.u.list->num; ++i) {
            const char* key = result.u.list->keys[i];
            const mpv_node& v = result.u.list->values[i];
            if (!std::strcmp(key, "w") && v.format == MPV_FORMAT_INT64)
                w = v.u.int64;
            else if (!std::strcmp(key, "h") && v.format == MPV_FORMAT_INT64)
                h = v.u.int64;
            else if (!std::strcmp(key, "stride") && v.format == MPV_FORMAT_INT64)
                stride = v.u.int64;
            else if (!std::strcmp(key, "format") && v.format == MPV_FORMAT_STRING)
                pixelFormat = v.u.string;
            else if (!std::strcmp(key, "data") && v.format == MPV_FORMAT_BYTE_ARRAY)
                data = v.u.ba;
        }
    }
    QImage frame;
    // "bgr0": B, G, R, padding per pixel, which is QImage's RGB32 in memory on little endian.
    if (data && w > 0 && h > 0 && stride >= w * 4 && pixelFormat == "bgr0" &&
        static_cast<int64_t>(data->size) >= stride * h)
        frame = QImage(static_cast<const uchar*>(data->data), static_cast<int>(w),
                       static_cast<int>(h), static_cast<qsizetype>(stride), QImage::Format_RGB32)
                    .copy();
    mpv_free_node_contents(&result);
    if (frame.isNull()) return false;

    Size size =
        screenshotSize({frame.width(), frame.height()},
                       {static_cast<int>(parseInteger(configValue(cfg::ShotWidth)).value_or(0)),
                        static_cast<int>(parseInteger(configValue(cfg::ShotHeight)).value_or(0))},
                       configValue(cfg::ShotKeepAspect) != "0");
    if (size.width != frame.width() || size.height != frame.height())
        frame =
            frame.scaled(size.width, size.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int quality = static_cast<int>(parseInteger(configValue(cfg::ShotQuality)).value_or(75));
    return writeScreenshot(frame, QString::fromStdString(path), *format, quality);
}

} // namespace qinglan::aplayer
