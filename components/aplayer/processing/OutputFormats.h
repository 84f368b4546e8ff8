#pragma once
// The sixteen output formats of the processing modes, stated once: which libavformat muxer
// writes each, with which encoders a transcode fills it, and which codecs a stream copy may put
// into the containers whose muxers accept more than the format really holds.
#include <span>
#include <string>
#include <string_view>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace qinglan::aplayer::processing {

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
    std::span<const AVCodecID> copyVideo;
    std::span<const AVCodecID> copyAudio;
};

std::span<const OutputFormat> outputFormats();
// nullptr when the name is none of the sixteen.
const OutputFormat* findOutputFormat(std::string_view name);

// Whether a stream copy can put a stream of this codec into the format: the format's own list
// where it has one, otherwise libavformat's answer (a muxer that cannot tell is trusted).
bool formatHoldsCodec(const OutputFormat& format, AVCodecID codec, bool video);

} // namespace qinglan::aplayer::processing
