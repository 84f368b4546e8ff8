// Mode "2": the streams go unchanged into the other container. Without decoding, a cut can only
// begin at a key frame (the frames after it need it), so each end of the span moves to the key
// frame nearest to it; the written span is then within one key-frame interval of the request.
#include "Media.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/bsf.h>
#include <libavformat/avformat.h>
}

#include <cmath>
#include <limits>
#include <memory>
#include <string_view>

namespace qinglan::aplayer::processing {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kSlack = 0.0005; // timestamps are rounded to their stream's time base

struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using Packet = std::unique_ptr<AVPacket, PacketDeleter>;

double packetSeconds(const SourceMedia& source, const AVPacket& p) {
    const long long ts = p.pts != AV_NOPTS_VALUE ? p.pts : p.dts;
    return ts == AV_NOPTS_VALUE ? -kInfinity : source.seconds(ts, p.stream_index);
}

void seekTo(SourceMedia& source, double seconds, int stream) {
    if (seconds <= 0) {
        av_seek_frame(source.format, -1,
                      source.format->start_time != AV_NOPTS_VALUE ? source.format->start_time : 0,
                      AVSEEK_FLAG_BACKWARD);
    } else {
        av_seek_frame(source.format, stream, source.timestamp(seconds, stream),
                      AVSEEK_FLAG_BACKWARD);
    }
}

// The key frames of the video stream on either side of t: the last at or before it and the
// first after it (infinity when the media ends first).
struct KeyFrames {
    double before = 0;
    double after = kInfinity;
};

KeyFrames keyFramesAround(SourceMedia& source, double t, const std::atomic<bool>& cancel) {
    KeyFrames k;
    seekTo(source, t, source.video);
    Packet p(av_packet_alloc());
    bool seenBefore = false;
    while (!cancel && av_read_frame(source.format, p.get()) >= 0) {
        const bool key = p->stream_index == source.video && (p->flags & AV_PKT_FLAG_KEY);
        const double at = packetSeconds(source, *p);
        av_packet_unref(p.get());
        if (!key) continue;
        if (at <= t + kSlack) {
            k.before = at;
            seenBefore = true;
        } else if (!seenBefore && t > 0) {
            // The seek landed past t (an index that is off): look again from the start.
            seekTo(source, 0, source.video);
            seenBefore = true;
            k.before = 0;
        } else {
            k.after = at;
            break;
        }
    }
    return k;
}

double nearest(double t, const KeyFrames& k) {
    return t - k.before <= k.after - t ? k.before : k.after;
}

struct FilterDeleter {
    void operator()(AVBSFContext* f) const { av_bsf_free(&f); }
};
using BitstreamFilter = std::unique_ptr<AVBSFContext, FilterDeleter>;

// H.264 and HEVC from MP4 or Matroska carry their parameter sets in the header and length
// prefixes before each unit; containers without such a header (AVI, ASF, the MPEG streams) need
// start codes and the parameter sets in the stream.
BitstreamFilter startCodeFilter(const AVStream& in, const AVFormatContext& out) {
    const AVCodecParameters& p = *in.codecpar;
    const char* name = p.codec_id == AV_CODEC_ID_H264   ? "h264_mp4toannexb"
                       : p.codec_id == AV_CODEC_ID_HEVC ? "hevc_mp4toannexb"
                                                        : nullptr;
    if (!name || (out.oformat->flags & AVFMT_GLOBALHEADER) || p.extradata_size < 1 ||
        p.extradata[0] != 1)
        return {};
    AVBSFContext* f = nullptr;
    const AVBitStreamFilter* filter = av_bsf_get_by_name(name);
    if (!filter || av_bsf_alloc(filter, &f) < 0) return {};
    BitstreamFilter owned(f);
    if (avcodec_parameters_copy(f->par_in, &p) < 0) return {};
    f->time_base_in = in.time_base;
    if (av_bsf_init(f) < 0) return {};
    return owned;
}

} // namespace

