// The processing modes through the engine's own operations: ids 6, 803, 804, 102/103 and an
// open, the progress and end on the on-screen text, cancelling by id 6 and by APlayer_Close,
// and the Qt event loop running on while a conversion works.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <set>

using namespace qinglan::aplayer;
using namespace qinglan::aplayer::test;
namespace fs = std::filesystem;

namespace {

class EngineProcessing : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        media = new QTemporaryDir;
        clip = media->filePath("clip six.mp4").toStdString();
        const std::string command =
            "ffmpeg -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=640x480:rate=25 "
            "-f lavfi -i sine=frequency=440:sample_rate=44100 -t 8 -c:v libx264 -preset "
            "ultrafast -pix_fmt yuv420p -c:a aac -ac 2 '" +
            clip + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    static void TearDownTestSuite() {
        delete media;
        media = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(e.create());
        engine().APlayer_SetConfigA(cfg::OutputFormat, "mp4");
        engine().APlayer_SetConfigA(cfg::OutputFile, out("clip.mp4"));
    }
    Engine& engine() { return *e.engine; }
    std::string out(const char* name) const { return dir.filePath(name).toStdString(); }
    int files() const {
        int n = 0;
        for ([[maybe_unused]] const auto& f : fs::directory_iterator(dir.path().toStdString()))
            ++n;
        return n;
    }
    // Runs the event loop until the conversion has ended, collecting the texts shown.
    bool waitForEnd(std::set<std::string>& texts, int timeoutMs = 60000) {
        return waitUntil(
            [&] {
                if (engine().APlayer_GetConfigA(cfg::OsdShow) == "1")
                    texts.insert(engine().APlayer_GetConfigA(cfg::OsdText));
                return engine().APlayer_GetConfigA(cfg::PlayResult) != "1";
            },
            timeoutMs);
    }

    static inline QTemporaryDir* media = nullptr;
    static inline std::string clip;
    QTemporaryDir dir;
    EngineUnderTest e;
};

} // namespace

TEST_F(EngineProcessing, AnOpenInTranscodeModeWritesTheFileAndSaysSo) {
    engine().APlayer_SetConfigA(cfg::ProcessingMode, "3");
    engine().APlayer_SetConfigA(cfg::StartMs, "1000");
    engine().APlayer_SetConfigA(cfg::EndMs, "5000");
    // The event loop keeps running: a timer ticks all along.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    ASSERT_TRUE(engine().APlayer_OpenA(clip));
    EXPECT_EQ(engine().APlayer_GetState(), StatePlaying);
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::PlayResult), "1");
    std::set<std::string> texts;
    bool sawProgressBar = false;
    ASSERT_TRUE(waitUntil(
        [&] {
            if (engine().APlayer_GetConfigA(cfg::OsdShow) == "1")
                texts.insert(engine().APlayer_GetConfigA(cfg::OsdText));
            sawProgressBar = sawProgressBar || (engine().APlayer_GetDuration() == 4000 &&
                                                engine().APlayer_GetPosition() > 0);
            return engine().APlayer_GetConfigA(cfg::PlayResult) != "1";
        },
        60000));
    EXPECT_GT(ticks, 5);
    EXPECT_TRUE(sawProgressBar);
    EXPECT_TRUE(texts.count("转码中：0%"));
    bool sawMiddle = false;
    for (const auto& t : texts)
        if (t.rfind("转码中：", 0) == 0 && t != "转码中：0%") sawMiddle = true;
    EXPECT_TRUE(sawMiddle);
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::OsdText), "Conversion finished: " + out("clip.mp4"));
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::PlayResult), ""); // the list does not move on
    EXPECT_EQ(engine().APlayer_GetState(), StateReady);
    EXPECT_TRUE(fs::exists(out("clip.mp4")));

    // Again: the file is there, so the next name is written and named.
    ASSERT_TRUE(engine().APlayer_OpenA(clip));
    ASSERT_TRUE(waitForEnd(texts));
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::OsdText),
              "Conversion finished: " + out("clip (2).mp4"));
    EXPECT_TRUE(fs::exists(out("clip (2).mp4")));
}

TEST_F(EngineProcessing, AFailureSaysWhy) {
    engine().APlayer_SetConfigA(cfg::ProcessingMode, "2");
    engine().APlayer_SetConfigA(cfg::OutputFormat, "dat");
    engine().APlayer_SetConfigA(cfg::OutputFile, out("clip.dat"));
    ASSERT_TRUE(engine().APlayer_OpenA(clip));
    std::set<std::string> texts;
    ASSERT_TRUE(waitForEnd(texts));
    const std::string text = engine().APlayer_GetConfigA(cfg::OsdText);
    EXPECT_EQ(text.rfind("转码失败：", 0), 0u) << text;
    EXPECT_NE(text.find("h264"), std::string::npos) << text;
    EXPECT_NE(text.find("dat"), std::string::npos) << text;
    EXPECT_EQ(files(), 0);
}

