// The processing modes on real media: every output format written by a transcode and read back
// by ffprobe, stream-copy cuts and refusals, the free name and cancelling.
#include "processing/Processing.h"
#include "processing/OutputFormats.h"
#include "support/Shell.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

using namespace qinglan::aplayer::processing;
namespace fs = std::filesystem;
using qinglan::test::commandOutput;
using qinglan::test::shellQuoted;

namespace {

// ffprobe's answers about a file: "format_name", "duration", "major_brand", and of its first
// video and audio streams "video_codec", "audio_codec", "width", "height".
std::map<std::string, std::string> probe(const std::string& path) {
    std::map<std::string, std::string> info;
    const std::string text = commandOutput(
        "ffprobe -v error -show_entries format=format_name,duration:format_tags=major_brand"
        ":stream=codec_type,codec_name,width,height -of compact " +
        shellQuoted(path));
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::map<std::string, std::string> fields;
        std::string line = text.substr(at, end - at);
        at = end + 1;
        size_t from = 0;
        while (from <= line.size()) {
            size_t bar = line.find('|', from);
            if (bar == std::string::npos) bar = line.size();
            std::string part = line.substr(from, bar - from);
            from = bar + 1;
            auto eq = part.find('=');
            if (eq != std::string::npos) fields[part.substr(0, eq)] = part.substr(eq + 1);
        }
        if (line.rfind("format|", 0) == 0) {
            info["format_name"] = fields["format_name"];
            info["duration"] = fields["duration"];
            info["major_brand"] = fields["tag:major_brand"];
        } else if (line.rfind("stream|", 0) == 0) {
            const std::string type = fields["codec_type"];
            if (info.count(type + "_codec")) continue;
            info[type + "_codec"] = fields["codec_name"];
            if (type == "video") {
                info["width"] = fields["width"];
                info["height"] = fields["height"];
            }
        }
    }
    return info;
}

double durationOf(const std::string& path) {
    auto info = probe(path);
    return info.count("duration") ? std::atof(info["duration"].c_str()) : -1;
}

// Source clips, each made once per process when first asked for: 4 s of moving picture at 25 fps
// with a key frame each second and a tone, as H.264/AAC in MP4, and 12 s for the cancelling tests.
struct Sources {
    QTemporaryDir dir;
    std::string made(const char* name, const char* size, int seconds, const char* keys) {
        const std::string path = dir.filePath(name).toStdString();
        commandOutput(
            std::string("ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=") +
            size + ":rate=25 -f lavfi -i sine=frequency=440:sample_rate=44100 -t " +
            std::to_string(seconds) + " -c:v libx264 -preset ultrafast " + keys +
            " -pix_fmt yuv420p -c:a aac -ac 2 " + shellQuoted(path));
        return path;
    }
    const std::string& clip() {
        if (clip_.empty())
            clip_ = made("source clip.mp4", "320x240", 4, "-g 25 -keyint_min 25 -sc_threshold 0");
        return clip_;
    }
    const std::string& longClip() {
        if (long_.empty()) long_ = made("long.mp4", "640x480", 12, "");
        return long_;
    }

private:
    std::string clip_, long_;
};

Sources& sources() {
    static Sources s;
    return s;
}

struct ProcessingFixture : ::testing::Test {
    QTemporaryDir out;
    std::atomic<bool> cancel{false};

    std::string path(const std::string& name) const {
        return out.filePath(QString::fromStdString(name)).toStdString();
    }
    Job job(Mode mode, const std::string& format, const std::string& name) const {
        Job j;
        j.mode = mode;
        j.input = sources().clip();
        j.format = format;
        j.output = path(name + "." + format);
        return j;
    }
    int filesInOutput() const {
        int n = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(out.path().toStdString()))
            ++n;
        return n;
    }
};

struct Expected {
    const char* format;
    const char* formatName; // ffprobe's container name
    const char* brand;      // the ISO family's major brand, "" elsewhere
    const char* videoCodec;
    const char* audioCodec;
};

class EngineTranscodeFormat : public ProcessingFixture,
                              public ::testing::WithParamInterface<Expected> {};

} // namespace

