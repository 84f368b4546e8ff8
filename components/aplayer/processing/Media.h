#pragma once
// libavformat ends shared by the stream copy and the transcode: the opened source with the
// streams a job uses, and the output being written under its temporary name.
#include "OutputFile.h"
#include "OutputFormats.h"
#include "Processing.h"

#include <atomic>
#include <string>
#include <vector>

struct AVFormatContext;
struct AVPacket;
struct AVStream;

namespace qinglan::aplayer::processing {

std::string errorText(int averror);

struct SourceMedia {
    SourceMedia() = default;
    ~SourceMedia();
    SourceMedia(const SourceMedia&) = delete;
    SourceMedia& operator=(const SourceMedia&) = delete;

    // Opens the media and picks the main video stream (cover pictures are not video) and the
    // audio track of the job (the first when it has no track of that index).
    bool open(const Job& job, const std::atomic<bool>& cancel, std::string& reason);
    // Seconds of the media's own timeline at a stream timestamp, and back.
    double seconds(long long timestamp, int stream) const;
    long long timestamp(double seconds, int stream) const;

    AVFormatContext* format = nullptr;
    int video = -1;
    int audio = -1;
    std::vector<int> subtitles; // stream numbers, in order
    double startTime = 0;       // the timeline's first moment, seconds
    double duration = 0;        // 0 when unknown
};

// The output container under its temporary name; finish() gives it the final name, anything
// else leaves no file behind.
class OutputMedia {
public:
    explicit OutputMedia(const std::string& wantedPath) : file_(wantedPath) {}
    ~OutputMedia();
    OutputMedia(const OutputMedia&) = delete;
    OutputMedia& operator=(const OutputMedia&) = delete;

    bool create(const OutputFormat& format, std::string& reason);
    AVFormatContext* context() const { return context_; }
    AVStream* addStream(std::string& reason);
    bool writeHeader(std::string& reason);
    bool write(AVPacket* packet, std::string& reason);
    bool finish(std::string& reason);
    const std::string& finalPath() const { return file_.finalPath(); }

private:
    void close();

    OutputFile file_;
    const OutputFormat* format_ = nullptr;
    AVFormatContext* context_ = nullptr;
    bool headerWritten_ = false;
};

Outcome streamCopy(const Job& job, const OutputFormat& format, SourceMedia& source, const Cut& cut,
                   const std::atomic<bool>& cancel, const ProgressCallback& progress);
Outcome transcode(const Job& job, const OutputFormat& format, SourceMedia& source, const Cut& cut,
                  const std::atomic<bool>& cancel, const ProgressCallback& progress);

// Reports whole percents of the span written, each once.
class ProgressMeter {
public:
    ProgressMeter(const Cut& cut, const ProgressCallback& progress)
        : cut_(cut), progress_(progress) {}
    void at(double secondsWritten);

private:
    Cut cut_;
    const ProgressCallback& progress_;
    int last_ = -1;
};

} // namespace qinglan::aplayer::processing
