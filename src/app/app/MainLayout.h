#pragma once

// Where the main window puts its companion windows, the video and the logo. Pure
// arithmetic on the main window's outer rectangle, so the rules are testable without a
// display; coordinates are computed in floating point and truncated toward zero.
namespace qinglan::app {

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

struct MainLayout {
    bool sidePanelEnabled = false;
    bool barPlaced = false;          // false in share mode: the control bar is left where it is
    Box bar;                         // floating control bar (screen); its height is kept
    Box video;                       // video window, in the main window's client coordinates
    int panelLeft = 0, panelTop = 0; // side panel (screen); its size is kept
    Box maximizeButton;              // screen
    Box minimizeButton;              // screen
    Box logo;                        // logo picture, client coordinates
};

// The side panel may only show on a main window larger than 620 x 450.
bool sidePanelAllowed(int width, int height);

// The video's height in a main window of this client height: the control bar's strip below it
// is left free unless share mode hides the bar.
int videoHeightFor(int mainHeight, bool shareMode);

MainLayout computeMainLayout(const Box& main, bool shareMode, int barHeight, int panelHeight);

// The video's box in a main window of this client size. In full screen it covers the screen, and
// in share mode reaches 40 px past its bottom, where the hidden control bar's strip would be.
Box videoBoxFor(int clientWidth, int clientHeight, bool shareMode, bool fullScreen);

// The main window's fade: in by 2 per tick of 1 ms to 256 (128 ticks), out by 20 per 200 ms.
enum class FadeMode { None = 0, Out = 1, In = 2 };
struct FadeStep {
    int applyOpacity = 0;  // clamped to 0..255
    bool finished = false; // fade in: show the companions; fade out: destroy the window
};
class Fade {
public:
    void start(FadeMode mode, int opacity) { mode_ = mode, opacity_ = opacity; }
    FadeStep tick();
    FadeMode mode() const { return mode_; }
    int opacity() const { return opacity_; }

    static constexpr int kInTickMs = 1;
    static constexpr int kOutTickMs = 200;

private:
    FadeMode mode_ = FadeMode::None;
    int opacity_ = 0;
};

// What closing the main window does, from the two close settings.
enum class CloseAction { FadeOutAndExit, HideToTray, CloseNow };
CloseAction closeActionFor(bool exitOnClose, bool minimizeToTray);

} // namespace qinglan::app
