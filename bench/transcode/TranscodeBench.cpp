// Processing-mode benchmark: how close the cuts come to the request, and how fast a transcode
// runs next to the ffmpeg command line doing the same work in the same run.
//
//   bench_transcode [rounds=3]
//
// Sources are made with ffmpeg in a temporary folder: 1280x720 at 25 fps, H.264 with a fixed
// key-frame interval, AAC stereo.
#include "processing/Processing.h"
#include "support/Shell.h"

extern "C" {
#include <libavutil/log.h>
}

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

using namespace qinglan::aplayer::processing;
namespace fs = std::filesystem;
using qinglan::test::commandOutput;
using qinglan::test::shellQuoted;

namespace {

double seconds(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double probeDuration(const std::string& path) {
    return std::atof(commandOutput("ffprobe -v error -show_entries format=duration -of csv=p=0 " +
                                   shellQuoted(path))
                         .c_str());
}

long videoFrames(const std::string& path) {
    return std::atol(
        commandOutput("ffprobe -v error -select_streams v -count_packets -show_entries "
                      "stream=nb_read_packets -of csv=p=0 " +
                      shellQuoted(path))
            .c_str());
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::string makeSource(const fs::path& dir, int gop, int secondsLong) {
    const std::string path = (dir / ("gop" + std::to_string(gop) + ".mp4")).string();
    std::system(
        ("ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=1280x720:rate=25 "
         "-f lavfi -i sine=frequency=440:sample_rate=48000 -t " +
         std::to_string(secondsLong) + " -c:v libx264 -preset veryfast -g " + std::to_string(gop) +
         " -keyint_min " + std::to_string(gop) +
         " -sc_threshold 0 -pix_fmt yuv420p -c:a aac -ac 2 " + shellQuoted(path))
            .c_str());
    return path;
}

Job jobOver(const std::string& input, Mode mode, const std::string& format, const fs::path& output,
            int width = 0, int height = 0) {
    Job job;
    job.mode = mode;
    job.input = input;
    job.format = format;
    job.output = output.string();
    job.width = width;
    job.height = height;
    return job;
}

// The span in whole milliseconds, as the player sends it.
void cutTo(Job& job, double start, double end) {
    job.startMs = std::to_string(std::lround(start * 1000));
    job.endMs = std::to_string(std::lround(end * 1000));
}

Outcome runTimed(const Job& job, double& elapsed) {
    std::atomic<bool> cancel{false};
    const auto start = std::chrono::steady_clock::now();
    Outcome o = runJob(job, cancel, {});
    elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!o.ok) std::fprintf(stderr, "job failed: %s\n", o.reason.c_str());
    return o;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    av_log_set_level(AV_LOG_ERROR);
    char pattern[] = "/tmp/qinglan-bench-transcode-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const fs::path dir = pattern;
    std::mt19937 random(13);
    std::uniform_real_distribution<double> startAt(0.5, 12.0), length(1.0, 14.0);

    // Stream copy: the written span against the request, per key-frame interval.
    std::printf("stream copy cut (mkv), 20 random spans per source\n");
    std::printf("%-14s %12s %14s %14s %8s\n", "key interval", "", "mean |err|", "max |err|",
                "within");
    for (int gop : {12, 25, 50, 100, 250}) {
        const std::string source = makeSource(dir, gop, 30);
        const double interval = gop / 25.0;
        double sum = 0, worst = 0;
        int within = 0;
        const int spans = 20;
        for (int i = 0; i < spans; ++i) {
            const double s = startAt(random), e = s + length(random);
            Job job = jobOver(source, Mode::StreamCopy, "mkv", dir / "copy.mkv");
            cutTo(job, s, e);
            double t = 0;
            Outcome o = runTimed(job, t);
            if (!o.ok) continue;
            const double err = std::abs(probeDuration(o.writtenFile) - (e - s));
            sum += err;
            worst = std::max(worst, err);
            within += err <= interval + 0.001;
            fs::remove(o.writtenFile);
        }
        std::printf("%5d (%5.2f s) %12s %11.0f ms %11.0f ms %5d/%d\n", gop, interval, "",
                    sum / spans * 1000, worst * 1000, within, spans);
    }

    // Transcode: frames written against the frames whose times lie inside the span.
    const std::string source = makeSource(dir, 250, 30);
    {
        long worst = 0;
        int exact = 0;
        const int spans = 12;
        for (int i = 0; i < spans; ++i) {
            const double s = startAt(random), e = s + length(random);
            Job job = jobOver(source, Mode::Transcode, "mp4", dir / "cut.mp4", 320, 180);
            cutTo(job, s, e);
            double t = 0;
            Outcome o = runTimed(job, t);
            if (!o.ok) continue;
            const long expected = static_cast<long>(std::ceil(std::lround(e * 1000) / 40.0) -
                                                    std::ceil(std::lround(s * 1000) / 40.0));
            const long got = videoFrames(o.writtenFile);
            worst = std::max(worst, std::abs(got - expected));
            exact += got == expected;
            fs::remove(o.writtenFile);
        }
        std::printf("\ntranscode cut (mp4): %d/%d spans exact to the frame, worst %ld frame(s)\n",
                    exact, spans, worst);
    }

    // Speed: the same codecs, settings and size as the ffmpeg command line.
    struct Case {
        const char* format;
        int width, height;
        const char* ffmpegArgs;
    };
    const Case cases[] = {
        {"mp4", 0, 0, "-c:v libx264 -preset veryfast -crf 23 -c:a aac -b:a 128k"},
        {"mp4", 640, 360,
         "-vf scale=640:360 -c:v libx264 -preset veryfast -crf 23 -c:a aac -b:a 128k"},
        {"avi", 0, 0, "-c:v mpeg4 -q:v 3 -c:a libmp3lame -b:a 128k"},
        {"vob", 0, 0,
         "-c:v mpeg2video -b:v 6000k -maxrate 9000k -bufsize 1835k -c:a ac3 -b:a 192k -ar 48000 "
         "-f dvd"},
    };
    std::printf("\ntranscode speed, 30 s of 1280x720, %d rounds, medians\n", rounds);
    std::printf("%-6s %-10s %10s %10s %14s\n", "format", "size", "ours", "ffmpeg",
                "ffmpeg/ours (median of rounds)");
    for (const Case& c : cases) {
        std::vector<double> ours, theirs, ratios;
        for (int r = 0; r < rounds; ++r) {
            const Job job = jobOver(source, Mode::Transcode, c.format,
                                    dir / (std::string("ours.") + c.format), c.width, c.height);
            const std::string out = (dir / (std::string("theirs.") + c.format)).string();
            const std::string command = "ffmpeg -hide_banner -loglevel error -y -i " +
                                        shellQuoted(source) + " " + c.ffmpegArgs + " " +
                                        shellQuoted(out);
            // Alternating who goes first, so a busy moment of the machine falls on both.
            double mine = 0, reference = 0;
            if (r % 2) reference = seconds(command);
            Outcome o = runTimed(job, mine);
            if (r % 2 == 0) reference = seconds(command);
            if (o.ok) fs::remove(o.writtenFile);
            fs::remove(out);
            ours.push_back(mine);
            theirs.push_back(reference);
            ratios.push_back(reference / mine);
        }
        const std::string size =
            c.width ? std::to_string(c.width) + "x" + std::to_string(c.height) : "source";
        std::printf("%-6s %-10s %8.2f s %8.2f s %14.2f\n", c.format, size.c_str(), median(ours),
                    median(theirs), median(ratios));
    }
    fs::remove_all(dir);
    return 0;
}
