// The processing modes' pure rules: the span written, where the picture sits in the output,
// the free output name and which codecs a stream copy may put into each container.
#include "processing/OutputFile.h"
#include "processing/OutputFormats.h"
#include "processing/Processing.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>

using namespace qinglan::aplayer::processing;

TEST(EngineProcessingRules, CutTextsMeanStartAndEndWhenEmptyOrNotNumbers) {
    std::string why;
    auto c = resolveCut("", "", 10, why);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->start, 0);
    EXPECT_EQ(c->end, 10);
    c = resolveCut("abc", "5x", 10, why);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->start, 0);
    EXPECT_EQ(c->end, 10);
    c = resolveCut("1000", "5000", 10, why);
    ASSERT_TRUE(c);
    EXPECT_DOUBLE_EQ(c->start, 1);
    EXPECT_DOUBLE_EQ(c->end, 5);
    // "0" is the player's "no end"; a negative end counts back from the end.
    c = resolveCut("0", "0", 10, why);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->end, 10);
    c = resolveCut("-500", "-2000", 10, why);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->start, 0);
    EXPECT_DOUBLE_EQ(c->end, 8);
    // An end beyond the media is the media's end; an unknown duration leaves the end open.
    c = resolveCut("", "99000", 10, why);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->end, 10);
    c = resolveCut("", "", 0, why);
    ASSERT_TRUE(c);
    EXPECT_TRUE(std::isinf(c->end));
}

TEST(EngineProcessingRules, EmptySpansAreRefusedWithAReason) {
    std::string why;
    EXPECT_FALSE(resolveCut("5000", "1000", 10, why));
    EXPECT_NE(why.find("before"), std::string::npos);
    why.clear();
    EXPECT_FALSE(resolveCut("12000", "", 10, why));
    EXPECT_NE(why.find("beyond"), std::string::npos);
    EXPECT_FALSE(resolveCut("3000", "3000", 10, why));
}

TEST(EngineProcessingRules, KeptAspectFitsInsideAndPadsBlackAroundTheMiddle) {
    // 16:9 into 640 x 480: full width, bars above and below.
    Placement p = placePicture(1280, 720, 1.0, 640, 480, true, 2);
    EXPECT_EQ(p.width, 640);
    EXPECT_EQ(p.height, 480);
    EXPECT_EQ(p.pictureWidth, 640);
    EXPECT_EQ(p.pictureHeight, 360);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 60);
    // 4:3 into 16:9: bars left and right.
    p = placePicture(640, 480, 1.0, 1280, 720, true, 2);
    EXPECT_EQ(p.pictureWidth, 960);
    EXPECT_EQ(p.pictureHeight, 720);
    EXPECT_EQ(p.x, 160);
    EXPECT_EQ(p.y, 0);
    // Anamorphic pixels count: 720 x 576 at 16:11 is seen as 1047 x 576.
    p = placePicture(720, 576, 16.0 / 11, 0, 0, true, 2);
    EXPECT_EQ(p.width, 720);
    EXPECT_EQ(p.pictureHeight, 396);
}

TEST(EngineProcessingRules, FreeAspectStretchesAndSourceSizeStays) {
    Placement p = placePicture(1280, 720, 1.0, 640, 480, false, 2);
    EXPECT_EQ(p.pictureWidth, 640);
    EXPECT_EQ(p.pictureHeight, 480);
    EXPECT_EQ(p.x, 0);
    p = placePicture(320, 240, 1.0, 0, 0, true, 2);
    EXPECT_EQ(p.width, 320);
    EXPECT_EQ(p.height, 240);
    EXPECT_EQ(p.pictureWidth, 320);
    // Only one side given: the other is the source's.
    p = placePicture(320, 240, 1.0, 160, 0, false, 2);
    EXPECT_EQ(p.width, 160);
    EXPECT_EQ(p.height, 240);
}

TEST(EngineProcessingRules, SizesFollowTheEncodersMultiple) {
    Placement p = placePicture(333, 201, 1.0, 0, 0, true, 2);
    EXPECT_EQ(p.width % 2, 0);
    EXPECT_EQ(p.height % 2, 0);
    p = placePicture(330, 250, 1.0, 0, 0, false, 16);
    EXPECT_EQ(p.width, 320);
    EXPECT_EQ(p.height, 240);
    // Never below one block.
    p = placePicture(8, 8, 1.0, 0, 0, false, 16);
    EXPECT_EQ(p.width, 16);
}

