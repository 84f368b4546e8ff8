#include "lyrics/LrcParser.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace qinglan::aplayer::lyrics {
namespace {

// "[99999:59.999]" and a little room for spaces: anything longer is no time tag.
constexpr size_t kMaxTimeTagLength = 24;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    // The ideographic space that Chinese editors pad with.
    while (s.starts_with("\xE3\x80\x80"))
        s.remove_prefix(3);
    while (s.ends_with("\xE3\x80\x80"))
        s.remove_suffix(3);
    return s;
}

// Up to maxDigits decimal digits from the front of s; nullopt without any.
std::optional<int64_t> takeNumber(std::string_view& s, size_t maxDigits) {
    size_t n = 0;
    int64_t v = 0;
    while (n < s.size() && n < maxDigits && isDigit(s[n]))
        v = v * 10 + (s[n++] - '0');
    if (n == 0) return std::nullopt;
    s.remove_prefix(n);
    return v;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::optional<int64_t> parseOffset(std::string_view v) {
    v = trim(v);
    bool negative = false;
    if (!v.empty() && (v.front() == '+' || v.front() == '-')) {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    // Nine digits: more than a day either way, and far from overflowing anything it is added to.
    auto n = takeNumber(v, 9);
    if (!n || !trim(v).empty()) return std::nullopt;
    return negative ? -*n : *n;
}

struct Parser {
    Lyrics out;
    size_t textBytes = 0;

    bool full() {
        if (out.lines.size() < kMaxLines && textBytes < kMaxTextBytes) return false;
        out.truncated = true;
        return true;
    }

    // A header tag's content ("ti:Title"); false when it is none.
    bool header(std::string_view content) {
        const size_t colon = content.find(':');
        if (colon == std::string_view::npos || colon == 0) return false;
        const std::string key = lower(trim(content.substr(0, colon)));
        for (char c : key)
            if (!(c >= 'a' && c <= 'z')) return false;
        const std::string_view value = trim(content.substr(colon + 1));
        if (key == "ti")
            out.title = value;
        else if (key == "ar")
            out.artist = value;
        else if (key == "al")
            out.album = value;
        else if (key == "offset") {
            if (auto ms = parseOffset(value)) out.offsetMs = *ms;
        }
        return true;
    }

    // Splits the text after the time tags into words at <mm:ss.xx> tags. Word starts are kept
    // relative to base, the line's earliest time tag, so that a line repeated at several times
    // carries its words along.
    static void words(std::string_view rest, int64_t base, LyricLine& line) {
        std::string text;
        std::vector<LyricWord> words;
        std::optional<int64_t> pendingStart; // the start of the word being gathered
        std::string pending;
        bool anyTag = false;
        auto flush = [&] {
            if (!pending.empty()) words.push_back({pendingStart.value_or(0), pending});
            pending.clear();
        };
        // The next '>' is looked for again only once it lies behind: a line of a million '<'
        // would otherwise be searched to its end from each of them.
        size_t close = 0;
        for (size_t i = 0; i < rest.size();) {
            if (rest[i] == '<') {
                if (close != std::string_view::npos && close <= i) close = rest.find('>', i);
                if (close != std::string_view::npos && close - i <= kMaxTimeTagLength) {
                    if (auto t = parseTimeTag(rest.substr(i + 1, close - i - 1))) {
                        flush();
                        pendingStart = *t - base;
                        anyTag = true;
                        i = close + 1;
                        continue;
                    }
                }
            }
            pending += rest[i];
            text += rest[i];
            ++i;
        }
        if (!anyTag) {
            line.text = std::string(trim(text));
            return;
        }
        // A word time with no text after it closes the line.
        if (trim(pending).empty() && pendingStart) line.endMs = *pendingStart;
        flush();
        // The line is its words put together, so that a word's place in the line is the width
        // of the words before it.
        auto blank = [](const LyricWord& w) { return trim(w.text).empty(); };
        words.erase(words.begin(), std::find_if_not(words.begin(), words.end(), blank));
        while (!words.empty() && blank(words.back()))
            words.pop_back();
        if (!words.empty()) {
            std::string_view first = words.front().text;
            while (!first.empty() && isSpace(first.front()))
                first.remove_prefix(1);
            words.front().text = std::string(first);
            std::string_view last = words.back().text;
            while (!last.empty() && isSpace(last.back()))
                last.remove_suffix(1);
            words.back().text = std::string(last);
        }
        line.text.clear();
        for (const LyricWord& w : words)
            line.text += w.text;
        line.words = std::move(words);
    }

    void line(std::string_view raw) {
        std::string_view rest = trim(raw);
        std::vector<int64_t> times;
        while (rest.starts_with('[')) {
            const size_t close = rest.find(']');
            if (close == std::string_view::npos) break;
            const std::string_view content = rest.substr(1, close - 1);
            if (auto t = parseTimeTag(content)) {
                times.push_back(*t);
                rest.remove_prefix(close + 1);
                continue;
            }
            if (times.empty() && header(content)) {
                rest.remove_prefix(close + 1);
                rest = trim(rest);
                continue;
            }
            break; // text that happens to start with a bracket
        }
        if (times.empty()) return;
        const int64_t base = *std::min_element(times.begin(), times.end());
        LyricLine parsed;
        words(rest, base, parsed);
        for (int64_t t : times) {
            if (full()) return;
            LyricLine copy = parsed;
            copy.startMs = t;
            // Word times out of order would make the highlight run backwards: each word starts
            // no earlier than the one before it, and the line ends no earlier than its last word.
            int64_t earliest = t;
            for (LyricWord& w : copy.words)
                earliest = w.startMs = std::max(t + w.startMs, earliest);
            if (copy.endMs) copy.endMs = std::max(t + *copy.endMs, earliest);
            textBytes += copy.text.size() + 16;
            for (const LyricWord& w : copy.words)
                textBytes += w.text.size() + 16;
            out.lines.push_back(std::move(copy));
        }
    }
};

} // namespace

std::optional<int64_t> parseTimeTag(std::string_view s) {
    s = trim(s);
    auto minutes = takeNumber(s, 5);
    if (!minutes || !s.starts_with(':')) return std::nullopt;
    s.remove_prefix(1);
    auto seconds = takeNumber(s, 2);
    if (!seconds || *seconds > 59) return std::nullopt;
    int64_t ms = (*minutes * 60 + *seconds) * 1000;
    if (s.empty()) return ms;
    if (s.front() != '.' && s.front() != ':') return std::nullopt;
    s.remove_prefix(1);
    const size_t digits = s.size();
    auto fraction = takeNumber(s, 3);
    if (!fraction || !s.empty()) return std::nullopt;
    static constexpr int64_t kScale[] = {0, 100, 10, 1};
    return ms + *fraction * kScale[digits];
}

Lyrics parseLrc(std::string_view text) {
    Parser p;
    while (!text.empty() && !p.out.truncated) {
        size_t end = text.find_first_of("\r\n");
        if (end == std::string_view::npos) end = text.size();
        p.line(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    std::stable_sort(p.out.lines.begin(), p.out.lines.end(),
                     [](const LyricLine& a, const LyricLine& b) { return a.startMs < b.startMs; });
    return std::move(p.out);
}

Lyrics readLrc(std::string_view bytes) {
    const bool cut = bytes.size() > kMaxLrcBytes;
    DecodedText decoded = decodeText(bytes.substr(0, kMaxLrcBytes));
    Lyrics lyrics = parseLrc(decoded.utf8);
    lyrics.encoding = decoded.encoding;
    lyrics.truncated = lyrics.truncated || cut;
    return lyrics;
}

std::optional<Lyrics> readLrcFile(const std::string& path) {
    std::error_code ec;
    // A pipe or device named as a lyric file would block the read or never end.
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(kMaxLrcBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return readLrc(bytes);
}

} // namespace qinglan::aplayer::lyrics
