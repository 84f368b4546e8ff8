#pragma once
// Pure translations from configuration texts to what mpv understands. No state, no mpv calls:
// the engine applies the results through its one table of configuration ids (mpv/ConfigTable.cpp).
#include <optional>
#include <string>
#include <string_view>

namespace qinglan::aplayer {

// A whole decimal number, surrounding blanks allowed; nothing else.
std::optional<long long> parseInteger(std::string_view text);
// Decimal number with an optional fraction ("2.35").
std::optional<double> parseDecimal(std::string_view text);
// Exactly "1" is on; everything else is off.
inline bool isOn(std::string_view text) {
    return text == "1";
}

// Windows colour value 0x00BBGGRR as decimal text -> "#RRGGBB"; nullopt for bad input.
std::optional<std::string> colorrefToMpvColor(std::string_view decimalColorref);

// "a;b" -> "a:b" for video-aspect-override; "0;0" -> "-1" (the media's own aspect).
// nullopt for malformed or non-positive parts.
std::optional<std::string> aspectOverride(std::string_view value);

// Colour controls: 0..100 with 50 neutral -> mpv's -100..100.
std::optional<int> colourControl(std::string_view value);

// The four colour controls (214..217) in mpv's -100..100, 0 neutral.
struct ColourControls {
    int brightness = 0;
    int contrast = 0;
    int saturation = 0;
    int hue = 0;
};
// Files whose name says they hold sound only (any letter case): their picture surface is not
// shown when they open, so the idle logo stays instead of a black frame.
bool isSoundOnlyFileName(std::string_view path);

// Why an open failed, as id 8 tells the player.
enum class OpenFailure {
    FileMissing,
    FileUnreadable,
    Network,
    UnsupportedFormat,
    NothingToPlay, // the container holds neither picture nor sound
    DecoderMissing,
    NoPicture, // the video output could not start
    NoSound,   // the audio output could not start
    Other,
};
// The short Chinese text of a failure, as the player shows it after the file name.
std::string_view openFailureText(OpenFailure failure);
// An address with a scheme ("http://", "rtsp://", ...) other than "file://": reached over the
// network, not in the file system.
bool isNetworkAddress(std::string_view pathOrAddress);

// Audio outputs tried in turn. Not mpv's own list: its SDL output only wraps these same
// systems and its probe alone costs a tenth of a second at every start. Without any sound
// device the null output keeps the clock, so a media still plays to its end (and the list
// advances) instead of ending as an error.
inline constexpr const char* kAudioOutputs = "pipewire,pulse,alsa,jack,null";

// Whether an output (mpv's current-vo) is known to apply mpv's brightness, contrast, saturation
// and hue properties: the gpu outputs. The x11 output ignores them; the others get the filter.
bool outputAppliesColourControls(std::string_view videoOutput);
// The same picture as the gpu outputs draw for these controls, as a lavfi graph for the outputs
// that ignore them; "" when all are neutral. Like the gpu outputs, contrast is a gain with black
// fixed, brightness an offset, both on the whole picture; saturation scales and hue (-180..180
// degrees) turns the colour. Luma is taken as limited range (16..235), as nearly all video is.
std::string colourControlGraph(const ColourControls& controls);

// Start and end in milliseconds -> mpv's start/end option ("none" for no cut).
// A negative end means that many ms before the media's own end ("-5000" -> "-5.000").
// "0", empty or malformed ends mean no end.
std::string startOption(std::string_view ms);
std::string endOption(std::string_view ms);
// The absolute start and end in seconds once the duration is known; nullopt = no cut.
std::optional<double> resolveStart(std::string_view ms, double duration);
std::optional<double> resolveEnd(std::string_view ms, double duration);

// Renderer id 201 ("1".."4") -> mpv's vo list with a working fallback. When OpenGL is not
// allowed (id 313 = "0") the gpu renderers are left out. nullopt for unknown values.
std::optional<std::string> rendererVideoOutput(std::string_view value, bool openGlAllowed);

// Hardware decoding (209 on/off, 210 "0" copy-back / "1" direct) -> mpv's hwdec.
std::string hardwareDecoding(bool on, std::string_view mode);

// Rotation in degrees (any angle). Multiples of 90 use mpv's cheap video-rotate;
// any other angle a rotate filter.
struct Rotation {
    int videoRotate = 0; // 0, 90, 180 or 270
    std::string filter;  // lavfi rotate filter or empty
};
std::optional<Rotation> rotation(std::string_view degrees);

// Everything that ends up in the video filter chain, in this order.
struct VideoFilterSettings {
    bool flipHorizontal = false; // 302
    bool flipVertical = false;   // 303
    std::string rotateFilter;    // 304, non-right angles only
    bool enhance = false;        // 305
    bool compare = false;        // 306
    std::string colourGraph;     // 214..217 where the output ignores mpv's own controls
};
// mpv "vf" value (a list of lavfi filters) or empty for no filters.
std::string videoFilterChain(const VideoFilterSettings& settings);
// The enhancement chain used by 305 and by the right half of 306.
std::string_view enhancementGraph();

// Everything that ends up in the audio filter chain, in this order.
struct AudioFilterSettings {
    int channelMap = 0;               // 404: 0 stereo, 1 left, 2 right, 3 mix
    bool levelling = false;           // 406
    bool surround = false;            // 407
    int surroundDepth = 10;           // 408: 0..30
    bool multichannelGain = false;    // 1502 chosen with an analog mode
    int multichannelGainTenthsDb = 0; // 1503
};
// mpv "af" value or empty for no filters.
std::string audioFilterChain(const AudioFilterSettings& settings);

// 1502: "1" mono, "2" stereo, "3" 5.1, "4" SPDIF passthrough.
struct MultichannelOutput {
    std::string audioChannels; // mpv audio-channels
    std::string audioSpdif;    // mpv audio-spdif ("" = off)
};
std::optional<MultichannelOutput> multichannelOutput(std::string_view mode);

// 509 / 2109: "delay;num;den": delay in ms with 5000 as no shift (the slider's centre),
// and a speed ratio num/den for subtitles timed for another frame rate.
struct SubtitleTiming {
    double delaySeconds = 0;
    double speed = 1;
};
std::optional<SubtitleTiming> subtitleTiming(std::string_view value);

// 2107: "on;horizontal;vertical", both 10..100 percent.
struct SubtitlePosition {
    int subPos = 100;              // mpv sub-pos: percent from the top, 100 = bottom edge
    std::string alignX = "center"; // mpv sub-align-x
    std::string alignY = "bottom"; // mpv sub-align-y
};
std::optional<SubtitlePosition> subtitlePosition(std::string_view value);

// 2108: "font;size;colour;shadow".
struct SubtitleStyle {
    std::string font;   // a leading "@" (vertical form) is dropped: not supported here
    int fontSize = 0;   // mpv sub-font-size (scaled to a 720-line picture)
    std::string colour; // "#RRGGBB"
    bool shadow = false;
};
std::optional<SubtitleStyle> subtitleStyle(std::string_view value);

// On-screen text (602/606/607/608/612/621) as one ASS event for mpv's osd-overlay.
struct OnScreenTextStyle {
    int sizePercent = 100; // 606
    int margin = 70;       // 607: distance from the top-left corner, scaled to 720 lines
    int opacity = 200;     // 608: 0 transparent .. 255 opaque
    bool outline = true;   // 621: outline and shadow around the letters
};
// OSD coordinates: 1280 x 720 (mpv scales to the window).
std::string onScreenTextAss(std::string_view text, const OnScreenTextStyle& style);
// Escapes text so that libass shows it literally.
std::string escapeAss(std::string_view text);

// Screenshot size: requested 0 means the source size; with keepAspect the picture fits inside
// the requested box without distortion. A single non-zero side scales the other with aspect.
struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};
Size screenshotSize(Size source, Size requested, bool keepAspect);

enum class ImageFormat { Bmp = 1, Jpg = 2, Png = 3, Gif = 4 };
std::optional<ImageFormat> imageFormat(std::string_view value);

} // namespace qinglan::aplayer