Outcome streamCopy(const Job& job, const OutputFormat& format, SourceMedia& source, const Cut& cut,
                   const std::atomic<bool>& cancel, const ProgressCallback& progress) {
    Outcome out;
    // Refused before anything is written.
    for (int stream : {source.video, source.audio}) {
        if (stream < 0) continue;
        const AVCodecID codec = source.format->streams[stream]->codecpar->codec_id;
        const bool video = stream == source.video;
        if (!formatHoldsCodec(format, codec, video)) {
            out.reason = std::string(avcodec_get_name(codec)) + (video ? " video" : " sound") +
                         " cannot be copied into " + std::string(format.name) + " (" +
                         format.description + ") without transcoding";
            return out;
        }
    }

    // The span actually written: key frame to key frame.
    double start = cut.start, end = cut.end;
    const bool toTheEnd = source.duration > 0 && cut.end >= source.duration;
    if (source.video >= 0) {
        const KeyFrames atStart = keyFramesAround(source, start, cancel);
        start = nearest(start, atStart);
        if (!std::isfinite(start)) start = atStart.before;
        if (!toTheEnd && std::isfinite(end)) {
            end = nearest(end, keyFramesAround(source, end, cancel));
            // A span shorter than the interval around it: the one interval it lies in, which
            // is still within one interval of the request.
            if (end <= start) {
                start = atStart.before;
                end = atStart.after;
            }
        } else {
            end = kInfinity;
        }
    }
    if (cancel) return out;

    OutputMedia output(job.output);
    if (!output.create(format, out.reason)) return out;
    int mapped[2] = {-1, -1}; // output stream of the video, the audio
    const int sources[2] = {source.video, source.audio};
    BitstreamFilter startCodes;
    if (source.video >= 0)
        startCodes = startCodeFilter(*source.format->streams[source.video], *output.context());
    for (int i = 0; i < 2; ++i) {
        if (sources[i] < 0) continue;
        AVStream* in = source.format->streams[sources[i]];
        AVStream* s = output.addStream(out.reason);
        const AVCodecParameters* params = i == 0 && startCodes ? startCodes->par_out : in->codecpar;
        if (!s || avcodec_parameters_copy(s->codecpar, params) < 0) return out;
        s->codecpar->codec_tag = 0; // the container's own tag for the codec
        s->time_base = in->time_base;
        s->sample_aspect_ratio = in->sample_aspect_ratio;
        s->avg_frame_rate = in->avg_frame_rate;
        s->r_frame_rate = in->r_frame_rate;
        // AVI counts frames, not time: at a time base finer than the frame rate it writes
        // empty frames between the real ones.
        AVRational rate = av_guess_frame_rate(source.format, in, nullptr);
        if (i == 0 && std::string_view(format.muxer) == "avi" && rate.num > 0 && rate.den > 0)
            s->time_base = av_inv_q(rate);
        mapped[i] = s->index;
    }
    if (!output.writeHeader(out.reason)) return out;

    seekTo(source, start, source.video >= 0 ? source.video : source.audio);
    ProgressMeter meter(Cut{start, std::isfinite(end) ? end : cut.end}, progress);
    bool videoStarted = source.video < 0, videoDone = source.video < 0,
         audioDone = source.audio < 0;
    Packet p(av_packet_alloc());
    while (!cancel && !(videoDone && audioDone)) {
        int e = av_read_frame(source.format, p.get());
        if (e == AVERROR_EOF) break;
        if (e < 0) {
            out.reason = "cannot read the source (" + errorText(e) + ")";
            return out;
        }
        const int index = p->stream_index;
        const bool isVideo = index == source.video, isAudio = index == source.audio;
        const double at = packetSeconds(source, *p);
        bool keep = false;
        if (isVideo && !videoDone) {
            const bool key = p->flags & AV_PKT_FLAG_KEY;
            if (!videoStarted && key && at >= start - kSlack) videoStarted = true;
            if (videoStarted && key && at >= end - kSlack)
                videoDone = true;
            else
                keep = videoStarted;
        } else if (isAudio && !audioDone) {
            if (at >= end - kSlack)
                audioDone = true;
            else
                keep = at >= start - kSlack;
        }
        if (keep) {
            AVStream* in = source.format->streams[index];
            AVStream* o = output.context()->streams[mapped[isVideo ? 0 : 1]];
            const long long shift = source.timestamp(start, index);
            if (p->pts != AV_NOPTS_VALUE) p->pts -= shift;
            if (p->dts != AV_NOPTS_VALUE) p->dts -= shift;
            p->pos = -1;
            const auto write = [&] {
                av_packet_rescale_ts(p.get(), in->time_base, o->time_base);
                p->stream_index = o->index;
                return output.write(p.get(), out.reason);
            };
            if (isVideo && startCodes) {
                if (av_bsf_send_packet(startCodes.get(), p.get()) < 0) {
                    out.reason = "cannot rewrite the video's start codes";
                    return out;
                }
                while (av_bsf_receive_packet(startCodes.get(), p.get()) == 0)
                    if (!write()) return out;
            } else if (!write()) {
                return out;
            }
            meter.at(at - start);
        }
        av_packet_unref(p.get());
    }
    if (cancel) return out;
    if (!output.finish(out.reason)) return out;
    out.ok = true;
    out.writtenFile = output.finalPath();
    return out;
}

} // namespace qinglan::aplayer::processing
