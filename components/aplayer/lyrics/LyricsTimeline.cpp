#include "lyrics/LyricsTimeline.h"

#include <algorithm>

namespace qinglan::aplayer::lyrics {
namespace {

double fractionOf(int64_t t, int64_t start, int64_t end) {
    if (end <= start) return t >= start ? 1.0 : 0.0;
    return std::clamp(static_cast<double>(t - start) / static_cast<double>(end - start), 0.0, 1.0);
}

} // namespace

int64_t lyricClock(int64_t positionMs, int64_t userOffsetMs, int64_t fileOffsetMs) {
    return positionMs + userOffsetMs + fileOffsetMs;
}

int64_t positionOfLine(const LyricLine& line, int64_t userOffsetMs, int64_t fileOffsetMs) {
    return std::max<int64_t>(0, line.startMs - userOffsetMs - fileOffsetMs);
}

int currentLineAt(const std::vector<LyricLine>& lines, int64_t clockMs) {
    auto it = std::upper_bound(lines.begin(), lines.end(), clockMs,
                               [](int64_t t, const LyricLine& l) { return t < l.startMs; });
    return static_cast<int>(it - lines.begin()) - 1;
}

int64_t lineEndMs(const std::vector<LyricLine>& lines, int index) {
    if (index < 0 || index >= static_cast<int>(lines.size())) return 0;
    const LyricLine& line = lines[static_cast<size_t>(index)];
    if (line.endMs && *line.endMs > line.startMs) return *line.endMs;
    for (size_t i = static_cast<size_t>(index) + 1; i < lines.size(); ++i)
        if (lines[i].startMs > line.startMs) return lines[i].startMs;
    return line.startMs + kLastLineMs;
}

SungProgress sungProgress(const std::vector<LyricLine>& lines, int index, int64_t clockMs) {
    if (index < 0 || index >= static_cast<int>(lines.size())) return {};
    const LyricLine& line = lines[static_cast<size_t>(index)];
    const int64_t end = lineEndMs(lines, index);
    if (line.words.empty()) return {-1, fractionOf(clockMs, line.startMs, end)};
    const auto& words = line.words;
    auto it = std::upper_bound(words.begin(), words.end(), clockMs,
                               [](int64_t t, const LyricWord& w) { return t < w.startMs; });
    if (it == words.begin()) return {0, 0.0};
    const size_t k = static_cast<size_t>(it - words.begin()) - 1;
    const int64_t wordEnd =
        k + 1 < words.size() ? words[k + 1].startMs : std::max(end, words[k].startMs);
    return {static_cast<int>(k), fractionOf(clockMs, words[k].startMs, wordEnd)};
}

} // namespace qinglan::aplayer::lyrics
