// Every configuration id, stated once: what it means and how the engine on libmpv carries it
// out. The translations of values into mpv's terms are the pure functions of MpvTranslate and
// PictureModeTranslate; the appliers here only choose which part of the engine a value feeds.
#include "ConfigRows.h"

#include "ConfigValues.h"
#include "MpvCore.h"
#include "OnScreenText.h"
#include "PanoramaLook.h"
#include "PlaybackSession.h"
#include "ProcessingModes.h"
#include "Screenshots.h"
#include "SubtitleHalves.h"
#include "Tracks.h"
#include "VideoChain.h"
#include "aplayer/MpvTranslate.h"
#include "lyrics/LyricsView.h"

extern "C" {
#include <libavutil/cpu.h>
}

#include <algorithm>
#include <array>

namespace qinglan::aplayer {
namespace {

using K = ConfigKind;
using P = EngineParts;
using V = const std::string&;

// Readers of the engine's state.

std::string loadedPath(const P& p) {
    return p.session.loadedPath();
}

// While a conversion runs the list must not move on ("1"), and its own text tells its outcome.
std::string playResult(const P& p) {
    return p.processing.running() ? "1" : p.session.playResult();
}

std::string failureReason(const P& p) {
    return p.processing.running() ? std::string() : p.session.failureReason();
}

// Appliers.

bool recordProcessing(P& p, int id, V value) {
    p.processing.record(id, value);
    return true;
}

bool mute(P& p, int, V value) {
    return p.core.setFlag("mute", isOn(value));
}

bool subtitleStyleOwn(P& p, int, V value) {
    return p.core.setProperty("sub-ass-override", isOn(value) ? "scale" : "force");
}

bool renderer(P& p, int, V) {
    return p.video.applyRenderer();
}

bool aspect(P& p, int, V value) {
    auto a = aspectOverride(value);
    return a && p.core.setProperty("video-aspect-override", *a);
}

bool hardwareDecoding(P& p, int, V) {
    return p.core.setProperty("hwdec",
                              aplayer::hardwareDecoding(isOn(p.config[cfg::HardwareDecoding]),
                                                        p.config[cfg::HardwareDecodingMode]));
}

bool colour(P& p, int, V value) {
    return colourControl(value) && p.video.applyColourControls();
}

bool videoChain(P& p, int, V) {
    return p.video.apply();
}

bool rotate(P& p, int, V value) {
    auto r = rotation(value);
    if (!r) return false;
    bool ok = p.core.setProperty("video-rotate", std::to_string(r->videoRotate));
    return p.video.apply() && ok;
}

// The anaglyph makes one flat picture of the two views: its subtitles are drawn flat.
bool stereo(P& p, int, V) {
    bool ok = p.video.apply();
    return p.subtitles.applyVisibility() && ok;
}

bool panoramaView(P& p, int, V) {
    return p.panorama.resetView();
}

// FFmpeg's CPU flags are process-wide and read when a decoder or filter is set up, so a change
// reaches the next media.
bool cpuFlags(P& p, int, V) {
    av_force_cpu_flags(-1);
    int flags = av_get_cpu_flags();
    if (p.config[cfg::Sse2] == "0")
        flags &= ~(AV_CPU_FLAG_SSE2 | AV_CPU_FLAG_SSE2SLOW | AV_CPU_FLAG_SSE3 |
                   AV_CPU_FLAG_SSE3SLOW | AV_CPU_FLAG_SSSE3 | AV_CPU_FLAG_SSE4 | AV_CPU_FLAG_SSE42 |
                   AV_CPU_FLAG_AVX | AV_CPU_FLAG_AVXSLOW | AV_CPU_FLAG_XOP | AV_CPU_FLAG_FMA3 |
                   AV_CPU_FLAG_FMA4 | AV_CPU_FLAG_AVX2 | AV_CPU_FLAG_AVX512);
    if (p.config[cfg::Avx2] == "0") flags &= ~(AV_CPU_FLAG_AVX2 | AV_CPU_FLAG_AVX512);
    av_force_cpu_flags(flags);
    return true;
}

bool audioTrack(P& p, int, V) {
    return p.tracks.applyAudioTrack();
}

bool audioChain(P& p, int, V) {
    AudioFilterSettings s;
    s.channelMap = static_cast<int>(parseInteger(p.config[cfg::ChannelMap]).value_or(0));
    s.levelling = isOn(p.config[cfg::VolumeLevelling]);
    s.surround = isOn(p.config[cfg::Surround]);
    s.surroundDepth = static_cast<int>(parseInteger(p.config[cfg::SurroundDepth]).value_or(10));
    std::string mode = p.config[cfg::MultichannelMode];
    s.multichannelGain = mode == "1" || mode == "2" || mode == "3";
    s.multichannelGainTenthsDb = static_cast<int>(
        std::clamp<long long>(parseInteger(p.config[cfg::MultichannelVolume]).value_or(0), 0, 100));
    return p.core.setProperty("af", audioFilterChain(s));
}

bool multichannel(P& p, int id, V value) {
    auto out = multichannelOutput(value);
    if (!out) return false;
    bool ok = p.core.setProperty("audio-channels", out->audioChannels);
    ok = p.core.setProperty("audio-spdif", out->audioSpdif) && ok;
    return audioChain(p, id, value) && ok;
}

bool channelDelay(P& p, int, V value) {
    auto ms = parseInteger(value);
    return ms && p.core.setDouble("audio-delay", static_cast<double>(*ms) / 1000.0);
}

bool subtitleFile(P& p, int id, V) {
    return p.tracks.applySubtitleFile(id);
}

bool subtitleVisibility(P& p, int, V) {
    return p.subtitles.applyVisibility();
}

bool embeddedSubtitle(P& p, int id, V) {
    return p.tracks.applyEmbeddedSubtitle(id);
}

bool subtitleTiming(P& p, int, V value) {
    auto t = aplayer::subtitleTiming(value);
    if (!t) return false;
    bool ok = p.core.setDouble("sub-delay", t->delaySeconds);
    return p.core.setDouble("sub-speed", t->speed) && ok;
}

// The subtitles drawn per half of a 3D picture take their place and look from 2107 and 2108.
bool subtitlePosition(P& p, int, V value) {
    auto pos = aplayer::subtitlePosition(value);
    bool ok = pos.has_value();
    if (pos) {
        ok = p.core.setProperty("sub-pos", std::to_string(pos->subPos));
        ok = p.core.setProperty("sub-align-x", pos->alignX) && ok;
        ok = p.core.setProperty("sub-align-y", pos->alignY) && ok;
    }
    p.subtitles.draw();
    return ok;
}

bool subtitleFont(P& p, int, V value) {
    auto s = subtitleStyle(value);
    bool ok = s.has_value();
    if (s) {
        ok = s->font.empty() || p.core.setProperty("sub-font", s->font);
        ok = p.core.setProperty("sub-font-size", std::to_string(s->fontSize)) && ok;
        ok = p.core.setProperty("sub-color", s->colour) && ok;
        ok = p.core.setProperty("sub-shadow-offset", s->shadow ? "2" : "0") && ok;
    }
    p.subtitles.draw();
    return ok;
}

bool onScreenText(P& p, int, V) {
    return p.text.apply();
}

bool screenshot(P& p, int, V path) {
    return p.screenshots.take(path);
}

bool lyrics(P& p, int id, V value) {
    if (p.lyrics) p.lyrics->setConfig(id, value);
    return true;
}

using Row = ConfigRow;

// Sorted by id. "on/off" means "1" on, anything else off. Colours are decimal Windows colour
// values 0x00BBGGRR ("255" is red). Times are milliseconds.
constexpr std::array kRows{
    Row{{4, "media loaded", "read: the open media's path; empty while nothing is loaded",
         "set from file-loaded until the end, an error or APlayer_Close", K::Read},
        nullptr,
        loadedPath},
    Row{{6, "processing mode", "\"1\" play, \"2\" format conversion, \"3\" transcode",
         "\"2\"/\"3\": an open writes 804 instead of playing (processing/, not mpv); "
         "any other value cancels a running conversion and removes its partial output",
         K::Applied},
        recordProcessing,
        nullptr,
        When::EverySet},
    Row{{7, "play result",
         "read: \"\" nothing opened (or closed), \"1\" open and not finished, \"0\" played "
         "to its natural end (or to the end position 103), \"2\" failed to open or decode",
         "from mpv's end-file event of the current entry (reason eof = \"0\", error = \"2\"); "
         "\"1\" while a conversion runs and \"\" after it, so the list never moves on and "
         "the conversion's own text tells its outcome",
         K::Read},
        nullptr,
        playResult},
    Row{{8, "failure reason",
         "read: why the last open failed, a short Chinese text such as \"文件不存在\"; \"\" "
         "unless 7 is \"2\"",
         "from the error of mpv's end-file event, the path (network address or local file, "
         "and whether that file exists) and a missing decoder; cleared by the next open and "
         "by APlayer_Close",
         K::Read},
        nullptr,
        failureReason},
    Row{{12, "mute", "on/off", "mute", K::Applied}, mute},
    Row{{16, "subtitles keep their own styles (VsFilter)", "on/off",
         "on: sub-ass-override=scale (ASS/SSA keep their styles); off: sub-ass-override="
         "force (the style of 2107/2108 applies to every subtitle)",
         K::Applied},
        subtitleStyleOwn},
    Row{{102, "start position", "ms; empty, \"0\" or text = from the start",
         "start option of every later open (stays until changed)", K::Used},
        nullptr},
    Row{{103, "end position",
         "ms; negative = that many ms before the media's own end; empty or \"0\" = no end",
         "end option of every later open (stays until changed); an end at or before the start "
         "is dropped once the duration is known, so the media is played whole; while 6 is "
         "\"2\"/\"3\" a conversion with an end before its start fails instead",
         K::Used},
        nullptr},
    Row{{201, "renderer", "\"1\" Overlay, \"2\" Renderless, \"3\" EVR, \"4\" EVRCP",
         "vo = xv,x11 / x11 / gpu,x11 / gpu-next,gpu,x11 (first that works); takes effect at "
         "once when it differs from the current one (the picture is re-created), else nothing",
         K::Applied},
        renderer},
    Row{{204, "aspect ratio", "\"a;b\" such as \"4;3\" or \"2.35;1\"; \"0;0\" = the media's own",
         "video-aspect-override a:b (-1 for \"0;0\")", K::Applied},
        aspect},
    Row{{209, "hardware decoding", "on/off",
         "hwdec = no, or the mode of 210; takes effect at once (decoder re-created)", K::Applied},
        hardwareDecoding},
    Row{{210, "hardware decoding mode", "\"0\" DXVA, \"1\" DXVA2",
         "\"0\" hwdec=auto-copy-safe (frames copied back: every filter and screenshot works), "
         "\"1\" hwdec=auto-safe (direct, lowest load)",
         K::Applied},
        hardwareDecoding},
    Row{{214, "brightness", "0..100, 50 neutral",
         "brightness (v-50)*2 on the gpu outputs; elsewhere lavfi lutyuv at the chain's end",
         K::Applied},
        colour},
    Row{{215, "contrast", "0..100, 50 neutral",
         "contrast (v-50)*2 on the gpu outputs; elsewhere lavfi lutyuv and hue", K::Applied},
        colour},
    Row{{216, "saturation", "0..100, 50 neutral",
         "saturation (v-50)*2 on the gpu outputs; elsewhere lavfi hue", K::Applied},
        colour},
    Row{{217, "hue", "0..100, 50 neutral",
         "hue (v-50)*2 on the gpu outputs; elsewhere lavfi hue (v-50)*3.6 degrees", K::Applied},
        colour},
    Row{{302, "horizontal flip", "on/off", "hflip in the video filter chain", K::Applied},
        videoChain},
    Row{{303, "vertical flip", "on/off", "vflip in the video filter chain", K::Applied},
        videoChain},
    Row{{304, "rotation", "degrees, any angle (clockwise)",
         "multiples of 90: video-rotate; other angles: lavfi rotate on a black ground", K::Applied},
        rotate},
    Row{{305, "picture enhancement", "on/off",
         "lavfi hqdn3d (light denoise), unsharp (luma sharpen), eq (contrast 1.05, "
         "saturation 1.15)",
         K::Applied},
        videoChain},
    Row{{306, "enhancement comparison", "on/off",
         "split screen: left half as decoded, right half with the enhancement of 305, a thin "
         "white divider",
         K::Applied},
        videoChain},
    Row{{308, "3D playback", "on/off",
         "on: the anaglyph of 310..312 first in the video filter chain (FFmpeg's stereo3d "
         "for the complementary pairs, a channel mask per view and an additive blend for the "
         "others); off: the picture as decoded",
         K::Applied},
        stereo},
    Row{{310, "3D effect shown", "on/off",
         "off: one view only, flat, no colour (the left or top half at the picture's shape; "
         "a 2D picture as it is)",
         K::Applied},
        videoChain},
    Row{{311, "3D separation mode", "\"1\" virtual, \"2\" side by side, \"3\" top and bottom",
         "where the two views are: virtual makes the second from the picture shifted by 2 % "
         "of its width",
         K::Applied},
        videoChain},
    Row{{312, "3D colour pair",
         "\"1\"..\"12\" (red-cyan, cyan-red, yellow-blue, blue-yellow, "
         "green-purple, purple-green, red-green, green-red, green-blue, blue-green, red-blue, "
         "blue-red; left eye first)",
         "each view drawn in its eye's colour channels; other numbers leave the picture as "
         "decoded",
         K::Applied},
        videoChain},
    Row{{313, "OpenGL acceleration", "on/off",
         "off: the gpu renderers of 201 are replaced by x11 (applies with the next 201)",
         K::Applied},
        renderer},
    Row{{314, "AVX2 acceleration", "on/off",
         "off: FFmpeg's AVX2 code paths are disabled (process-wide CPU flags); decoders "
         "opened from the next open on use them",
         K::Applied},
        cpuFlags},
    Row{{315, "SSE2 acceleration", "on/off",
         "off: FFmpeg's SSE2 and all later SIMD code paths are disabled, as for 314", K::Applied},
        cpuFlags},
    Row{{403, "audio track", "index among the media's audio tracks, from 0",
         "aid = index+1; an index the media does not have changes nothing", K::Applied},
        audioTrack},
    Row{{404, "channel mapping", "\"0\" stereo, \"1\" left, \"2\" right, \"3\" mix",
         "lavfi pan in the audio filter chain (left/right on both speakers, or both mixed)",
         K::Applied},
        audioChain},
    Row{{405, "channel delay", "ms, 0..10000", "audio-delay (sound later than the picture)",
         K::Applied},
        channelDelay},
    Row{{406, "volume levelling", "on/off", "lavfi dynaudnorm in the audio filter chain",
         K::Applied},
        audioChain},
    Row{{407, "virtual surround", "on/off",
         "lavfi extrastereo (wider stereo image) with the depth of 408", K::Applied},
        audioChain},
    Row{{408, "virtual surround depth", "0..30", "extrastereo m = 1 + depth*0.05", K::Applied},
        audioChain},
    Row{{503, "subtitle file", "path; empty = none",
         "sub-add as the first subtitle (once per media; sent again it is re-selected); "
         "empty: the media's own subtitle of index 506. GB18030 and Big5 files too short for "
         "mpv's own guess get their encoding named (sub-codepage)",
         K::Applied},
        subtitleFile},
    Row{{504, "first subtitle shown", "on/off", "sub-visibility", K::Applied}, subtitleVisibility},
    Row{{506, "first subtitle language index", "index among the media's subtitles, from 0",
         "sid = index+1 when no subtitle file is given", K::Applied},
        embeddedSubtitle},
    Row{{509, "first subtitle timing", "\"delay;num;den\": delay ms, 5000 = no shift",
         "sub-delay (delay-5000)/1000 s, sub-speed num/den", K::Applied},
        subtitleTiming},
    Row{{602, "on-screen text shown", "on/off",
         "osd-overlay (ASS) with 612 in the style of 606/607/608/621; off removes it", K::Applied},
        onScreenText},
    Row{{606, "on-screen text size", "percent of the normal size (36 of 720 lines)", "ASS \\fs",
         K::Applied},
        onScreenText},
    Row{{607, "on-screen text margin", "distance from the top-left corner, 720-line scale",
         "ASS \\pos", K::Applied},
        onScreenText},
    Row{{608, "on-screen text opacity", "0 transparent .. 255 opaque", "ASS \\alpha", K::Applied},
        onScreenText},
    Row{{612, "on-screen text", "UTF-8 text; shown at once while 602 is on", "osd-overlay",
         K::Applied},
        onScreenText},
    Row{{621, "on-screen text outline", "on/off", "ASS \\bord2\\shad1 (legible on any picture)",
         K::Applied},
        onScreenText},
    Row{{702, "take a screenshot", "path of the file to write now",
         "screenshot-raw of the current frame (with subtitles), scaled by 703/704/706, "
         "written in the format of 707 (bmp/jpg/png by Qt, gif by libavcodec); the call "
         "returns whether the file was written",
         K::Applied},
        screenshot,
        nullptr,
        When::EverySet},
    Row{{703, "screenshot width", "pixels; \"0\" = source", "used by 702", K::Used}, nullptr},
    Row{{704, "screenshot height", "pixels; \"0\" = source", "used by 702", K::Used}, nullptr},
    Row{{706, "screenshot keeps aspect", "on/off",
         "used by 702: the picture fits inside 703 x 704 without distortion", K::Used},
        nullptr},
    Row{{707, "screenshot format", "\"1\" bmp, \"2\" jpg, \"3\" png, \"4\" gif", "used by 702",
         K::Used},
        nullptr},
    Row{{708, "screenshot quality", "1..100", "JPEG quality of 702", K::Used}, nullptr},
    Row{{803, "output format", "one of the sixteen names such as \"mp4\"",
         "the container and its codecs (processing/OutputFormats.cpp)", K::Used},
        nullptr},
    Row{{804, "output file", "path",
         "written at the end under the next free name; a temporary file until then", K::Used},
        nullptr},
    Row{{901, "output width", "pixels; \"0\" = source", "transcode only", K::Used}, nullptr},
    Row{{902, "output height", "pixels; \"0\" = source", "transcode only", K::Used}, nullptr},
    Row{{903, "output keeps aspect", "\"0\" stretches, else fit inside and pad black",
         "transcode only", K::Used},
        nullptr},
    Row{{905, "output audio track", "index among the media's audio tracks",
         "a missing index takes the first", K::Applied},
        recordProcessing,
        nullptr,
        When::EverySet},
    Row{{906, "output subtitle language", "index among the media's subtitle tracks",
         "a text subtitle of that index is drawn in (transcode only)", K::Applied},
        recordProcessing,
        nullptr,
        When::EverySet},
    Row{{907, "output black border", "pixels; sent four times: top, bottom, left, right",
         "cut off the source before scaling (transcode only); the four values after 905 "
         "or 906 are the four edges in that order (the last value is read back)",
         K::Applied},
        recordProcessing,
        nullptr,
        When::EverySet},
    Row{{1302, "lyrics shown", "on/off",
         "while an audio media is open, the lyrics of 1305 drawn over the video window in "
         "place of the logo (lyrics/LyricsView.h); off or no readable file: nothing of them",
         K::Applied},
        lyrics},
    Row{{1303, "lyric update interval", "ms, 0..1000; \"0\" = every frame of the screen",
         "how often the view follows the position", K::Applied},
        lyrics},
    Row{{1305, "lyric file", "path",
         "an .lrc read on a pool thread (at most 1 MiB; UTF-8, UTF-16, GB18030 or Big5)",
         K::Applied},
        lyrics},
    Row{{1307, "lyric background colour", "colour",
         "the view's background; of 1307 and 1308 the one sent last counts", K::Applied},
        lyrics},
    Row{{1308, "lyric background picture", "path", "the view's background, fitted by 1310",
         K::Applied},
        lyrics},
    Row{{1310, "lyric background fit", "\"1\" stretch, \"2\" keep aspect, \"3\" centre",
         "other values: centre", K::Applied},
        lyrics},
    Row{{1311, "lyric font", "\"font;width;height;weight;line spacing\"",
         "pixels; width is a stretch against the height, weight 100..900; a leading \"@\" "
         "(vertical form) draws the plain-named font horizontally",
         K::Applied},
        lyrics},
    Row{{1312, "lyric text colour", "colour", "lines other than the current one", K::Applied},
        lyrics},
    Row{{1313, "lyric highlight colour", "colour", "the current line (or its sung part)",
         K::Applied},
        lyrics},
    Row{{1314, "lyric text border", "on/off", "an outline around the letters", K::Applied}, lyrics},
    Row{{1315, "lyric border colour", "colour", "the outline's colour", K::Applied}, lyrics},
    Row{{1316, "lyric window kind", "\"0\" over the video", "stored; over the video always",
         K::Stored},
        nullptr},
    Row{{1318, "lyric fade in and out", "on/off", "lines fade out towards the view's edges",
         K::Applied},
        lyrics},
    Row{{1319, "lyric animation", "\"0\" none, \"1\" gradient, \"2\" progress bar",
         "gradient: the colour changes over 400 ms; progress bar: the highlight wipes across "
         "the line as it is sung, word by word where the file gives word times",
         K::Applied},
        lyrics},
    Row{{1320, "lyric time offset", "ms; positive = lyrics earlier",
         "added to the file's [offset:]", K::Applied},
        lyrics},
    Row{{1321, "lyric dragging", "on/off",
         "dragging the lyrics moves through the lines, the release seeks to the line under "
         "the marker; a drag is no click. Off: the mouse goes to the player",
         K::Applied},
        lyrics},
    Row{{1328, "lyric alignment", "\"1\" left, \"0\" centre, \"2\" right", "of every line",
         K::Applied},
        lyrics},
    Row{{1502, "5.1 output mode", "\"1\" mono, \"2\" stereo, \"3\" 5.1, \"4\" SPDIF",
         "audio-channels mono/stereo/5.1; SPDIF: audio-spdif=ac3,dts (passthrough)", K::Applied},
        multichannel},
    Row{{1503, "5.1 volume", "0..100",
         "gain of v/10 dB in the audio filter chain while "
         "1502 chose mono, stereo or 5.1",
         K::Applied},
        audioChain},
    Row{{2103, "second subtitle file", "path; empty = none",
         "sub-add, then secondary-sid (shown above the first subtitle)", K::Applied},
        subtitleFile},
    Row{{2104, "second subtitle shown", "on/off", "secondary-sub-visibility", K::Applied},
        subtitleVisibility},
    Row{{2106, "second subtitle language index", "index among the media's subtitles",
         "secondary-sid = index+1 when no second file is given", K::Applied},
        embeddedSubtitle},
    Row{{2107, "subtitle position", "\"on;horizontal;vertical\", 10..100 percent",
         "on: sub-pos = vertical, sub-align-x left/center/right by horizontal (<=33, "
         "34..66, >=67); off: bottom centre",
         K::Applied},
        subtitlePosition},
    Row{{2108, "subtitle font", "\"font;size;colour;shadow\"",
         "sub-font (a leading @ dropped), sub-font-size = size*3 (720-line scale), "
         "sub-color, sub-shadow-offset 2 or 0",
         K::Applied},
        subtitleFont},
    Row{{2109, "second subtitle timing", "as 509",
         "sub-delay and sub-speed (mpv shares "
         "them between both subtitles)",
         K::Applied},
        subtitleTiming},
    Row{{2110, "subtitle render mode",
         "\"0\" 2D, \"1\" side by side 3D, \"2\" top and "
         "bottom 3D",
         "1, 2: the subtitle lines (sub-text, secondary-sub-text) drawn by the engine once in "
         "each half of the picture, squeezed to the half, through an osd-overlay; mpv's own "
         "drawing of them is off meanwhile; flat while 308 is on (the anaglyph is one "
         "picture)",
         K::Applied},
        subtitleVisibility},
    Row{{2402, "VR draw mode", "\"0\" none, \"1\", \"3\", \"4\", \"7\", \"9\", \"11\", \"15\"",
         "FFmpeg's v360 first in the video filter chain, to a flat view: 1 equirectangular, "
         "3/4 a 180 degree circle looking up/down, 7 two eyes' equirectangulars side by side "
         "(one shown), 9 the same drawn for both eyes, 11 two circles front and back, 15 one "
         "circle per eye; other numbers no effect. While on, a drag on the picture looks "
         "around and the wheel zooms (never stored)",
         K::Applied},
        videoChain},
    Row{{2403, "VR view", "\"horizontal;vertical;distance\"",
         "yaw and pitch in degrees (right and up positive), horizontal field of view "
         "2*atan(350/distance), 10..150 degrees (350.6 gives 90); resets the dragged view",
         K::Applied},
        panoramaView},
    Row{{2404, "VR device", "\"0\" none, \"1\" Oculus DK2",
         "1: both eyes side by side (v360 out_stereo=sbs), 2407 chooses what shows", K::Applied},
        videoChain},
    Row{{2405, "VR frame interval", "ms, 0..100",
         "the least time between two redraws of a dragged view: 0 follows every move "
         "(smoothest look-around, most work), more keeps the video smooth on a slow machine",
         K::Used},
        nullptr},
    Row{{2407, "VR monitor window", "\"0\" both eyes, \"1\" single panorama, \"2\" none",
         "with 2404 = 1: both eye views, one flat view, or black", K::Applied},
        videoChain},
    Row{{2408, "VR cover circle", "\"top;bottom;colour\"",
         "caps over the poles: top and bottom in percent of the way from the pole to the "
         "horizon (0..100), drawn in the colour on the equirectangular picture (circles are "
         "laid out as one first)",
         K::Applied},
        videoChain},
    Row{{2410, "VR render quality", "percent",
         "size of the flat view (360 lines at 0, 720 at 50, 1080 at 100) and its "
         "interpolation (nearest below 34, bilinear below 67, bicubic): quality against time "
         "per frame and per view (about 0.1 s to set up a 720-line view); while the mouse "
         "drags, the views are drawn as at 0 and the chosen quality returns at the release",
         K::Applied},
        videoChain},
};

} // namespace

std::span<const ConfigRow> configRows() {
    return kRows;
}

const ConfigRow* findConfigRow(int id) {
    auto it = std::lower_bound(kRows.begin(), kRows.end(), id,
                               [](const ConfigRow& r, int v) { return r.about.id < v; });
    return it != kRows.end() && it->about.id == id ? &*it : nullptr;
}

const ConfigId* findConfigId(int id) {
    const ConfigRow* row = findConfigRow(id);
    return row ? &row->about : nullptr;
}

} // namespace qinglan::aplayer
