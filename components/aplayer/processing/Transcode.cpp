// Mode "3": decoded, filtered and encoded with codecs the output container takes. The cut is
// made on decoded frames (the trim filters), so it falls on the frame at the requested times.
#include "Media.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qinglan::aplayer::processing {
namespace {

// Quality of the encoders that take a fixed quantiser (the MPEG family, WMV, RealVideo).
constexpr int kQuantiser = 3;
// A stream whose frames run this far past the end has nothing more for the output.
constexpr double kPastEndSeconds = 2.0;

std::string number(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", v);
    return text;
}

// One stream on its way from the source to the output.
struct Lane {
    ~Lane() {
        avcodec_free_context(&decoder);
        avcodec_free_context(&encoder);
        avfilter_graph_free(&graph);
    }
    bool video = false;
    int source = -1;
    AVCodecContext* decoder = nullptr;
    AVFilterGraph* graph = nullptr;
    AVFilterContext* head = nullptr; // the graph's source
    AVFilterContext* tail = nullptr; // the graph's sink
    AVCodecContext* encoder = nullptr;
    AVStream* output = nullptr;
    bool inputClosed = false; // the graph has had its end
    bool finished = false;    // the encoder is drained
};

class Transcoder {
public:
    Transcoder(const Job& job, const OutputFormat& format, SourceMedia& source, const Cut& cut,
               const std::atomic<bool>& cancel, const ProgressCallback& progress)
        : job_(job), format_(format), source_(source), cut_(cut), cancel_(cancel),
          meter_(cut, progress), output_(job.output) {}
    ~Transcoder() {
        av_frame_free(&frame_);
        av_packet_free(&packet_);
        av_packet_free(&input_);
    }

    Outcome run();

private:
    bool openDecoder(Lane& lane);
    bool setUpVideo(Lane& lane);
    bool setUpAudio(Lane& lane);
    AVFilterContext* addFilter(Lane& lane, AVFilterContext* after, const char* name,
                               const std::string& args);
    bool openEncoder(Lane& lane, const AVCodec* codec, AVDictionary** options);
    // The span for the trim and atrim filters, on the source's own timeline.
    std::string trimArgs() const;
    bool decode(Lane& lane, const AVPacket* packet);
    bool closeInput(Lane& lane);
    bool drainGraph(Lane& lane);
    bool encode(Lane& lane, AVFrame* frame);
    bool fail(std::string reason) {
        if (reason_.empty()) reason_ = std::move(reason);
        return false;
    }

