#pragma once
// How the video list reads a path. Paths are byte strings as the file system gives them
// (usually UTF-8, but any bytes but NUL are kept as they are); "/" separates folders.

#include <array>
#include <string>
#include <string_view>

namespace qinglan::medialist {

// The text after the last "/"; a path without "/" is its own display name.
std::string_view displayName(std::string_view path);

// The folder with one "/" at its end ("/" stays "/").
std::string withTrailingSlash(std::string_view folder);

// The path cut after its last "/", the slash kept; "" for a path without "/".
std::string_view containingFolder(std::string_view path);

// The media types a folder scan takes: "*." and an extension, compared exactly.
constexpr std::string_view kMediaFilter =
    "*.avi;*.wmv;*.mpeg;*.mp4;*.mov;*.mkv;*.flv;*.f4v;*.m4v;*.rmvb;*.rm;*.3gp;*.dat;*.ts;*.mts;"
    "*.mp3;*.vob";
constexpr std::size_t kMediaPatternCount = 17;
// kMediaFilter split at ";".
const std::array<std::string_view, kMediaPatternCount>& mediaPatterns();

// The extension is the text after the last "." of the whole path; "*." + extension must equal
// one of the patterns, letter case included (clip.MP4 is not taken). No "." means no match.
bool matchesMediaPattern(std::string_view path);

} // namespace qinglan::medialist
