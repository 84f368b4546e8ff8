#pragma once
#include <optional>
#include <string>
#include <string_view>

// Small rules of playback control that need neither the engine nor a window.
namespace qinglan::playback {

// "hh:mm:ss" of whole seconds; hours grow past two digits (360000 s -> "100:00:00").
std::string formatClock(long long seconds);

// Audio is told by the file's extension, in any letter case: .mp3, .flac, .ape, .wav.
bool isAudioMedia(std::string_view path);
// For an audio file: the path up to and including its last "." (the lyric file is this
// followed by "lrc"). Empty for anything that is not audio.
std::optional<std::string> mediaStemFor(std::string_view path);

// Dropped files with these extensions (any case) are subtitles, not media.
bool isSubtitleFile(std::string_view path);

// The network open accepts "http://" and "https://" addresses, as typed (case-sensitive).
bool isAcceptedNetworkAddress(std::string_view text);

// Engine start and end positions (ids 102 and 103) for the skip settings. The intro is
// passed as typed with "000" appended. The outro becomes an end measured back from each
// media's own end ("-60000" for 60 s), so it fits every file, not just the one that was
// open when it was typed; an outro that is not a positive number plays to the end ("0").
struct SkipPositions {
    std::string start;
    std::string end;
};
SkipPositions skipPositions(std::string_view introSeconds, std::string_view outroSeconds);

// A decimal text read as a number the forgiving way: leading blanks, an optional sign and
// digits; anything else, or nothing, counts as 0.
long long leadingNumber(std::string_view text);

// Volume step of the hotkeys: the offset stays within -100..900 (engine volume 0..1000).
inline constexpr int kVolumeOffsetMin = -100;
inline constexpr int kVolumeOffsetMax = 900;
int stepVolumeOffset(int offset, bool up);
// The on-screen text after a volume step: "音量：" + volume + "%".
std::string volumeOnScreenText(int offset);

} // namespace qinglan::playback
