#pragma once
// Id 702: the frame on show, with its subtitles, scaled as ids 703-706 say and written in the
// format and quality of 707 and 708.
#include <string>

namespace qinglan::aplayer {

class ConfigValues;
class MpvCore;
class PlaybackSession;

class Screenshots {
public:
    Screenshots(MpvCore& core, const ConfigValues& config, const PlaybackSession& session)
        : core_(core), config_(config), session_(session) {}

    // True only when the whole file was written.
    bool take(const std::string& path);

private:
    MpvCore& core_;
    const ConfigValues& config_;
    const PlaybackSession& session_;
};

} // namespace qinglan::aplayer
