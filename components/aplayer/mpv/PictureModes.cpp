#include "PictureModes.h"

#include "ConfigValues.h"
#include "aplayer/ConfigTable.h"

#include <algorithm>

namespace qinglan::aplayer {
namespace {

// The render quality of the views drawn while the mouse drags a panorama.
constexpr int kDraftQuality = 0;

} // namespace

PanoramaSettings PictureModes::panoramaSettings() const {
    return aplayer::panoramaSettings(config_[cfg::VrMode], config_[cfg::VrView],
                                     config_[cfg::VrDevice], config_[cfg::VrMonitor],
                                     config_[cfg::VrCaps], config_[cfg::VrQuality]);
}

bool PictureModes::panoramaShown() const {
    return panoramaSettings().mode != PanoramaMode::None;
}

std::string PictureModes::headFilters() const {
    std::string out;
    auto add = [&out](const std::string& graph) {
        if (!graph.empty()) out += (out.empty() ? "lavfi=[" : ",lavfi=[") + graph + "]";
    };
    // The panorama first: a stereo panorama drawn for both eyes is a side-by-side picture that
    // the anaglyph can then combine.
    PanoramaSettings panorama = panoramaSettings();
    // While the mouse drags, each view costs the filter its whole remap table (about 0.1 s
    // at 720 lines): a draft view follows the pointer, the chosen quality comes back at the
    // release.
    if (dragging_) panorama.quality = std::min(panorama.quality, kDraftQuality);
    add(panoramaGraph(panorama, offset_));
    if (auto stereo = stereoSettings(config_[cfg::Stereo3d], config_[cfg::Stereo3dEffect],
                                     config_[cfg::Stereo3dLayout], config_[cfg::Stereo3dPair]))
        add(stereoGraph(*stereo));
    return out;
}

} // namespace qinglan::aplayer
