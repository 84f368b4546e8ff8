#include "Tracks.h"

#include "ConfigValues.h"
#include "MpvCore.h"
#include "PlaybackSession.h"
#include "aplayer/ConfigTable.h"
#include "aplayer/MpvTranslate.h"
#include "aplayer/SubtitleEncoding.h"

#include <cstring>

namespace qinglan::aplayer {

bool Tracks::applyAudioTrack() {
    return applyTrackIndex("aid", cfg::AudioTrack);
}

bool Tracks::applyTrackIndex(const char* property, int id) {
    auto index = parseInteger(config_[id]);
    if (!index || *index < 0 || !session_.loaded()) return index.has_value() || config_[id].empty();
    const std::string type = std::strcmp(property, "aid") == 0 ? "audio" : "sub";
    const int64_t count = core_.integer("track-list/count");
    long long seen = 0;
    for (int64_t i = 0; i < count; ++i) {
        std::string base = "track-list/" + std::to_string(i) + "/";
        bool match = core_.property((base + "type").c_str()) == type;
        bool external = core_.flag((base + "external").c_str());
        if (!match || external) continue;
        if (seen++ == *index)
            return core_.setProperty(property,
                                     std::to_string(core_.integer((base + "id").c_str())));
    }
    return false;
}

bool Tracks::applyEmbeddedSubtitle(int id) {
    bool second = id == cfg::Subtitle2Language;
    // A subtitle file, when given, has the place; the index picks among the media's own.
    if (!config_[second ? cfg::Subtitle2File : cfg::SubtitleFile].empty() && session_.loaded())
        return true;
    return applyTrackIndex(second ? "secondary-sid" : "sid", id);
}

bool Tracks::applySubtitleFile(int id) {
    bool second = id == cfg::Subtitle2File;
    const char* property = second ? "secondary-sid" : "sid";
    std::string path = config_[id];
    if (!session_.loaded()) return true; // applied to the media once the player re-sends it
    if (path.empty())
        return applyEmbeddedSubtitle(second ? cfg::Subtitle2Language : cfg::SubtitleLanguage);
    // The player sends the same file after every apply: add it once, then re-select it.
    // A track is shown in one place at a time: the file moves from the other place.
    const char* other = second ? "sid" : "secondary-sid";
    auto select = [&](long long trackId) {
        if (core_.property(other) == std::to_string(trackId)) core_.setProperty(other, "no");
        return core_.setProperty(property, std::to_string(trackId));
    };
    auto known = files_.find(path);
    if (known != files_.end()) return select(known->second);
    // A short Chinese file is taken for Latin text by mpv's own guess: the engine says which.
    core_.setProperty("sub-codepage", subtitleCodepageOfFile(path));
    if (!core_.command({"sub-add", path.c_str(), second ? "auto" : "select"})) return false;
    int64_t trackId = 0;
    for (int64_t i = core_.integer("track-list/count") - 1; i >= 0; --i) {
        std::string base = "track-list/" + std::to_string(i) + "/";
        if (core_.property((base + "type").c_str()) == "sub") {
            trackId = core_.integer((base + "id").c_str());
            break;
        }
    }
    if (trackId <= 0) return false;
    files_[path] = trackId;
    return select(trackId);
}

} // namespace qinglan::aplayer
