#include "Media.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/error.h>
}

#include <cmath>

namespace qinglan::aplayer::processing {
namespace {

int interrupted(void* cancel) {
    return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}

} // namespace

std::string errorText(int averror) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(averror, text, sizeof text);
    return text;
}

SourceMedia::~SourceMedia() {
    avformat_close_input(&format);
}

bool SourceMedia::open(const Job& job, const std::atomic<bool>& cancel, std::string& reason) {
    format = avformat_alloc_context();
    if (!format) {
        reason = "out of memory";
        return false;
    }
    format->interrupt_callback.callback = &interrupted;
    format->interrupt_callback.opaque = const_cast<std::atomic<bool>*>(&cancel);
    if (int e = avformat_open_input(&format, job.input.c_str(), nullptr, nullptr); e < 0) {
        reason = "cannot open " + job.input + " (" + errorText(e) + ")";
        return false; // avformat_open_input has freed the context
    }
    if (int e = avformat_find_stream_info(format, nullptr); e < 0) {
        reason = "cannot read " + job.input + " (" + errorText(e) + ")";
        return false;
    }
    int audioSeen = 0, firstAudio = -1;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* s = format->streams[i];
        const int n = static_cast<int>(i);
        switch (s->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
            if (video < 0 && !(s->disposition & AV_DISPOSITION_ATTACHED_PIC)) video = n;
            break;
        case AVMEDIA_TYPE_AUDIO:
            if (firstAudio < 0) firstAudio = n;
            if (audioSeen++ == job.audioTrack) audio = n;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            subtitles.push_back(n);
            break;
        default:
            break;
        }
    }
    if (audio < 0) audio = firstAudio;
    if (video < 0 && audio < 0) {
        reason = "no picture and no sound in " + job.input;
        return false;
    }
    if (format->start_time != AV_NOPTS_VALUE)
        startTime = format->start_time / static_cast<double>(AV_TIME_BASE);
    if (format->duration > 0) duration = format->duration / static_cast<double>(AV_TIME_BASE);
    return true;
}

double SourceMedia::seconds(long long ts, int stream) const {
    return ts * av_q2d(format->streams[stream]->time_base) - startTime;
}

long long SourceMedia::timestamp(double s, int stream) const {
    return std::llround((s + startTime) / av_q2d(format->streams[stream]->time_base));
}

OutputMedia::~OutputMedia() {
    close(); // the temporary file goes with file_
}

void OutputMedia::close() {
    if (!context_) return;
    if (context_->pb) avio_closep(&context_->pb);
    avformat_free_context(context_);
    context_ = nullptr;
}

bool OutputMedia::create(const OutputFormat& format, std::string& reason) {
    format_ = &format;
    if (!file_.create(reason)) return false;
    int e = avformat_alloc_output_context2(&context_, nullptr, format.muxer,
                                           file_.temporaryPath().c_str());
    if (e < 0 || !context_) {
        reason = std::string("no ") + format.description + " writer (" + errorText(e) + ")";
        return false;
    }
    if (e = avio_open(&context_->pb, file_.temporaryPath().c_str(), AVIO_FLAG_WRITE); e < 0) {
        reason = "cannot write " + file_.temporaryPath() + " (" + errorText(e) + ")";
        return false;
    }
    return true;
}

AVStream* OutputMedia::addStream(std::string& reason) {
    AVStream* s = avformat_new_stream(context_, nullptr);
    if (!s) reason = "out of memory";
    return s;
}

bool OutputMedia::writeHeader(std::string& reason) {
    AVDictionary* options = nullptr;
    if (format_->m2ts) av_dict_set(&options, "mpegts_m2ts_mode", "1", 0);
    int e = avformat_write_header(context_, &options);
    av_dict_free(&options);
    if (e < 0) {
        reason = std::string("cannot start the ") + format_->description + " file (" +
                 errorText(e) + ")";
        return false;
    }
    headerWritten_ = true;
    return true;
}

bool OutputMedia::write(AVPacket* packet, std::string& reason) {
    if (int e = av_interleaved_write_frame(context_, packet); e < 0) {
        reason = "cannot write the output (" + errorText(e) + ")";
        return false;
    }
    return true;
}

bool OutputMedia::finish(std::string& reason) {
    if (!headerWritten_) {
        reason = "nothing was written";
        return false;
    }
    if (int e = av_write_trailer(context_); e < 0) {
        reason = "cannot finish the output (" + errorText(e) + ")";
        return false;
    }
    if (int e = avio_closep(&context_->pb); e < 0) {
        reason = "cannot finish the output (" + errorText(e) + ")";
        return false;
    }
    close();
    return file_.commit(reason);
}

} // namespace qinglan::aplayer::processing
