#pragma once
// Subtitles of a 3D picture: in the side-by-side and top-and-bottom render modes (id 2110) the
// engine draws each subtitle line once in each half of the picture, squeezed to the half,
// through an osd-overlay of its own; mpv's own drawing of the same lines stays off meanwhile.
// The anaglyph (308 on) makes one flat picture, whose subtitles mpv draws flat.
#include <string>

namespace qinglan::aplayer {

class ConfigValues;
class MpvCore;

class SubtitleHalves {
public:
    SubtitleHalves(MpvCore& core, const ConfigValues& config) : core_(core), config_(config) {}

    // Called once mpv runs: the halves follow the lines and the picture's place.
    void start();
    // Ids 504, 2104, 2110 and 308: which of mpv's subtitles show, and the halves.
    bool applyVisibility();
    // Draws the halves again (the style or position changed, a line came).
    void draw();

private:
    bool on() const;

    MpvCore& core_;
    const ConfigValues& config_;
    bool drawn_ = false;
};

} // namespace qinglan::aplayer
