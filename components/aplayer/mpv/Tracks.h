#pragma once
// Which of the media's tracks play: the audio track by index, the first and second subtitle by
// index among the media's own or from a file. Indexes count the media's own tracks only, and
// an index the media does not have changes nothing (a missing track would silence it).
#include <map>
#include <string>

namespace qinglan::aplayer {

class ConfigValues;
class MpvCore;
class PlaybackSession;

class Tracks {
public:
    Tracks(MpvCore& core, const ConfigValues& config, const PlaybackSession& session)
        : core_(core), config_(config), session_(session) {}

    bool applyAudioTrack(); // id 403
    // Ids 503 and 2103.
    bool applySubtitleFile(int id);
    // Ids 506 and 2106: the index applies while no file of the same place is given.
    bool applyEmbeddedSubtitle(int id);
    // The subtitle files added belong to one media.
    void forgetFiles() { files_.clear(); }

private:
    bool applyTrackIndex(const char* property, int id);

    MpvCore& core_;
    const ConfigValues& config_;
    const PlaybackSession& session_;
    std::map<std::string, long long> files_; // path -> mpv track id
};

} // namespace qinglan::aplayer
