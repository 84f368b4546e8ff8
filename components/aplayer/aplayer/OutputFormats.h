#pragma once
// The sixteen output formats of the processing modes, stated once, in the order the transcode
// page lists them: the name sent in id 803 (also the file's extension), which libavformat muxer
// writes it, with which encoders a transcode fills it, and which codecs a stream copy may put
// into the containers whose muxers accept more than the format really holds. The engine's
// processing writes by these rows; the page and the conversion's sends read their names.
// Constant and free of FFmpeg's headers, so that the layers above read it without linking the
// engine; codecs are named as FFmpeg names them (avcodec_get_name).
#include <span>
#include <string_view>

namespace qinglan::aplayer {

// The stream rates a disc format's players expect, in bits (per second); a zero bit rate leaves
// the rate to the encoder's quality setting.
struct VideoRate {
    long long bitRate = 0;
    long long maxRate = 0;
    long long minRate = 0;
    int bufferBits = 0;
};

struct OutputFormat {
    std::string_view name;   // as sent in id 803 and used as the file extension
    const char* muxer;       // libavformat's short name
    const char* description; // for messages: what the container is
    const char* videoEncoder;
    const char* audioEncoder;
    int sizeMultiple; // the video encoder takes only widths and heights of this multiple
    int audioRate;    // the sample rate the format's style asks for; 0 = the source's
    VideoRate videoRate;
    long long audioBitRate;
    bool m2ts; // MPEG transport stream with the 4-byte time code per packet (AVCHD .mts)
    // Stream copy: the codecs the format really holds. Empty lists leave the question to
    // libavformat (its muxers that know their codecs say so).
    std::span<const std::string_view> copyVideo;
    std::span<const std::string_view> copyAudio;
};

namespace formats {
// MPEG-1 system streams: MPEG video; the sound the muxer writes.
inline constexpr std::string_view kMpegVideo[] = {"mpeg1video", "mpeg2video"};
inline constexpr std::string_view kMpegAudio[] = {"mp1", "mp2", "mp3", "ac3", "pcm_dvd", "dts"};
// VCD: MPEG-1 video and MPEG-1 layer II sound only.
inline constexpr std::string_view kVcdVideo[] = {"mpeg1video"};
inline constexpr std::string_view kVcdAudio[] = {"mp2"};
// DVD-Video: MPEG-1/2 video; AC-3, MPEG audio, LPCM or DTS sound.
inline constexpr std::string_view kDvdVideo[] = {"mpeg2video", "mpeg1video"};
inline constexpr std::string_view kDvdAudio[] = {"ac3", "mp2", "mp1", "pcm_dvd", "dts"};
// The RealMedia muxer writes RealVideo 1/2 headers, and AC-3 or RealAudio 14.4 sound.
inline constexpr std::string_view kRealVideo[] = {"rv10", "rv20"};
inline constexpr std::string_view kRealAudio[] = {"ac3", "ra_144"};

inline constexpr std::span<const std::string_view> kAny{};

inline constexpr VideoRate kQuality{};
// VCD: a constant 1150 kbit/s through a 40 KiB buffer.
inline constexpr VideoRate kVcdRate{1150000, 1150000, 1150000, 40 * 1024 * 8};
// DVD-Video: 6 Mbit/s on average, at most 9 Mbit/s, through a 224 KiB buffer.
inline constexpr VideoRate kDvdRate{6000000, 9000000, 0, 224 * 1024 * 8};
} // namespace formats

// clang-format off
inline constexpr OutputFormat kOutputFormats[] = {
    {"avi",  "avi",      "AVI",                            "mpeg4",      "libmp3lame", 2,  0,     formats::kQuality, 128000, false, formats::kAny, formats::kAny},
    {"wmv",  "asf",      "Windows Media (ASF)",            "wmv2",       "wmav2",      2,  0,     formats::kQuality, 128000, false, formats::kAny, formats::kAny},
    {"mpeg", "mpeg",     "MPEG-1 program stream",          "mpeg1video", "mp2",        2,  0,     formats::kQuality, 192000, false, formats::kMpegVideo, formats::kMpegAudio},
    {"mp4",  "mp4",      "MP4",                            "libx264",    "aac",        2,  0,     formats::kQuality, 128000, false, formats::kAny, formats::kAny},
    {"mov",  "mov",      "QuickTime",                      "libx264",    "aac",        2,  0,     formats::kQuality, 128000, false, formats::kAny, formats::kAny},
    {"mkv",  "matroska", "Matroska",                       "libx264",    "aac",        2,  0,     formats::kQuality, 128000, false, formats::kAny, formats::kAny},
    {"flv",  "flv",      "Flash Video",                    "libx264",    "aac",        2,  0,     formats::kQuality, 128000, false, formats::kAny, formats::kAny},
    {"f4v",  "f4v",      "Adobe F4V",                      "libx264",    "aac",        2,  0,     formats::kQuality, 128000, false, formats::kAny, formats::kAny},
    {"m4v",  "ipod",     "iTunes video (M4V)",             "libx264",    "aac",        2,  0,     formats::kQuality, 128000, false, formats::kAny, formats::kAny},
    {"rmvb", "rm",       "RealMedia",                      "rv20",       "ac3",        16, 0,     formats::kQuality, 128000, false, formats::kRealVideo, formats::kRealAudio},
    {"rm",   "rm",       "RealMedia",                      "rv10",       "ac3",        16, 0,     formats::kQuality, 128000, false, formats::kRealVideo, formats::kRealAudio},
    {"3gp",  "3gp",      "3GPP",                           "libx264",    "aac",        2,  0,     formats::kQuality, 96000,  false, formats::kAny, formats::kAny},
    {"dat",  "vcd",      "MPEG-1 VCD program stream",      "mpeg1video", "mp2",        2,  44100, formats::kVcdRate, 224000, false, formats::kVcdVideo, formats::kVcdAudio},
    {"ts",   "mpegts",   "MPEG transport stream",          "libx264",    "aac",        2,  0,     formats::kQuality, 128000, false, formats::kAny, formats::kAny},
    {"mts",  "mpegts",   "AVCHD transport stream (M2TS)",  "libx264",    "ac3",        2,  48000, formats::kQuality, 192000, true,  formats::kAny, formats::kAny},
    {"vob",  "dvd",      "MPEG-2 DVD program stream",      "mpeg2video", "ac3",        2,  48000, formats::kDvdRate, 192000, false, formats::kDvdVideo, formats::kDvdAudio},
};
// clang-format on

inline constexpr std::span<const OutputFormat> outputFormats() {
    return kOutputFormats;
}

// nullptr when the name is none of the sixteen (exactly: lower case, no dot).
inline constexpr const OutputFormat* findOutputFormat(std::string_view name) {
    for (const auto& format : kOutputFormats)
        if (format.name == name) return &format;
    return nullptr;
}

} // namespace qinglan::aplayer