TEST_P(EngineTranscodeFormat, WritesTheContainerWithTheCutDuration) {
    const Expected& e = GetParam();
    ASSERT_TRUE(fs::exists(sources().clip()));
    Job j = job(Mode::Transcode, e.format, "clip");
    j.startMs = "500";
    j.endMs = "2500";
    int reports = 0, last = -1;
    Outcome o = runJob(j, cancel, [&](const Progress& p) {
        ++reports;
        EXPECT_GE(p.percent, last);
        last = p.percent;
    });
    ASSERT_TRUE(o.ok) << o.reason;
    EXPECT_EQ(o.writtenFile, j.output);
    EXPECT_GT(reports, 1);
    auto info = probe(o.writtenFile);
    EXPECT_EQ(info["format_name"], e.formatName);
    if (*e.brand) {
        EXPECT_EQ(info["major_brand"], e.brand);
    }
    EXPECT_EQ(info["video_codec"], e.videoCodec);
    EXPECT_EQ(info["audio_codec"], e.audioCodec);
    EXPECT_NEAR(std::atof(info["duration"].c_str()), 2.0, 0.12) << e.format;
    EXPECT_EQ(filesInOutput(), 1); // no temporary file left
}

INSTANTIATE_TEST_SUITE_P(
    AllSixteen, EngineTranscodeFormat,
    ::testing::Values(
        Expected{"avi", "avi", "", "mpeg4", "mp3"}, Expected{"wmv", "asf", "", "wmv2", "wmav2"},
        Expected{"mpeg", "mpeg", "", "mpeg1video", "mp2"},
        Expected{"mp4", "mov,mp4,m4a,3gp,3g2,mj2", "isom", "h264", "aac"},
        Expected{"mov", "mov,mp4,m4a,3gp,3g2,mj2", "qt  ", "h264", "aac"},
        Expected{"mkv", "matroska,webm", "", "h264", "aac"},
        Expected{"flv", "flv", "", "h264", "aac"},
        Expected{"f4v", "mov,mp4,m4a,3gp,3g2,mj2", "f4v ", "h264", "aac"},
        Expected{"m4v", "mov,mp4,m4a,3gp,3g2,mj2", "M4V ", "h264", "aac"},
        Expected{"rmvb", "rm", "", "rv20", "ac3"}, Expected{"rm", "rm", "", "rv10", "ac3"},
        Expected{"3gp", "mov,mp4,m4a,3gp,3g2,mj2", "3gp6", "h264", "aac"},
        Expected{"dat", "mpeg", "", "mpeg1video", "mp2"},
        Expected{"ts", "mpegts", "", "h264", "aac"}, Expected{"mts", "mpegts", "", "h264", "ac3"},
        Expected{"vob", "mpeg", "", "mpeg2video", "ac3"}),
    [](const auto& param) { return std::string(param.param.format); });

TEST_F(ProcessingFixture, EngineTranscodeSizeAspectAndBorders) {
    Job j = job(Mode::Transcode, "mkv", "sized");
    j.width = 400;
    j.height = 400;
    j.keepAspect = true;
    j.borders = {20, 20, 0, 0}; // 320 x 200 left: 400 x 250 inside 400 x 400
    Outcome o = runJob(j, cancel, {});
    ASSERT_TRUE(o.ok) << o.reason;
    auto info = probe(o.writtenFile);
    EXPECT_EQ(info["width"], "400");
    EXPECT_EQ(info["height"], "400");
    // The pad is black: the top row of the first frame.
    const std::string row =
        commandOutput("ffmpeg -v error -i " + shellQuoted(o.writtenFile) +
                      " -frames:v 1 -vf format=gray,crop=400:1:0:0 -f rawvideo -");
    ASSERT_EQ(row.size(), 400u);
    for (unsigned char c : row)
        ASSERT_LT(c, 24);
    EXPECT_NEAR(durationOf(o.writtenFile), 4.0, 0.12);
}