TEST_F(EngineProcessing, PlayModeOrCloseCancelsRemovesThePartialFileAndSaysSo) {
    const auto cancelledShown = [&] {
        return engine().APlayer_GetConfigA(cfg::OsdShow) == "1" &&
               engine().APlayer_GetConfigA(cfg::OsdText) == "转码已取消";
    };
    engine().APlayer_SetConfigA(cfg::ProcessingMode, "3");
    engine().APlayer_SetConfigA(cfg::StartMs, "");
    engine().APlayer_SetConfigA(cfg::EndMs, "");
    ASSERT_TRUE(engine().APlayer_OpenA(clip));
    ASSERT_TRUE(waitUntil([&] { return engine().APlayer_GetPosition() > 0; }, 30000));
    EXPECT_EQ(files(), 1);                                 // the temporary file
    engine().APlayer_SetConfigA(cfg::ProcessingMode, "1"); // the transcode window closed
    EXPECT_EQ(engine().APlayer_GetConfigA(cfg::PlayResult), "");
    EXPECT_EQ(files(), 0);
    EXPECT_TRUE(cancelledShown());

    engine().APlayer_SetConfigA(cfg::ProcessingMode, "3");
    ASSERT_TRUE(engine().APlayer_OpenA(clip));
    ASSERT_TRUE(waitUntil([&] { return engine().APlayer_GetPosition() > 0; }, 30000));
    EXPECT_FALSE(cancelledShown()); // the new conversion's progress replaced it
    engine().APlayer_Close();
    EXPECT_EQ(files(), 0);
    spin(300); // nothing the stopped job still had on its way shows up
    EXPECT_EQ(files(), 0);
    EXPECT_TRUE(cancelledShown());
    // The message goes by itself.
    EXPECT_TRUE(waitUntil([&] { return engine().APlayer_GetConfigA(cfg::OsdShow) != "1"; }, 10000));

    // Play mode while nothing converts: nothing to say.
    engine().APlayer_SetConfigA(cfg::ProcessingMode, "1");
    EXPECT_NE(engine().APlayer_GetConfigA(cfg::OsdShow), "1");
}

TEST_F(EngineProcessing, AnOutputWithoutAnAbsoluteFolderIsRefusedAndNothingIsWritten) {
    // Started from a folder of its own: a relative output would land there.
    QTemporaryDir startedIn;
    struct WorkingFolder {
        fs::path before = fs::current_path();
        explicit WorkingFolder(const fs::path& now) { fs::current_path(now); }
        ~WorkingFolder() { fs::current_path(before); }
    } workingFolder(startedIn.path().toStdString());
    const auto filesWhereStarted = [&] {
        int n = 0;
        for ([[maybe_unused]] const auto& f : fs::recursive_directory_iterator(fs::current_path()))
            ++n;
        return n;
    };
    fs::create_directory("out");
    engine().APlayer_SetConfigA(cfg::ProcessingMode, "3");
    engine().APlayer_SetConfigA(cfg::EndMs, "1000");
    // An empty folder setting gives a bare name; a relative one a relative path.
    for (const auto& [output, reason] :
         {std::pair{"clip.mp4", "未设置保存目录"}, {"out/clip.mp4", "保存目录不是绝对路径"}}) {
        SCOPED_TRACE(output);
        engine().APlayer_SetConfigA(cfg::OutputFile, output);
        ASSERT_TRUE(engine().APlayer_OpenA(clip));
        EXPECT_EQ(engine().APlayer_GetConfigA(cfg::OsdText), std::string("转码失败：") + reason);
        EXPECT_EQ(engine().APlayer_GetConfigA(cfg::OsdShow), "1");
        EXPECT_NE(engine().APlayer_GetState(), StatePlaying);
        EXPECT_NE(engine().APlayer_GetConfigA(cfg::PlayResult), "1");
        spin(500);
        EXPECT_EQ(filesWhereStarted(), 1); // the empty "out"
    }
}

TEST_F(EngineProcessing, BordersArriveTopBottomLeftRightAfterTheIndexes) {
    engine().APlayer_SetConfigA(cfg::ProcessingMode, "3");
    engine().APlayer_SetConfigA(cfg::OutputFormat, "mkv");
    engine().APlayer_SetConfigA(cfg::OutputFile, out("b.mkv"));
    engine().APlayer_SetConfigA(cfg::EndMs, "1000");
    engine().APlayer_SetConfigA(cfg::OutputAudioTrack, "0");
    engine().APlayer_SetConfigA(cfg::OutputSubtitle, "0");
    for (const char* b : {"40", "40", "0", "80"})
        engine().APlayer_SetConfigA(cfg::OutputBorder, b);
    ASSERT_TRUE(engine().APlayer_OpenA(clip));
    std::set<std::string> texts;
    ASSERT_TRUE(waitForEnd(texts));
    ASSERT_TRUE(fs::exists(out("b.mkv"))) << engine().APlayer_GetConfigA(cfg::OsdText);
    const std::string probe =
        "ffprobe -v error -select_streams v -show_entries stream=width,height "
        "-of csv=p=0 '" +
        out("b.mkv") + "'";
    FILE* p = ::popen(probe.c_str(), "r");
    char size[64] = {};
    ASSERT_TRUE(p && std::fgets(size, sizeof size, p));
    ::pclose(p);
    EXPECT_STREQ(size, "560,400\n"); // 640 - 80 by 480 - 40 - 40
}

// The engine going down in the middle of its work: the conversion's thread is stopped and its
// partial file removed before anything it reported can reach the parts that are gone.
TEST_F(EngineProcessing, DestroyingTheEngineMidConversionStopsItAndRemovesThePartialFile) {
    engine().APlayer_SetConfigA(cfg::ProcessingMode, "3");
    engine().APlayer_SetConfigA(cfg::StartMs, "");
    engine().APlayer_SetConfigA(cfg::EndMs, "");
    ASSERT_TRUE(engine().APlayer_OpenA(clip));
    ASSERT_TRUE(waitUntil([&] { return engine().APlayer_GetPosition() > 0; }, 30000));
    EXPECT_EQ(files(), 1);
    e.engine.reset();
    EXPECT_EQ(files(), 0);
    spin(300); // progress queued before the end finds no engine
    EXPECT_EQ(files(), 0);
}
