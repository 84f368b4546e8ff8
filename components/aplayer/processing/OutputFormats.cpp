#include "OutputFormats.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>

namespace qinglan::aplayer::processing {

bool formatHoldsCodec(const OutputFormat& format, AVCodecID codec, bool video) {
    const auto list = video ? format.copyVideo : format.copyAudio;
    if (!list.empty())
        return std::find(list.begin(), list.end(), std::string_view(avcodec_get_name(codec))) !=
               list.end();
    const AVOutputFormat* muxer = av_guess_format(format.muxer, nullptr, nullptr);
    if (!muxer) return false;
    return avformat_query_codec(muxer, codec, FF_COMPLIANCE_NORMAL) != 0;
}

} // namespace qinglan::aplayer::processing
