#pragma once
// The picture modes at the head of the video filter chain: the VR panorama drawn flat towards
// the sent view plus what the mouse added to it, then the 3D anaglyph. The graphs themselves
// are the pure translations of PictureModeTranslate; this part holds the view the mouse moved.
#include "aplayer/PictureModeTranslate.h"

#include <string>

namespace qinglan::aplayer {

class ConfigValues;

class PictureModes {
public:
    explicit PictureModes(const ConfigValues& config) : config_(config) {}

    PanoramaSettings panoramaSettings() const; // of ids 2402-2410
    bool panoramaShown() const;
    // mpv vf items, first in the chain; "" when no mode is on.
    std::string headFilters() const;

    // What the mouse added to the sent view (never stored), and whether a drag runs: while it
    // does, the views are drafts.
    const ViewOffset& offset() const { return offset_; }
    void setOffset(const ViewOffset& offset) { offset_ = offset; }
    bool dragging() const { return dragging_; }
    void setDragging(bool on) { dragging_ = on; }

private:
    const ConfigValues& config_;
    ViewOffset offset_;
    bool dragging_ = false;
};

} // namespace qinglan::aplayer
