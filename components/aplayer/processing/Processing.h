#pragma once
// The engine's processing modes: instead of playing a media, write it into another container
// (a stream copy, cut at key frames) or transcode it (decoded, filtered and encoded, cut to the
// frame). A job runs on a thread of its own; the caller hears of its progress and its end
// through callbacks on that thread. Cancelling stops the work and removes what was written.
//
// Errors are answered, never thrown: an outcome carries a short English reason.
#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace qinglan::aplayer::processing {

enum class Mode { StreamCopy, Transcode };

struct Job {
    Mode mode = Mode::Transcode;
    std::string input;
    std::string output;         // the wanted file; the next free name is taken when it exists
    std::string format;         // one of the sixteen names
    std::string startMs, endMs; // as the player sent them; empty or non-numeric = start / end
    int width = 0, height = 0;  // 0 = the source's (after the borders are cut off)
    bool keepAspect = true;     // fit inside width x height and pad black, else stretch
    int audioTrack = 0;         // index among the media's audio tracks; a missing one = the first
    int subtitleIndex = -1;     // index among its subtitle tracks, drawn in when present; -1 none
    // Black borders of the source, cut off before scaling: top, bottom, left, right in pixels.
    std::array<int, 4> borders{};
};

struct Progress {
    int percent = 0;
    long long doneMs = 0;
    long long totalMs = 0;
};

struct Outcome {
    bool ok = false;
    bool cancelled = false;
    std::string reason;      // why it failed
    std::string writtenFile; // the file's final name when it succeeded
};

using ProgressCallback = std::function<void(const Progress&)>;
using DoneCallback = std::function<void(const Outcome&)>;

// The time span to write, in seconds of the media (0 = its first frame).
struct Cut {
    double start = 0;
    double end = 0; // the media's end when no end is asked (infinity when unknown)
};
// Empty, non-numeric, zero or negative starts mean the start; empty, non-numeric or zero ends
// the end; a negative end counts back from the end. nullopt with a reason for a span that is
// empty or lies beyond the media.
std::optional<Cut> resolveCut(std::string_view startMs, std::string_view endMs, double duration,
                              std::string& reason);

// The picture after the borders are cut: its size on the output and where it sits in it.
struct Placement {
    int width = 0, height = 0; // the output frame
    int pictureWidth = 0, pictureHeight = 0;
    int x = 0, y = 0; // the picture's offset inside the frame (black around it)
};
// source: the picture after cropping, sar its sample aspect ratio (pixel width / height);
// requested 0 = that source dimension. Sizes are rounded down to `multiple` (at least 2).
Placement placePicture(int sourceWidth, int sourceHeight, double sar, int requestedWidth,
                       int requestedHeight, bool keepAspect, int multiple);

// Runs the job on the calling thread (the worker, tests and the benchmark).
Outcome runJob(const Job& job, const std::atomic<bool>& cancel, const ProgressCallback& progress);

// A job on its own thread. Destroying the processor cancels it and waits for the thread.
class Processor {
public:
    Processor(Job job, ProgressCallback progress, DoneCallback done);
    ~Processor();
    Processor(const Processor&) = delete;
    Processor& operator=(const Processor&) = delete;

private:
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};

} // namespace qinglan::aplayer::processing
