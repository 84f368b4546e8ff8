#pragma once
// The options re-sent to the engine after every open and every subtitle choice, as the ordered
// list of configuration values: the lyric steps, the subtitle steps, the picture steps with the
// 3D steps among them, then the sound steps. A pure function of the loaded settings and of the
// media that is open; the caller sends the list in its order.

#include <settings/SettingsRecord.h>

#include <string>
#include <vector>

namespace qinglan::settingswindow {

struct ConfigValue {
    int id = 0;
    std::string value;
    friend bool operator==(const ConfigValue&, const ConfigValue&) = default;
};

struct OpenMedia {
    std::string subtitleFile{}; // the external subtitle chosen for this media; may be empty
    std::string mediaStem{};    // the last audio file's path up to and including its last "."
    // A video gets no lyrics file: the stem would name the lyrics of the last song played.
    bool audio = false;
};

std::vector<ConfigValue> applyAllSettings(const settings::SettingsRecord& record,
                                          const OpenMedia& media);

// The place of `name` in `names` counted from 1, or 0 when it is not there.
int listPlace(const std::vector<std::string_view>& names, const std::string& name);

} // namespace qinglan::settingswindow
