#include "OutputFormats.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <array>

namespace qinglan::aplayer::processing {
namespace {

// MPEG-1 system streams: MPEG video; the sound the muxer writes.
constexpr std::array kMpegVideo{AV_CODEC_ID_MPEG1VIDEO, AV_CODEC_ID_MPEG2VIDEO};
constexpr std::array kMpegAudio{AV_CODEC_ID_MP1, AV_CODEC_ID_MP2,     AV_CODEC_ID_MP3,
                                AV_CODEC_ID_AC3, AV_CODEC_ID_PCM_DVD, AV_CODEC_ID_DTS};
// VCD: MPEG-1 video and MPEG-1 layer II sound only.
constexpr std::array kVcdVideo{AV_CODEC_ID_MPEG1VIDEO};
constexpr std::array kVcdAudio{AV_CODEC_ID_MP2};
// DVD-Video: MPEG-1/2 video; AC-3, MPEG audio, LPCM or DTS sound.
constexpr std::array kDvdVideo{AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_MPEG1VIDEO};
constexpr std::array kDvdAudio{AV_CODEC_ID_AC3, AV_CODEC_ID_MP2, AV_CODEC_ID_MP1,
                               AV_CODEC_ID_PCM_DVD, AV_CODEC_ID_DTS};
// The RealMedia muxer writes RealVideo 1/2 headers, and AC-3 or RealAudio 14.4 sound.
constexpr std::array kRealVideo{AV_CODEC_ID_RV10, AV_CODEC_ID_RV20};
constexpr std::array kRealAudio{AV_CODEC_ID_AC3, AV_CODEC_ID_RA_144};

constexpr std::span<const AVCodecID> kAny{};

constexpr VideoRate kQuality{};
// VCD: a constant 1150 kbit/s through a 40 KiB buffer.
constexpr VideoRate kVcdRate{1150000, 1150000, 1150000, 40 * 1024 * 8};
// DVD-Video: 6 Mbit/s on average, at most 9 Mbit/s, through a 224 KiB buffer.
constexpr VideoRate kDvdRate{6000000, 9000000, 0, 224 * 1024 * 8};

// clang-format off
const std::array<OutputFormat, 16> kFormats{{
    {"avi",  "avi",      "AVI",                            "mpeg4",      "libmp3lame", 2,  0,     kQuality, 128000, false, kAny, kAny},
    {"wmv",  "asf",      "Windows Media (ASF)",            "wmv2",       "wmav2",      2,  0,     kQuality, 128000, false, kAny, kAny},
    {"mpeg", "mpeg",     "MPEG-1 program stream",          "mpeg1video", "mp2",        2,  0,     kQuality, 192000, false, kMpegVideo, kMpegAudio},
    {"mp4",  "mp4",      "MP4",                            "libx264",    "aac",        2,  0,     kQuality, 128000, false, kAny, kAny},
    {"mov",  "mov",      "QuickTime",                      "libx264",    "aac",        2,  0,     kQuality, 128000, false, kAny, kAny},
    {"mkv",  "matroska", "Matroska",                       "libx264",    "aac",        2,  0,     kQuality, 128000, false, kAny, kAny},
    {"flv",  "flv",      "Flash Video",                    "libx264",    "aac",        2,  0,     kQuality, 128000, false, kAny, kAny},
    {"f4v",  "f4v",      "Adobe F4V",                      "libx264",    "aac",        2,  0,     kQuality, 128000, false, kAny, kAny},
    {"m4v",  "ipod",     "iTunes video (M4V)",             "libx264",    "aac",        2,  0,     kQuality, 128000, false, kAny, kAny},
    {"rmvb", "rm",       "RealMedia",                      "rv20",       "ac3",        16, 0,     kQuality, 128000, false, kRealVideo, kRealAudio},
    {"rm",   "rm",       "RealMedia",                      "rv10",       "ac3",        16, 0,     kQuality, 128000, false, kRealVideo, kRealAudio},
    {"3gp",  "3gp",      "3GPP",                           "libx264",    "aac",        2,  0,     kQuality, 96000,  false, kAny, kAny},
    {"dat",  "vcd",      "MPEG-1 VCD program stream",      "mpeg1video", "mp2",        2,  44100, kVcdRate, 224000, false, kVcdVideo, kVcdAudio},
    {"ts",   "mpegts",   "MPEG transport stream",          "libx264",    "aac",        2,  0,     kQuality, 128000, false, kAny, kAny},
    {"mts",  "mpegts",   "AVCHD transport stream (M2TS)",  "libx264",    "ac3",        2,  48000, kQuality, 192000, true,  kAny, kAny},
    {"vob",  "dvd",      "MPEG-2 DVD program stream",      "mpeg2video", "ac3",        2,  48000, kDvdRate, 192000, false, kDvdVideo, kDvdAudio},
}};
// clang-format on

} // namespace

std::span<const OutputFormat> outputFormats() {
    return kFormats;
}

const OutputFormat* findOutputFormat(std::string_view name) {
    auto it = std::find_if(kFormats.begin(), kFormats.end(),
                           [&](const OutputFormat& f) { return f.name == name; });
    return it == kFormats.end() ? nullptr : &*it;
}

bool formatHoldsCodec(const OutputFormat& format, AVCodecID codec, bool video) {
    auto list = video ? format.copyVideo : format.copyAudio;
    if (!list.empty()) return std::find(list.begin(), list.end(), codec) != list.end();
    const AVOutputFormat* muxer = av_guess_format(format.muxer, nullptr, nullptr);
    if (!muxer) return false;
    return avformat_query_codec(muxer, codec, FF_COMPLIANCE_NORMAL) != 0;
}

} // namespace qinglan::aplayer::processing
