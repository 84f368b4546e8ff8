#include "VideoChain.h"

#include "ConfigValues.h"
#include "MpvCore.h"
#include "PictureModes.h"
#include "aplayer/ConfigTable.h"

#include <mpv/client.h>

#include <filesystem>

namespace qinglan::aplayer {

std::string VideoChain::startOutput(const std::string& forcedOutput, bool embedded) {
    // A forced output (tests, no native window) is never replaced.
    outputForced_ = !forcedOutput.empty() || !embedded;
    if (!forcedOutput.empty())
        currentOutput_ = forcedOutput;
    else if (!embedded)
        currentOutput_ = "null";
    else
        currentOutput_ =
            rendererVideoOutput(config_[cfg::Renderer].empty() ? "3" : config_[cfg::Renderer],
                                openGlUsable())
                .value_or("gpu,x11");
    return currentOutput_;
}

void VideoChain::start() {
    core_.observe("current-vo", MPV_FORMAT_STRING, [this](const mpv_event_property& p) {
        outputChanged(p.format == MPV_FORMAT_STRING ? *static_cast<char**>(p.data) : nullptr);
    });
}

// mpv's gpu outputs refuse a software OpenGL, and finding that out costs 50 to 100 ms and the
// whole GL stack in memory at every start. Without a device node of a graphics driver (Mesa's
// DRI nodes, NVIDIA's) there is no hardware OpenGL to find, so they are not tried at all.
bool VideoChain::openGlUsable() const {
    if (config_[cfg::OpenGl] == "0") return false;
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

bool VideoChain::applyRenderer() {
    if (outputForced_) return true;
    std::string renderer = config_[cfg::Renderer];
    auto vo = rendererVideoOutput(renderer.empty() ? "3" : renderer, openGlUsable());
    if (!vo) return false;
    if (*vo == currentOutput_)
        return true; // the player re-sends it after every open: no needless re-creation
    currentOutput_ = *vo;
    // Which of the listed outputs comes up is known only once it runs.
    activeOutput_.clear();
    bool ok = core_.setProperty("vo", *vo);
    return applyColourControls() && ok;
}

ColourControls VideoChain::colourControls() const {
    auto value = [this](int id) { return colourControl(config_[id]).value_or(0); };
    return {value(cfg::Brightness), value(cfg::Contrast), value(cfg::Saturation), value(cfg::Hue)};
}

bool VideoChain::colourByFilter() const {
    // Until the output is known the filter is used: it looks right on every output.
    return activeOutput_.empty() || !outputAppliesColourControls(activeOutput_);
}

bool VideoChain::applyColourControls() {
    ColourControls c = colourControls();
    colourFilterInUse_ = colourByFilter();
    if (colourFilterInUse_) c = {}; // the output's own controls stay neutral
    bool ok = core_.setProperty("brightness", std::to_string(c.brightness));
    ok = core_.setProperty("contrast", std::to_string(c.contrast)) && ok;
    ok = core_.setProperty("saturation", std::to_string(c.saturation)) && ok;
    ok = core_.setProperty("hue", std::to_string(c.hue)) && ok;
    return apply() && ok;
}

void VideoChain::outputChanged(const char* name) {
    if (!name || !*name) return; // no output at the moment: the last one is still the best guess
    activeOutput_ = name;
    if (colourByFilter() != colourFilterInUse_) applyColourControls();
}

std::string VideoChain::wantedChain() const {
    VideoFilterSettings s;
    s.flipHorizontal = isOn(config_[cfg::FlipHorizontal]);
    s.flipVertical = isOn(config_[cfg::FlipVertical]);
    if (auto r = rotation(config_[cfg::RotateDegrees])) s.rotateFilter = r->filter;
    s.enhance = isOn(config_[cfg::Enhancement]);
    s.compare = isOn(config_[cfg::Comparison]);
    if (colourByFilter()) s.colourGraph = colourControlGraph(colourControls());
    std::string chain = videoFilterChain(s);
    if (std::string modes = modes_.headFilters(); !modes.empty())
        chain = chain.empty() ? modes : modes + "," + chain;
    return chain;
}

bool VideoChain::apply() {
    std::string chain = wantedChain();
    if (chain == chain_) return true;
    if (!core_.setProperty("vf", chain)) return false;
    chain_ = chain;
    return true;
}

bool VideoChain::applyAsync(bool* sent, std::function<void()> done) {
    std::string chain = wantedChain();
    if (chain == chain_) return true;
    if (!core_.setStringAsync("vf", chain, std::move(done))) return false;
    *sent = true;
    chain_ = chain;
    return true;
}

} // namespace qinglan::aplayer
