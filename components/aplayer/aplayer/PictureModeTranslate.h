#pragma once
// Pure translations of the picture modes (3D anaglyph 308..312, VR panorama 2402..2410 and the
// subtitle render mode 2110) into lavfi graphs and drawing positions. No state, no mpv calls:
// the engine puts the graphs first in its video filter chain, before flips, rotation,
// enhancement and colour, because they decide what the picture is made of.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qinglan::aplayer {

// ---- 3D ----------------------------------------------------------------------------------

// How the two views of a stereo picture are found (311).
enum class StereoLayout {
    Virtual = 1,    // a 2D picture; the second view is the first shifted sideways
    SideBySide = 2, // left view in the left half
    TopBottom = 3,  // left view in the top half
};

// One colour pair of 312: which of red, green and blue carry each eye's view. A view shows
// through the eye's filter in that filter's colour, so a white left view draws in the left
// eye's colour and a white right view in the right eye's.
struct AnaglyphPair {
    const char* name; // the stored name, as the settings page lists it
    bool left[3];     // red, green, blue taken from the left view
    bool right[3];    // red, green, blue taken from the right view
};
// The twelve pairs in the order of 312 ("1" is the first).
std::span<const AnaglyphPair> anaglyphPairs();

struct StereoSettings {
    bool on = false;         // 308
    bool effectShown = true; // 310: "0" shows one view, flat, without colour separation
    StereoLayout layout = StereoLayout::Virtual;
    int pair = 1; // 312: 1..12
};
// Read from the configuration texts; a layout or pair out of range is nullopt (the engine
// then leaves the picture as decoded rather than guess).
std::optional<StereoSettings> stereoSettings(std::string_view on, std::string_view effect,
                                             std::string_view layout, std::string_view pair);

// The lavfi graph of the 3D mode; "" when the picture stays as decoded. The result keeps the
// shape of the decoded picture: a half-width or half-height view is widened or heightened again
// through its sample aspect, not by scaling, which would only cost time.
// The virtual mode shifts the two views apart by 2 % of the picture's width.
std::string stereoGraph(const StereoSettings& settings);

// ---- VR ----------------------------------------------------------------------------------

// The eight draw modes (2402), in the settings page's order. Any other number draws the
// picture as decoded.
enum class PanoramaMode {
    None = 0,
    Equirect = 1,    // "矩形全景左右": one equirectangular panorama
    FisheyeUp = 3,   // "圆形半景外下内上": one 180° circle, its centre straight up
    FisheyeDown = 4, // "圆形半景内下外上": one 180° circle, its centre straight down
    EquirectEyes = 7, // "矩形双目全景左右": the two eyes' panoramas side by side; one is shown
    EquirectStereo = 9, // "矩形双目立体全景左右": the same, both eyes drawn side by side
    DualFisheye = 11,   // "圆形全景左右": two 180° circles, front and back, a whole sphere
    FisheyeEyes = 15,   // "圆形双目全景左右": one 180° circle per eye, side by side
};
std::optional<PanoramaMode> panoramaMode(std::string_view value);

struct PanoramaSettings {
    PanoramaMode mode = PanoramaMode::None;
    // 2403 "horizontal;vertical;distance": horizontal is the yaw in degrees (positive turns
    // right), vertical the pitch in degrees (positive looks up), distance the observer's
    // distance from a virtual screen 700 units wide: the horizontal field of view is
    // 2·atan(350 / distance), so the page's default 350.6 gives about 90°, a larger distance
    // narrows the view (zooms in). See fieldOfViewForDistance.
    double yaw = 0;
    double pitch = 0;
    double distance = kDefaultDistance;
    bool headMounted = false; // 2404 "1": both eyes side by side for a head-mounted display
    int monitor = 0;          // 2407 while head-mounted: 0 both eyes, 1 one view, 2 nothing
    // 2408 "top;bottom;colour": caps over the poles, each a percent of the way from the pole
    // to the horizon (0 none, 100 the whole half), in the colour (a Windows colour value).
    int capTop = 0;
    int capBottom = 0;
    std::string capColour = "#FFFFFF";
    // 2410 render quality 0..100: the drawn view's size (360 lines at 0, 720 at 50, 1080 at
    // 100) and its interpolation (nearest below 34, bilinear below 67, bicubic above). Quality
    // costs time per frame: a low value keeps a large panorama smooth on a slow machine.
    int quality = 50;

    static constexpr double kDefaultDistance = 350.6;
};

// From the configuration texts. Parts that are missing or not numbers keep their defaults:
// the view texts are passed on as the user typed them, so a bad one must not lose the rest.
PanoramaSettings panoramaSettings(std::string_view mode, std::string_view view,
                                  std::string_view device, std::string_view monitor,
                                  std::string_view caps, std::string_view quality);

// Degrees, 10..150 (a flat view cannot show more; less is a magnifying glass).
double fieldOfViewForDistance(double distance);

// What the mouse adds to the stored view while a panorama is shown (never stored).
struct ViewOffset {
    double yaw = 0;
    double pitch = 0;
    double zoom = 1; // multiplies the distance: above 1 zooms in
    bool operator==(const ViewOffset&) const = default;
};

// The lavfi graph of the VR mode with the dragged offset applied; "" for no effect.
std::string panoramaGraph(const PanoramaSettings& settings, const ViewOffset& offset = {});

// Dragging by (dx, dy) pixels: the picture follows the pointer, so a drag to the right turns
// the view left, by a field of view per window width (the point under the pointer stays under
// it). Moves add up, so a drag may be applied move by move. One wheel step (120) zooms by 10 %,
// up to 8x either way.
ViewOffset dragView(const ViewOffset& start, double fieldOfView, int windowWidth, int dx, int dy);
ViewOffset wheelZoom(const ViewOffset& start, int wheelDelta);

// 2405 frame interval in ms, clamped 0..100: the least time between two redraws of a dragged
// view. 0 redraws at every pointer move (smoothest, most work); larger values draw fewer views
// while the mouse moves, which keeps the video itself smooth on a slow machine.
int panoramaRedrawIntervalMs(std::string_view value);

// ---- subtitles in 3D (2110) --------------------------------------------------------------

enum class SubtitleRenderMode { Flat = 0, SideBySide = 1, TopBottom = 2 };
std::optional<SubtitleRenderMode> subtitleRenderMode(std::string_view value);

// The rectangle the picture takes in the window, in window pixels.
struct PictureArea {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};
// Where a subtitle line is drawn once per half, in window pixels: the anchor is the bottom centre
// of the text. The vertical position (percent of the height, 100 = the bottom edge, as mpv's
// sub-pos) and the margin above the bottom apply inside each half; the text is squeezed to the
// half it sits in, as the display that widens each half to the whole screen widens it again.
struct HalfPlacement {
    double x[2] = {0, 0};
    double y[2] = {0, 0};
    int scaleX = 100; // percent
    int scaleY = 100;
};
// nullopt for the flat mode (mpv draws the subtitle itself) and an empty area.
std::optional<HalfPlacement> halfPlacement(SubtitleRenderMode mode, const PictureArea& area,
                                           int verticalPercent, double bottomMargin);

} // namespace qinglan::aplayer
