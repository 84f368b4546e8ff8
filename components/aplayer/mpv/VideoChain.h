#pragma once
// The video filter chain and the output it feeds: which mpv video output the renderer id
// chooses, the colour controls (the output's own where it applies them, a filter at the end of
// the chain elsewhere), and the chain itself: the picture modes first, then flips, rotation,
// enhancement and colour. The chain is handed to mpv only when it differs from the one mpv has
// (the player re-sends its settings after every open).
#include "aplayer/MpvTranslate.h"

#include <functional>
#include <string>

namespace qinglan::aplayer {

class ConfigValues;
class MpvCore;
class PictureModes;

class VideoChain {
public:
    VideoChain(MpvCore& core, const ConfigValues& config, const PictureModes& modes)
        : core_(core), config_(config), modes_(modes) {}

    // The output list mpv starts with. forcedOutput: the output the engine was made with ("" =
    // the renderer id decides; a forced output is never replaced); embedded: the picture is
    // drawn into the video window.
    std::string startOutput(const std::string& forcedOutput, bool embedded);
    // Called once mpv runs: follows which output actually came up.
    void start();

    bool applyRenderer(); // ids 201 and 313
    bool applyColourControls();
    bool apply();
    // Hands the chain to mpv without waiting (a dragged panorama). True in *sent when a request
    // went out; done is called once mpv has built it.
    bool applyAsync(bool* sent, std::function<void()> done);
    // The chain mpv was last given.
    const std::string& chain() const { return chain_; }
    // Makes the next apply send the chain even when it equals the last one sent: a chain sent
    // meanwhile may have overtaken it inside mpv.
    void forgetChain() { chain_ = "\x01 not what mpv has"; }

private:
    // OpenGL is allowed (id 313) and a graphics driver could provide it in hardware.
    bool openGlUsable() const;
    ColourControls colourControls() const;
    bool colourByFilter() const;
    void outputChanged(const char* name);
    std::string wantedChain() const;

    MpvCore& core_;
    const ConfigValues& config_;
    const PictureModes& modes_;
    bool outputForced_ = true;
    std::string currentOutput_; // the output list asked of mpv
    std::string activeOutput_;  // the output mpv last ran from that list; "" = not yet known
    bool colourFilterInUse_ = true;
    std::string chain_; // the vf chain mpv has
};

} // namespace qinglan::aplayer
