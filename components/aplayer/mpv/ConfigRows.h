#pragma once
// The engine's configuration ids as one table: each row says what the id means (the public
// ConfigId of aplayer/ConfigTable.h) and how the engine on libmpv carries it out: an applier
// that puts the value into effect, or a reader that answers the id from the engine's state.
// Ids without either are stored and read back, and take effect where they are used (the next
// open, the next screenshot, a conversion, a redraw).
#include "aplayer/ConfigTable.h"

#include <memory>
#include <span>
#include <string>

namespace qinglan::aplayer {

class ConfigValues;
class MpvCore;
class OnScreenText;
class PanoramaLook;
class PlaybackSession;
class ProcessingModes;
class Screenshots;
class SubtitleHalves;
class Tracks;
class VideoChain;
namespace lyrics {
class LyricsView;
}

// What the appliers and readers reach: the parts of the engine.
struct EngineParts {
    MpvCore& core;
    const ConfigValues& config;
    PlaybackSession& session;
    VideoChain& video;
    PanoramaLook& panorama;
    Tracks& tracks;
    SubtitleHalves& subtitles;
    OnScreenText& text;
    Screenshots& screenshots;
    ProcessingModes& processing;
    const std::unique_ptr<lyrics::LyricsView>& lyrics;
};

// False when the value could not be applied (the value is stored either way).
using Applier = bool (*)(EngineParts& parts, int id, const std::string& value);
using Reader = std::string (*)(const EngineParts& parts);

enum class When {
    // While mpv runs, and once more for every value stored when it starts.
    Running,
    // At every value sent, whether or not mpv runs; never again (an action, or a value whose
    // order counts).
    EverySet,
};

struct ConfigRow {
    ConfigId about;
    Applier apply = nullptr;
    Reader read = nullptr;
    When when = When::Running;
};

// Sorted by id.
std::span<const ConfigRow> configRows();
// nullptr for an id outside the table.
const ConfigRow* findConfigRow(int id);

} // namespace qinglan::aplayer