TEST(EngineProcessingRules, TakenNamesGetTheNextNumber) {
    std::set<std::string> taken;
    auto exists = [&](const std::string& p) { return taken.count(p) > 0; };
    EXPECT_EQ(freeOutputName("/out/clip.mp4", exists), "/out/clip.mp4");
    taken.insert("/out/clip.mp4");
    EXPECT_EQ(freeOutputName("/out/clip.mp4", exists), "/out/clip (2).mp4");
    taken.insert("/out/clip (2).mp4");
    EXPECT_EQ(freeOutputName("/out/clip.mp4", exists), "/out/clip (3).mp4");
    // A dot in the folder is not an extension; a name without one gets the number at the end.
    taken.insert("/o.ut/clip");
    EXPECT_EQ(freeOutputName("/o.ut/clip", exists), "/o.ut/clip (2)");
    taken.insert("/out/.mp4");
    EXPECT_EQ(freeOutputName("/out/.mp4", exists), "/out/.mp4 (2)");
}

TEST(EngineProcessingRules, EachFormatsMuxerAndEncodersExistAndAgreeWithEachOther) {
    std::set<std::string_view> names;
    for (const auto& f : outputFormats()) {
        SCOPED_TRACE(f.name);
        EXPECT_TRUE(names.insert(f.name).second) << "listed twice";
        EXPECT_EQ(findOutputFormat(f.name), &f);
        const AVOutputFormat* muxer = av_guess_format(f.muxer, nullptr, nullptr);
        ASSERT_NE(muxer, nullptr) << f.muxer;
        EXPECT_STREQ(muxer->name, f.muxer);
        // What a transcode writes the muxer takes (a muxer that cannot tell is trusted).
        for (const char* encoder : {f.videoEncoder, f.audioEncoder}) {
            const AVCodec* codec = avcodec_find_encoder_by_name(encoder);
            ASSERT_NE(codec, nullptr) << encoder;
            EXPECT_NE(avformat_query_codec(muxer, codec->id, FF_COMPLIANCE_NORMAL), 0) << encoder;
            // ... and so does a stream copy of the same codec.
            EXPECT_TRUE(formatHoldsCodec(f, codec->id, codec->type == AVMEDIA_TYPE_VIDEO))
                << encoder;
        }
        // A stream copy's own lists name codecs FFmpeg knows, of the right kind.
        for (const auto& [list, type] : {std::pair{f.copyVideo, AVMEDIA_TYPE_VIDEO},
                                         std::pair{f.copyAudio, AVMEDIA_TYPE_AUDIO}})
            for (const auto codec : list) {
                const AVCodecDescriptor* d =
                    avcodec_descriptor_get_by_name(std::string(codec).c_str());
                ASSERT_NE(d, nullptr) << codec;
                EXPECT_EQ(d->type, type) << codec;
            }
    }
    EXPECT_EQ(names.size(), 16u);
    EXPECT_EQ(findOutputFormat("MP4"), nullptr);
    EXPECT_EQ(findOutputFormat(""), nullptr);
}

TEST(EngineProcessingRules, StreamCopyKeepsToWhatEachContainerHolds) {
    const auto holds = [](const char* f, AVCodecID c, bool video) {
        return formatHoldsCodec(*findOutputFormat(f), c, video);
    };
    for (const char* f : {"dat", "vob", "rm", "rmvb"})
        EXPECT_FALSE(holds(f, AV_CODEC_ID_H264, true)) << f;
    EXPECT_FALSE(holds("dat", AV_CODEC_ID_AAC, false));
    EXPECT_FALSE(holds("vob", AV_CODEC_ID_AAC, false));
    EXPECT_TRUE(holds("dat", AV_CODEC_ID_MPEG1VIDEO, true));
    EXPECT_TRUE(holds("vob", AV_CODEC_ID_MPEG2VIDEO, true));
    EXPECT_TRUE(holds("vob", AV_CODEC_ID_AC3, false));
    EXPECT_TRUE(holds("rm", AV_CODEC_ID_RV20, true));
    for (const char* f : {"mp4", "mkv", "ts", "mts", "mov", "flv", "avi"})
        EXPECT_TRUE(holds(f, AV_CODEC_ID_H264, true)) << f;
    EXPECT_TRUE(holds("mp4", AV_CODEC_ID_AAC, false));
    // libavformat's own answer where the container says what it takes.
    EXPECT_FALSE(holds("flv", AV_CODEC_ID_MPEG2VIDEO, true));
}

TEST(EngineProcessingRules, OnlyAFileUnderAnAbsoluteFolderIsWritten) {
    Job job;
    job.format = "mp4";
    job.input = "/nonexistent/in.mp4";
    const std::atomic<bool> cancel{false};
    for (const auto& [output, reason] : {std::pair{"", "未设置输出文件"},
                                         {"clip.mp4", "未设置保存目录"},
                                         {"out/clip.mp4", "保存目录不是绝对路径"},
                                         {"D:\\out\\clip.mp4", "未设置保存目录"}}) {
        job.output = output;
        const Outcome o = runJob(job, cancel, nullptr);
        EXPECT_FALSE(o.ok) << output;
        EXPECT_EQ(o.reason, reason) << output;
    }
    job.output = "/nonexistent/out/clip.mp4"; // refused for the missing input, not the folder
    EXPECT_EQ(runJob(job, cancel, nullptr).reason.find("cannot open"), 0u);
}
