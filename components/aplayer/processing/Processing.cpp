#include "Processing.h"

#include "Media.h"
#include "aplayer/MpvTranslate.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/error.h>
}

#include <algorithm>
#include <cmath>
#include <limits>

namespace qinglan::aplayer::processing {

std::optional<Cut> resolveCut(std::string_view startMs, std::string_view endMs, double duration,
                              std::string& reason) {
    Cut cut;
    // resolveStart forgets a start beyond the end; here that is an error, not the whole media.
    if (auto ms = parseInteger(startMs); ms && *ms > 0) cut.start = *ms / 1000.0;
    cut.end = duration > 0 ? duration : std::numeric_limits<double>::infinity();
    if (auto end = resolveEnd(endMs, duration)) cut.end = std::min(cut.end, *end);
    if (duration > 0 && cut.start >= duration) {
        reason = "the start lies beyond the media's end";
        return std::nullopt;
    }
    if (cut.end <= cut.start) {
        reason = "the end lies before the start";
        return std::nullopt;
    }
    return cut;
}

Placement placePicture(int sourceWidth, int sourceHeight, double sar, int requestedWidth,
                       int requestedHeight, bool keepAspect, int multiple) {
    multiple = std::max(multiple, 2);
    const auto roundDown = [multiple](int v) {
        return std::max(multiple, v / multiple * multiple);
    };
    const auto even = [](double v) {
        return std::max(2, static_cast<int>(std::lround(v / 2)) * 2);
    };
    if (!(sar > 0)) sar = 1;
    Placement p;
    p.width = roundDown(requestedWidth > 0 ? requestedWidth : sourceWidth);
    p.height = roundDown(requestedHeight > 0 ? requestedHeight : sourceHeight);
    p.pictureWidth = p.width;
    p.pictureHeight = p.height;
    if (keepAspect) {
        // The picture as it is seen (its pixels' own shape included), as large as fits.
        const double shown = sourceWidth * sar / sourceHeight;
        if (p.width / static_cast<double>(p.height) > shown)
            p.pictureWidth = std::min(p.width, even(p.height * shown));
        else
            p.pictureHeight = std::min(p.height, even(p.width / shown));
        p.x = (p.width - p.pictureWidth) / 2 / 2 * 2;
        p.y = (p.height - p.pictureHeight) / 2 / 2 * 2;
    }
    return p;
}

void ProgressMeter::at(double secondsWritten) {
    if (!progress_) return;
    const double total = cut_.end - cut_.start;
    if (!std::isfinite(total) || total <= 0) return;
    const int percent = static_cast<int>(std::clamp(secondsWritten / total, 0.0, 1.0) * 100);
    if (percent == last_) return;
    last_ = percent;
    progress_({percent, std::lround(secondsWritten * 1000), std::lround(total * 1000)});
}

Outcome runJob(const Job& job, const std::atomic<bool>& cancel, const ProgressCallback& progress) {
    Outcome out;
    const OutputFormat* format = findOutputFormat(job.format);
    if (!format) {
        out.reason = "unknown output format \"" + job.format + "\"";
        return out;
    }
    if (out.reason = outputFolderProblem(job.output); !out.reason.empty()) return out;
    SourceMedia source;
    if (!source.open(job, cancel, out.reason)) {
        out.cancelled = cancel;
        return out;
    }
    auto cut = resolveCut(job.startMs, job.endMs, source.duration, out.reason);
    if (!cut) return out;
    out = job.mode == Mode::StreamCopy ? streamCopy(job, *format, source, *cut, cancel, progress)
                                       : transcode(job, *format, source, *cut, cancel, progress);
    if (cancel) {
        out.ok = false;
        out.cancelled = true;
    }
    return out;
}

Processor::Processor(Job job, ProgressCallback progress, DoneCallback done)
    : thread_([this, job = std::move(job), progress = std::move(progress), done = std::move(done)] {
          Outcome out = runJob(job, cancel_, progress);
          if (done) done(out);
      }) {}

Processor::~Processor() {
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
}

} // namespace qinglan::aplayer::processing
