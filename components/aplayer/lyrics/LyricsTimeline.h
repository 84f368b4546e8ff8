#pragma once
// Where a lyric view stands at a moment of the media: the current line, how much of it has
// been sung, and back from a line to the media position that plays it. Pure functions, no Qt.
//
// The lyric clock is the media position plus both offsets, the user's and the file's: a
// positive offset brings the lyrics earlier, as LRC's [offset:] does.
#include "lyrics/LrcParser.h"

#include <cstdint>
#include <vector>

namespace qinglan::aplayer::lyrics {

// How long the last line counts as being sung when nothing ends it.
inline constexpr int64_t kLastLineMs = 5000;

int64_t lyricClock(int64_t positionMs, int64_t userOffsetMs, int64_t fileOffsetMs);
// The media position at which a line starts (never before 0).
int64_t positionOfLine(const LyricLine& line, int64_t userOffsetMs, int64_t fileOffsetMs);

// The last line started at or before the clock; -1 before the first line.
int currentLineAt(const std::vector<LyricLine>& lines, int64_t clockMs);
// The line's own end, else the start of the next line that starts later, else kLastLineMs on.
int64_t lineEndMs(const std::vector<LyricLine>& lines, int index);

// How far the line at index has been sung: word is the word being sung (-1 for a line without
// word times, then fraction is of the whole line), fraction 0..1 of it.
struct SungProgress {
    int word = -1;
    double fraction = 0;
};
SungProgress sungProgress(const std::vector<LyricLine>& lines, int index, int64_t clockMs);

} // namespace qinglan::aplayer::lyrics