    const Job& job_;
    const OutputFormat& format_;
    SourceMedia& source_;
    Cut cut_;
    const std::atomic<bool>& cancel_;
    ProgressMeter meter_;
    OutputMedia output_;
    Lane lanes_[2];
    AVFrame* frame_ = av_frame_alloc();
    AVPacket* packet_ = av_packet_alloc(); // encoded
    AVPacket* input_ = av_packet_alloc();  // read from the source
    std::string reason_;
};

bool Transcoder::openDecoder(Lane& lane) {
    const AVStream* s = source_.format->streams[lane.source];
    const AVCodec* codec = avcodec_find_decoder(s->codecpar->codec_id);
    if (!codec)
        return fail(std::string("no decoder for ") + avcodec_get_name(s->codecpar->codec_id));
    lane.decoder = avcodec_alloc_context3(codec);
    if (!lane.decoder || avcodec_parameters_to_context(lane.decoder, s->codecpar) < 0)
        return fail("out of memory");
    lane.decoder->pkt_timebase = s->time_base;
    lane.decoder->thread_count = 0;
    if (int e = avcodec_open2(lane.decoder, codec, nullptr); e < 0)
        return fail(std::string("cannot decode ") + codec->name + " (" + errorText(e) + ")");
    return true;
}

AVFilterContext* Transcoder::addFilter(Lane& lane, AVFilterContext* after, const char* name,
                                       const std::string& args) {
    const AVFilter* filter = avfilter_get_by_name(name);
    AVFilterContext* ctx = nullptr;
    if (!filter || avfilter_graph_create_filter(&ctx, filter, nullptr, args.c_str(), nullptr,
                                                lane.graph) < 0) {
        fail(std::string("cannot set up the ") + name + " filter");
        return nullptr;
    }
    if (after && avfilter_link(after, 0, ctx, 0) < 0) {
        fail("cannot link the filters");
        return nullptr;
    }
    return ctx;
}

bool Transcoder::openEncoder(Lane& lane, const AVCodec* codec, AVDictionary** options) {
    if (output_.context()->oformat->flags & AVFMT_GLOBALHEADER)
        lane.encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int e = avcodec_open2(lane.encoder, codec, options);
    av_dict_free(options);
    if (e < 0) return fail(std::string("cannot encode ") + codec->name + " (" + errorText(e) + ")");
    lane.output = output_.addStream(reason_);
    if (!lane.output) return false;
    if (avcodec_parameters_from_context(lane.output->codecpar, lane.encoder) < 0)
        return fail("out of memory");
    lane.output->time_base = lane.encoder->time_base;
    if (lane.video) {
        lane.output->sample_aspect_ratio = lane.encoder->sample_aspect_ratio;
        lane.output->avg_frame_rate = lane.encoder->framerate;
    }
    return true;
}

std::string Transcoder::trimArgs() const {
    std::string args = "start=" + number(cut_.start + source_.startTime);
    if (std::isfinite(cut_.end)) args += ":end=" + number(cut_.end + source_.startTime);
    return args;
}

bool Transcoder::setUpVideo(Lane& lane) {
    if (!openDecoder(lane)) return false;
    const AVCodec* codec = avcodec_find_encoder_by_name(format_.videoEncoder);
    if (!codec) return fail(std::string("no ") + format_.videoEncoder + " encoder");
    AVStream* in = source_.format->streams[lane.source];
    const AVCodecContext* d = lane.decoder;
    if (d->width <= 0 || d->height <= 0 || d->pix_fmt == AV_PIX_FMT_NONE)
        return fail("the picture's size is unknown");

    // The four values of id 907 are ours to define: the sizes of black borders in the source,
    // in source pixels from the top, bottom, left and right edges, cut off before scaling.
    auto border = [&](int i) { return std::max(0, job_.borders[i]); };
    const int top = border(0), bottom = border(1), left = border(2), right = border(3);
    const int croppedWidth = d->width - left - right, croppedHeight = d->height - top - bottom;
    if (croppedWidth < 16 || croppedHeight < 16) return fail("the black borders leave no picture");
    AVRational sar = av_guess_sample_aspect_ratio(source_.format, in, nullptr);
    const double sarValue = sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0;
    const Placement place = placePicture(croppedWidth, croppedHeight, sarValue, job_.width,
                                         job_.height, job_.keepAspect, format_.sizeMultiple);

    AVRational rate = av_guess_frame_rate(source_.format, in, nullptr);
    if (rate.num <= 0 || rate.den <= 0 || av_q2d(rate) > 120) rate = {25, 1};
    if (codec->supported_framerates)
        rate =
            codec->supported_framerates[av_find_nearest_q_idx(rate, codec->supported_framerates)];
    rate = av_d2q(av_q2d(rate), 65535); // the MPEG-4 family's time base limit
    AVPixelFormat pixels = codec->pix_fmts ? codec->pix_fmts[0] : AV_PIX_FMT_YUV420P;
    for (const AVPixelFormat* p = codec->pix_fmts; p && *p != AV_PIX_FMT_NONE; ++p)
        if (*p == AV_PIX_FMT_YUV420P) pixels = *p;

    lane.graph = avfilter_graph_alloc();
    if (!lane.graph) return fail("out of memory");
    const std::string sourceArgs = "video_size=" + std::to_string(d->width) + "x" +
                                   std::to_string(d->height) +
                                   ":pix_fmt=" + std::to_string(d->pix_fmt) +
                                   ":time_base=" + std::to_string(in->time_base.num) + "/" +
                                   std::to_string(in->time_base.den) +
                                   ":pixel_aspect=" + std::to_string(sar.num > 0 ? sar.num : 1) +
                                   "/" + std::to_string(sar.den > 0 ? sar.den : 1);
    AVFilterContext* at = lane.head = addFilter(lane, nullptr, "buffer", sourceArgs);
    if (!at) return false;
    if (top || bottom || left || right) {
        at = addFilter(lane, at, "crop",
                       "w=" + std::to_string(croppedWidth) + ":h=" + std::to_string(croppedHeight) +
                           ":x=" + std::to_string(left) + ":y=" + std::to_string(top));
        if (!at) return false;
    }
    // A text subtitle of the chosen index is drawn in; the subtitle filter reads it from the
    // source itself and times it by the source's own timestamps, so it comes before the cut.
    const int index = job_.subtitleIndex;
    if (index >= 0 && index < static_cast<int>(source_.subtitles.size())) {
        const AVCodecDescriptor* desc = avcodec_descriptor_get(
            source_.format->streams[source_.subtitles[index]]->codecpar->codec_id);
        const AVFilter* subtitles = avfilter_get_by_name("subtitles");
        if (desc && (desc->props & AV_CODEC_PROP_TEXT_SUB) && subtitles) {
            AVFilterContext* s = avfilter_graph_alloc_filter(lane.graph, subtitles, "subtitles");
            if (!s || av_opt_set(s, "filename", job_.input.c_str(), AV_OPT_SEARCH_CHILDREN) < 0 ||
                av_opt_set_int(s, "si", index, AV_OPT_SEARCH_CHILDREN) < 0 ||
                avfilter_init_str(s, nullptr) < 0 || avfilter_link(at, 0, s, 0) < 0)
                return fail("cannot draw the subtitle");
            at = s;
        }
    }
    if (!(at = addFilter(lane, at, "trim", trimArgs()))) return false;
    if (!(at = addFilter(lane, at, "setpts", "PTS-STARTPTS"))) return false;
    if (!(at = addFilter(lane, at, "scale",
                         "w=" + std::to_string(place.pictureWidth) +
                             ":h=" + std::to_string(place.pictureHeight))))
        return false;
    if (place.pictureWidth != place.width || place.pictureHeight != place.height) {
        at = addFilter(lane, at, "pad",
                       "w=" + std::to_string(place.width) + ":h=" + std::to_string(place.height) +
                           ":x=" + std::to_string(place.x) + ":y=" + std::to_string(place.y) +
                           ":color=black");
        if (!at) return false;
    }
    if (!(at = addFilter(lane, at, "setsar", "1"))) return false;
    if (!(at = addFilter(lane, at, "fps",
                         "fps=" + std::to_string(rate.num) + "/" + std::to_string(rate.den))))
        return false;
    if (!(at = addFilter(lane, at, "format",
                         std::string("pix_fmts=") + av_get_pix_fmt_name(pixels))))
        return false;
    if (!(lane.tail = addFilter(lane, at, "buffersink", ""))) return false;
    if (int e = avfilter_graph_config(lane.graph, nullptr); e < 0)
        return fail("cannot set up the picture filters (" + errorText(e) + ")");

    lane.encoder = avcodec_alloc_context3(codec);
    if (!lane.encoder) return fail("out of memory");
    AVCodecContext* enc = lane.encoder;
    enc->width = place.width;
    enc->height = place.height;
    enc->pix_fmt = pixels;
    enc->sample_aspect_ratio = {1, 1};
    enc->framerate = rate;
    enc->time_base = av_buffersink_get_time_base(lane.tail);
    enc->thread_count = 0;
    AVDictionary* options = nullptr;
    if (std::string_view(codec->name) == "libx264") {
        av_dict_set(&options, "preset", "veryfast", 0);
        av_dict_set(&options, "crf", "23", 0);
    } else if (const VideoRate& r = format_.videoRate; r.bitRate > 0) {
        // The disc formats' players expect their stream rates.
        enc->bit_rate = r.bitRate;
        enc->rc_max_rate = r.maxRate;
        enc->rc_min_rate = r.minRate;
        enc->rc_buffer_size = r.bufferBits;
    } else {
        enc->flags |= AV_CODEC_FLAG_QSCALE;
        enc->global_quality = FF_QP2LAMBDA * kQuantiser;
    }
    return openEncoder(lane, codec, &options);
}

bool Transcoder::setUpAudio(Lane& lane) {
    if (!openDecoder(lane)) return false;
    const AVCodec* codec = avcodec_find_encoder_by_name(format_.audioEncoder);
    if (!codec) return fail(std::string("no ") + format_.audioEncoder + " encoder");
    AVCodecContext* d = lane.decoder;
    if (d->sample_rate <= 0 || d->ch_layout.nb_channels <= 0)
        return fail("the sound's format is unknown");
    if (d->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&d->ch_layout, d->ch_layout.nb_channels);

    int rate = format_.audioRate ? format_.audioRate : d->sample_rate;
    if (codec->supported_samplerates) {
        int best = codec->supported_samplerates[0];
        bool found = false;
        for (const int* r = codec->supported_samplerates; *r; ++r) {
            found = found || *r == rate;
            if (std::abs(*r - rate) < std::abs(best - rate)) best = *r;
        }
        if (!found) rate = best;
    }
    AVChannelLayout layout{};
    av_channel_layout_default(&layout, std::min(2, d->ch_layout.nb_channels));
    const AVSampleFormat samples = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;

    lane.graph = avfilter_graph_alloc();
    if (!lane.graph) return fail("out of memory");
    char sourceLayout[128] = {}, outputLayout[128] = {};
    av_channel_layout_describe(&d->ch_layout, sourceLayout, sizeof sourceLayout);
    av_channel_layout_describe(&layout, outputLayout, sizeof outputLayout);
    AVFilterContext* at = lane.head =
        addFilter(lane, nullptr, "abuffer",
                  "time_base=1/" + std::to_string(d->sample_rate) +
                      ":sample_rate=" + std::to_string(d->sample_rate) + ":sample_fmt=" +
                      av_get_sample_fmt_name(d->sample_fmt) + ":channel_layout=" + sourceLayout);
    if (!at) return false;
    if (!(at = addFilter(lane, at, "atrim", trimArgs()))) return false;
    if (!(at = addFilter(lane, at, "asetpts", "PTS-STARTPTS"))) return false;
    if (!(at = addFilter(lane, at, "aformat",
                         std::string("sample_fmts=") + av_get_sample_fmt_name(samples) +
                             ":sample_rates=" + std::to_string(rate) +
                             ":channel_layouts=" + outputLayout)))
        return false;
    if (!(lane.tail = addFilter(lane, at, "abuffersink", ""))) return false;
    if (int e = avfilter_graph_config(lane.graph, nullptr); e < 0)
        return fail("cannot set up the sound filters (" + errorText(e) + ")");

    lane.encoder = avcodec_alloc_context3(codec);
    if (!lane.encoder) return fail("out of memory");
    AVCodecContext* enc = lane.encoder;
    enc->sample_rate = rate;
    enc->sample_fmt = samples;
    av_channel_layout_copy(&enc->ch_layout, &layout);
    enc->bit_rate = format_.audioBitRate;
    enc->time_base = {1, rate};
    AVDictionary* options = nullptr;
    if (!openEncoder(lane, codec, &options)) return false;
    if (!(codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) && enc->frame_size > 0)
        av_buffersink_set_frame_size(lane.tail, static_cast<unsigned>(enc->frame_size));
    return true;
}

bool Transcoder::encode(Lane& lane, AVFrame* frame) {
    if (frame) {
        frame->pict_type = AV_PICTURE_TYPE_NONE;
        if (lane.video && (lane.encoder->flags & AV_CODEC_FLAG_QSCALE))
            frame->quality = lane.encoder->global_quality;
    }
    if (int e = avcodec_send_frame(lane.encoder, frame); e < 0 && e != AVERROR_EOF)
        return fail("cannot encode (" + errorText(e) + ")");
    while (true) {
        int e = avcodec_receive_packet(lane.encoder, packet_);
        if (e == AVERROR(EAGAIN)) return true;
        if (e == AVERROR_EOF) {
            lane.finished = true;
            return true;
        }
        if (e < 0) return fail("cannot encode (" + errorText(e) + ")");
        av_packet_rescale_ts(packet_, lane.encoder->time_base, lane.output->time_base);
        packet_->stream_index = lane.output->index;
        if (!output_.write(packet_, reason_)) return false;
    }
}

// Everything the graph has ready goes to the encoder; its end drains the encoder.
bool Transcoder::drainGraph(Lane& lane) {
    while (!lane.finished) {
        int e = av_buffersink_get_frame(lane.tail, frame_);
        if (e == AVERROR(EAGAIN)) return true;
        if (e == AVERROR_EOF) return encode(lane, nullptr);
        if (e < 0) return fail("cannot filter (" + errorText(e) + ")");
        const bool leads = lane.video || lanes_[0].source < 0;
        if (leads && frame_->pts != AV_NOPTS_VALUE)
            meter_.at(frame_->pts * av_q2d(av_buffersink_get_time_base(lane.tail)));
        const bool ok = encode(lane, frame_);
        av_frame_unref(frame_);
        if (!ok) return false;
    }
    return true;
}

bool Transcoder::closeInput(Lane& lane) {
    if (lane.inputClosed) return true;
    lane.inputClosed = true;
    if (av_buffersrc_add_frame(lane.head, nullptr) < 0) return fail("cannot filter");
    return drainGraph(lane);
}

bool Transcoder::decode(Lane& lane, const AVPacket* packet) {
    if (int e = avcodec_send_packet(lane.decoder, packet); e < 0 && e != AVERROR_EOF) {
        if (e == AVERROR_INVALIDDATA) return true; // one damaged packet is skipped
        return fail("cannot decode (" + errorText(e) + ")");
    }
    const AVRational streamBase = source_.format->streams[lane.source]->time_base;
    while (!lane.inputClosed && !lane.finished) {
        int e = avcodec_receive_frame(lane.decoder, frame_);
        if (e == AVERROR(EAGAIN) || e == AVERROR_EOF) return true;
        if (e == AVERROR_INVALIDDATA) continue;
        if (e < 0) return fail("cannot decode (" + errorText(e) + ")");
        frame_->pts = frame_->best_effort_timestamp;
        if (frame_->pts == AV_NOPTS_VALUE) {
            av_frame_unref(frame_);
            continue;
        }
        const double at = frame_->pts * av_q2d(streamBase) - source_.startTime;
        if (!lane.video)
            frame_->pts = av_rescale_q(frame_->pts, streamBase, {1, frame_->sample_rate});
        if (av_buffersrc_add_frame(lane.head, frame_) < 0) {
            av_frame_unref(frame_);
            return fail("cannot filter");
        }
        if (!drainGraph(lane)) return false;
        // Nothing after the end is needed: the graph is told its input is over.
        if (at > cut_.end + kPastEndSeconds && !closeInput(lane)) return false;
    }
    return true;
}

Outcome Transcoder::run() {
    Outcome out;
    lanes_[0].video = true;
    lanes_[0].source = source_.video;
    lanes_[1].source = source_.audio;
    if (!output_.create(format_, reason_)) {
        out.reason = reason_;
        return out;
    }
    const auto failed = [&] {
        out.reason = reason_;
        return out;
    };
    if (lanes_[0].source >= 0 && !setUpVideo(lanes_[0])) return failed();
    if (lanes_[1].source >= 0 && !setUpAudio(lanes_[1])) return failed();
    if (!output_.writeHeader(reason_)) return failed();

    if (cut_.start > 0)
        av_seek_frame(source_.format, -1,
                      std::llround((cut_.start + source_.startTime) * AV_TIME_BASE),
                      AVSEEK_FLAG_BACKWARD);
    const auto done = [&] {
        return std::all_of(std::begin(lanes_), std::end(lanes_),
                           [](const Lane& l) { return l.source < 0 || l.finished; });
    };
    while (!cancel_ && !done()) {
        int e = av_read_frame(source_.format, input_);
        if (e == AVERROR_EOF) break;
        if (e < 0) {
            reason_ = "cannot read the source (" + errorText(e) + ")";
            return failed();
        }
        for (Lane& lane : lanes_) {
            if (lane.source != input_->stream_index || lane.inputClosed || lane.finished) continue;
            if (!decode(lane, input_)) {
                av_packet_unref(input_);
                return failed();
            }
        }
        av_packet_unref(input_);
    }
    if (cancel_) return out;
    for (Lane& lane : lanes_) {
        if (lane.source < 0 || lane.finished) continue;
        if (!lane.inputClosed && !decode(lane, nullptr)) return failed();
        if (!closeInput(lane)) return failed();
        if (!lane.finished && !encode(lane, nullptr)) return failed();
    }
    if (!output_.finish(reason_)) return failed();
    out.ok = true;
    out.writtenFile = output_.finalPath();
    return out;
}

} // namespace

Outcome transcode(const Job& job, const OutputFormat& format, SourceMedia& source, const Cut& cut,
                  const std::atomic<bool>& cancel, const ProgressCallback& progress) {
    return Transcoder(job, format, source, cut, cancel, progress).run();
}

} // namespace qinglan::aplayer::processing