TEST_F(ProcessingFixture, EngineTranscodeRefusesBordersThatLeaveNoPicture) {
    Job j = job(Mode::Transcode, "mp4", "none");
    j.borders = {120, 120, 0, 0};
    Outcome o = runJob(j, cancel, {});
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.reason.find("borders"), std::string::npos);
    EXPECT_EQ(filesInOutput(), 0);
}

TEST_F(ProcessingFixture, EngineStreamCopyCutsAtTheNearestKeyFrames) {
    // Key frames every second: 1.2 s moves to 1 s, 3.4 s to 3 s.
    Job j = job(Mode::StreamCopy, "mkv", "copy");
    j.startMs = "1200";
    j.endMs = "3400";
    Outcome o = runJob(j, cancel, {});
    ASSERT_TRUE(o.ok) << o.reason;
    auto info = probe(o.writtenFile);
    EXPECT_EQ(info["video_codec"], "h264");
    EXPECT_EQ(info["audio_codec"], "aac");
    const double d = std::atof(info["duration"].c_str());
    EXPECT_NEAR(d, 2.0, 0.1);
    EXPECT_LE(std::abs(d - 2.2), 1.0); // within one key-frame interval of the request
    // 1.6 s is nearer to 2 s.
    j.startMs = "1600";
    j.endMs = "";
    j.output = path("copy2.ts");
    j.format = "ts";
    o = runJob(j, cancel, {});
    ASSERT_TRUE(o.ok) << o.reason;
    EXPECT_NEAR(durationOf(o.writtenFile), 2.0, 0.15);
    // AVI keeps no H.264 header: the copy gets start codes and decodes without an error.
    j.output = path("copy3.avi");
    j.format = "avi";
    j.startMs = "";
    o = runJob(j, cancel, {});
    ASSERT_TRUE(o.ok) << o.reason;
    EXPECT_EQ(commandOutput("ffmpeg -v error -i " + shellQuoted(o.writtenFile) + " -f null - 2>&1"),
              "");
}

TEST_F(ProcessingFixture, EngineStreamCopyRefusesCodecsTheContainerCannotHold) {
    for (const char* format : {"dat", "vob", "rm", "rmvb", "mpeg"}) {
        Job j = job(Mode::StreamCopy, format, "refused");
        Outcome o = runJob(j, cancel, {});
        EXPECT_FALSE(o.ok) << format;
        EXPECT_NE(o.reason.find("h264"), std::string::npos) << o.reason;
        EXPECT_NE(o.reason.find(std::string(" ") + format + " "), std::string::npos) << o.reason;
    }
    EXPECT_EQ(filesInOutput(), 0);
}

TEST_F(ProcessingFixture, EngineExistingFileGetsTheNextNumber) {
    const std::string mine = path("clip.mp4");
    std::ofstream(mine) << "the user's own";
    Job j = job(Mode::StreamCopy, "mp4", "clip");
    Outcome o = runJob(j, cancel, {});
    ASSERT_TRUE(o.ok) << o.reason;
    EXPECT_EQ(o.writtenFile, path("clip (2).mp4"));
    std::ifstream in(mine);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "the user's own");
    EXPECT_NEAR(durationOf(o.writtenFile), 4.0, 0.1);
    o = runJob(j, cancel, {});
    EXPECT_EQ(o.writtenFile, path("clip (3).mp4"));
}

TEST_F(ProcessingFixture, EngineCancelRemovesThePartialOutput) {
    for (Mode mode : {Mode::Transcode, Mode::StreamCopy}) {
        Job j = job(mode, "mp4", mode == Mode::Transcode ? "cancelled" : "cancelled copy");
        j.input = sources().longClip();
        std::atomic<bool> stop{false};
        bool sawPartial = false;
        Outcome o = runJob(j, stop, [&](const Progress& p) {
            if (p.percent >= 5 && !stop) {
                sawPartial = filesInOutput() == 1; // the temporary file, hidden
                stop = true;
            }
        });
        EXPECT_TRUE(sawPartial);
        EXPECT_FALSE(o.ok);
        EXPECT_TRUE(o.cancelled);
        EXPECT_EQ(filesInOutput(), 0);
    }
}

