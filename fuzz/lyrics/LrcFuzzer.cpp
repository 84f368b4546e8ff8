// The LRC reader on arbitrary bytes: encoding detection, parsing, and the timeline questions a
// view asks of the result. Any crash, sanitizer report, hang or runaway allocation is a finding.
#include "lyrics/LrcParser.h"
#include "lyrics/LyricsTimeline.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace qinglan::aplayer::lyrics;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Lyrics lyrics = readLrc(bytes);
    if (lyrics.lines.size() > kMaxLines) __builtin_trap();
    for (size_t i = 1; i < lyrics.lines.size(); ++i)
        if (lyrics.lines[i - 1].startMs > lyrics.lines[i].startMs) __builtin_trap(); // unsorted
    // The view's questions at a few moments around every line.
    const int n = static_cast<int>(lyrics.lines.size());
    for (int i = 0; i < n && i < 64; ++i) {
        const LyricLine& line = lyrics.lines[static_cast<size_t>(i)];
        for (int64_t t : {line.startMs - 1, line.startMs, lineEndMs(lyrics.lines, i) - 1}) {
            const int current = currentLineAt(lyrics.lines, t);
            if (current < -1 || current >= n) __builtin_trap();
            const SungProgress p = sungProgress(lyrics.lines, current, t);
            if (p.fraction < 0 || p.fraction > 1) __builtin_trap();
            if (p.word >= static_cast<int>(line.words.size()) && current == i) __builtin_trap();
        }
        (void)positionOfLine(line, 10000, lyrics.offsetMs);
    }
    return 0;
}
