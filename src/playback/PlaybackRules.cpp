#include "playback/PlaybackRules.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace qinglan::playback {
namespace {

std::string twoDigits(long long v) {
    std::string s = std::to_string(v);
    return s.size() == 1 ? "0" + s : s;
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

} // namespace

std::string formatClock(long long seconds) {
    if (seconds < 0) seconds = 0;
    const long long h = seconds / 3600;
    const long long m = (seconds - 3600 * h) / 60;
    const long long s = seconds - 3600 * h - 60 * m;
    return twoDigits(h) + ":" + twoDigits(m) + ":" + twoDigits(s);
}

bool isAudioMedia(std::string_view path) {
    static constexpr std::array<std::string_view, 4> kAudio{".mp3", ".flac", ".ape", ".wav"};
    return std::any_of(kAudio.begin(), kAudio.end(),
                       [&](std::string_view ext) { return endsWithNoCase(path, ext); });
}

std::optional<std::string> mediaStemFor(std::string_view path) {
    if (!isAudioMedia(path)) return std::nullopt;
    return std::string(path.substr(0, path.rfind('.') + 1));
}

bool isSubtitleFile(std::string_view path) {
    static constexpr std::array<std::string_view, 6> kSubtitles{".sub", ".srt", ".pgs",
                                                                ".smi", ".ass", ".ssa"};
    return std::any_of(kSubtitles.begin(), kSubtitles.end(),
                       [&](std::string_view ext) { return endsWithNoCase(path, ext); });
}

bool isAcceptedNetworkAddress(std::string_view text) {
    return text.substr(0, 7) == "http://" || text.substr(0, 8) == "https://";
}

long long leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (value > 1'000'000'000'000LL) break; // far beyond any media length; avoid overflow
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

SkipPositions skipPositions(std::string_view introSeconds, std::string_view outroSeconds) {
    SkipPositions p;
    p.start = std::string(introSeconds) + "000";
    const long long outro = leadingNumber(outroSeconds);
    p.end = outro > 0 ? "-" + std::to_string(outro * 1000) : "0";
    return p;
}

int stepVolumeOffset(int offset, bool up) {
    if (up && offset < kVolumeOffsetMax) return offset + 1;
    if (!up && offset > kVolumeOffsetMin) return offset - 1;
    return offset;
}

std::string volumeOnScreenText(int offset) {
    return "音量：" + std::to_string(offset + 100) + "%";
}

} // namespace qinglan::playback
