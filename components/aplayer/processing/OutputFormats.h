#pragma once
// The output formats (aplayer/OutputFormats.h) as the processing reads them, and what libavformat
// answers about them.
#include <aplayer/OutputFormats.h>

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace qinglan::aplayer::processing {

using aplayer::findOutputFormat;
using aplayer::OutputFormat;
using aplayer::outputFormats;
using aplayer::VideoRate;

// Whether a stream copy can put a stream of this codec into the format: the format's own list
// where it has one, otherwise libavformat's answer (a muxer that cannot tell is trusted).
bool formatHoldsCodec(const OutputFormat& format, AVCodecID codec, bool video);

} // namespace qinglan::aplayer::processing