TEST_F(ProcessingFixture, EngineProcessorReportsItsEndFromItsThread) {
    std::atomic<bool> done{false};
    Outcome result;
    {
        Processor p(job(Mode::Transcode, "ts", "threaded"), {}, [&](const Outcome& o) {
            result = o;
            done = true;
        });
        for (int i = 0; i < 600 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(done);
    EXPECT_TRUE(result.ok) << result.reason;
    // Destroying a processor mid-way cancels it and leaves nothing.
    {
        Job j = job(Mode::Transcode, "mkv", "dropped");
        j.input = sources().longClip();
        Processor p(j, {}, {});
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    EXPECT_EQ(filesInOutput(), 1);
}

TEST_F(ProcessingFixture, EngineUnreadableSourceFailsWithAReason) {
    Job j = job(Mode::Transcode, "mp4", "x");
    j.input = path("missing.mp4");
    Outcome o = runJob(j, cancel, {});
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.reason.find("cannot open"), std::string::npos);
    j = job(Mode::Transcode, "mp4", "x");
    j.output = path("no such folder/x.mp4");
    o = runJob(j, cancel, {});
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.reason.find("no folder"), std::string::npos);
}

namespace {

// The mean brightness of the bottom quarter of the first frame.
double bottomBrightness(const std::string& path) {
    const std::string pixels =
        commandOutput("ffmpeg -v error -ss 0.5 -i " + shellQuoted(path) +
                      " -frames:v 1 -vf format=gray,crop=iw:ih/4:0:ih*3/4 -f rawvideo -");
    if (pixels.empty()) return -1;
    double sum = 0;
    for (unsigned char c : pixels)
        sum += c;
    return sum / pixels.size();
}

} // namespace

TEST_F(ProcessingFixture, EngineTranscodeDrawsTheChosenSubtitleAndTakesTheChosenTrack) {
    // A black clip with a mono track, a stereo track and a text subtitle over its whole length.
    const std::string srt = path("words.srt"), source = path("source.mkv");
    std::ofstream(srt) << "1\n00:00:00,000 --> 00:00:09,000\nWWWWWWWWWWWWWWWW\n";
    commandOutput(
        "ffmpeg -hide_banner -loglevel error -y -f lavfi -i color=black:size=320x240:rate=25 "
        "-f lavfi -i sine=frequency=440:sample_rate=44100 -f lavfi -i "
        "sine=frequency=880:sample_rate=44100 -i " +
        shellQuoted(srt) +
        " -t 2 -map 0 -map 1 -map 2 -map 3 -c:v libx264 -preset ultrafast -c:a aac "
        "-ac:a:0 1 -ac:a:1 2 -c:s srt " +
        shellQuoted(source));
    ASSERT_TRUE(fs::exists(source));
    Job j = job(Mode::Transcode, "mp4", "with words");
    j.input = source;
    j.subtitleIndex = 0;
    j.audioTrack = 1;
    Outcome withWords = runJob(j, cancel, {});
    ASSERT_TRUE(withWords.ok) << withWords.reason;
    j.output = path("without words.mp4");
    j.subtitleIndex = -1;
    j.audioTrack = 0;
    Outcome without = runJob(j, cancel, {});
    ASSERT_TRUE(without.ok) << without.reason;
    EXPECT_GT(bottomBrightness(withWords.writtenFile), bottomBrightness(without.writtenFile) + 5);
    const auto channels = [&](const std::string& file) {
        return commandOutput(
            "ffprobe -v error -select_streams a -show_entries stream=channels -of csv=p=0 " +
            shellQuoted(file));
    };
    EXPECT_EQ(channels(withWords.writtenFile), "2\n");
    EXPECT_EQ(channels(without.writtenFile), "1\n");
    // An index the media does not have: the first track, and no subtitle.
    j.output = path("beyond.mp4");
    j.subtitleIndex = 3;
    j.audioTrack = 7;
    Outcome beyond = runJob(j, cancel, {});
    ASSERT_TRUE(beyond.ok) << beyond.reason;
    EXPECT_EQ(channels(beyond.writtenFile), "1\n");
}
