#pragma once
// The LRC lyric format: lines of text each preceded by one or more time tags, plus a few
// header tags. What is understood:
// - time tags [mm:ss], [mm:ss.x], [mm:ss.xx], [mm:ss.xxx] (and [mm:ss:xx], which some editors
//   write); several on one line repeat the line at each time; lines in any order are sorted
//   by time (lines of equal time keep their order in the file);
// - [ti:], [ar:], [al:] the title, artist and album, [offset:±ms] the file's own time offset
//   (positive = the lyrics come earlier, as the format's editors mean it); other header tags
//   ([by:], [length:], [re:], ...) are skipped;
// - enhanced word times <mm:ss.xx> inside a line for a word-by-word highlight; a time at the
//   very end of a line is that line's end.
// A bracket after the time tags that is no time tag is text ("[00:12.00][合] ..."). A line
// without a time tag or a header tag is skipped.
//
// The file is untrusted: at most kMaxLrcBytes of it are read, and the result is capped
// (kMaxLines lines, kMaxTextBytes of text in all) so that a line repeated by a hundred
// thousand time tags cannot exhaust memory. No Qt, no state: safe from any thread.
#include "lyrics/TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qinglan::aplayer::lyrics {

inline constexpr size_t kMaxLrcBytes = 1u << 20;
inline constexpr size_t kMaxLines = 20000;
inline constexpr size_t kMaxTextBytes = 8u << 20;

struct LyricWord {
    int64_t startMs = 0;
    std::string text;
};

struct LyricLine {
    int64_t startMs = 0;
    std::string text;             // the whole line, word times removed
    std::vector<LyricWord> words; // empty unless the line carries word times
    std::optional<int64_t> endMs; // from a word time that closes the line
};

struct Lyrics {
    std::string title, artist, album;
    int64_t offsetMs = 0;         // the file's [offset:]
    std::vector<LyricLine> lines; // sorted by startMs
    Encoding encoding = Encoding::Utf8;
    bool truncated = false; // the file or the result reached a cap
};

// A time tag's content ("01:02.50") in milliseconds; nullopt when it is none.
std::optional<int64_t> parseTimeTag(std::string_view content);

// Parses text already in UTF-8.
Lyrics parseLrc(std::string_view utf8);
// Finds the encoding (see TextEncoding.h) and parses; bytes beyond kMaxLrcBytes are ignored.
Lyrics readLrc(std::string_view bytes);
// Reads at most kMaxLrcBytes of a file; nullopt when it cannot be opened or is no regular file.
std::optional<Lyrics> readLrcFile(const std::string& path);

} // namespace qinglan::aplayer::lyrics
