// The promises of aplayer/Engine.h as scripts, run against the fake engine and against the real
// one (mpv's null outputs, offscreen, on the media the build generates). Both answer through
// the event loop, so every wait is bounded and passes as soon as the promise holds.
#include "EngineTestSupport.h"
#include "aplayer/FakeEngine.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

using namespace qinglan::aplayer;
using qinglan::aplayer::test::waitUntil;

namespace {

// What a contract needs of an engine beyond the interface: a media that plays (10 s), one that
// cannot be opened, and the volume in effect, read where the engine keeps it.
struct FakeSubject {
    static constexpr const char* name = "Fake";
    FakeEngine fake;
    Engine& engine() { return fake; }
    std::string playable() {
        fake.scriptMedia("/media/clip.mp4", 10000);
        return "/media/clip.mp4";
    }
    std::string unopenable() {
        fake.scriptFailure("/media/gone.mp4", "文件不存在");
        return "/media/gone.mp4";
    }
    int volume() { return fake.volume(); }
};

struct MpvSubject {
    static constexpr const char* name = "Mpv";
    std::unique_ptr<Engine> real = createMpvEngine({"null", "null"});
    Engine& engine() { return *real; }
    std::string playable() { return qinglan::test::media("clip.mp4").string(); }
    std::string unopenable() { return qinglan::test::media("does not exist.mp4").string(); }
    int volume() {
        const std::string v = dynamic_cast<MpvEngine&>(*real).mpvProperty("volume");
        return static_cast<int>(std::lround(std::atof(v.c_str())));
    }
};

bool isPromisedReason(const std::string& reason) {
    for (const char* r :
         {"文件不存在", "文件无法读取", "网络错误", "格式不支持", "没有可播放的音视频",
          "缺少解码器", "无法输出画面", "无法输出声音", "播放出错"})
        if (reason == r) return true;
    return false;
}

template <class Subject> class EngineContract : public ::testing::Test {
protected:
    void create() { ASSERT_TRUE(engine().APlayer_Create(&parent, 0, 0, 640, 360, {}, {}, {})); }
    Engine& engine() { return subject.engine(); }
    int state() { return engine().APlayer_GetState(); }
    std::string config(int id) { return engine().APlayer_GetConfigA(id); }
    // Opens the 10 s media and waits until it plays; its path.
    std::string play() {
        const std::string path = subject.playable();
        EXPECT_TRUE(engine().APlayer_OpenA(path));
        EXPECT_TRUE(waitUntil([&] { return state() == StatePlaying; }));
        return path;
    }

    QWidget parent; // outlives the engine, which draws into a child of it
    Subject subject;
};

TYPED_TEST_SUITE_P(EngineContract);

TYPED_TEST_P(EngineContract, BeforeCreateEveryCallIsHarmlessAndValuesAreKept) {
    Engine& e = this->engine();
    EXPECT_EQ(e.APlayer_GetWindow(), nullptr);
    EXPECT_FALSE(e.APlayer_OpenA(this->subject.playable()));
    e.APlayer_Play();
    e.APlayer_Pause();
    e.APlayer_SetPosition(5000);
    e.APlayer_SetVolume(300);
    e.APlayer_Close();
    EXPECT_TRUE(e.APlayer_SetConfigA(cfg::Mute, "1"));
    EXPECT_EQ(this->state(), StateReady);
    EXPECT_EQ(e.APlayer_GetPosition(), 0);
    EXPECT_EQ(e.APlayer_GetDuration(), 0);
    for (int id : {cfg::MediaLoaded, cfg::PlayResult, cfg::FailureReason})
        EXPECT_EQ(this->config(id), "") << id;

    this->create();
    ASSERT_NE(e.APlayer_GetWindow(), nullptr);
    EXPECT_EQ(e.APlayer_GetWindow()->parentWidget(), &this->parent);
    EXPECT_EQ(this->config(cfg::Mute), "1");
}

TYPED_TEST_P(EngineContract, AnOpenPassesThroughOpeningToPlaying) {
    this->create();
    const std::string path = this->subject.playable();
    ASSERT_TRUE(this->engine().APlayer_OpenA(path));
    EXPECT_EQ(this->state(), StateOpening);
    EXPECT_EQ(this->config(cfg::PlayResult), "1");
    EXPECT_EQ(this->config(cfg::MediaLoaded), "");
    ASSERT_TRUE(waitUntil([&] { return this->state() == StatePlaying; }));
    EXPECT_EQ(this->config(cfg::MediaLoaded), path);
    EXPECT_NEAR(this->engine().APlayer_GetDuration(), 10000, 200);

    this->engine().APlayer_Pause();
    EXPECT_EQ(this->state(), StatePaused);
    this->engine().APlayer_Play();
    EXPECT_EQ(this->state(), StatePlaying);
}

TYPED_TEST_P(EngineContract, AnEmptyOpenIsRefusedAndChangesNothing) {
    this->create();
    EXPECT_FALSE(this->engine().APlayer_OpenA(""));
    EXPECT_EQ(this->state(), StateReady);
    EXPECT_EQ(this->config(cfg::PlayResult), "");
    const std::string path = this->play();
    EXPECT_FALSE(this->engine().APlayer_OpenA(""));
    EXPECT_EQ(this->state(), StatePlaying);
    EXPECT_EQ(this->config(cfg::MediaLoaded), path);
}

TYPED_TEST_P(EngineContract, AFailedOpenEndsReadyAndSaysWhyUntilTheNextOpenOrClose) {
    this->create();
    const auto fail = [&] {
        ASSERT_TRUE(this->engine().APlayer_OpenA(this->subject.unopenable()));
        EXPECT_EQ(this->config(cfg::FailureReason), "") << "before it failed";
        ASSERT_TRUE(waitUntil([&] { return this->config(cfg::PlayResult) == "2"; }));
        EXPECT_EQ(this->state(), StateReady);
        EXPECT_EQ(this->engine().APlayer_GetPosition(), 0);
        EXPECT_TRUE(isPromisedReason(this->config(cfg::FailureReason)))
            << this->config(cfg::FailureReason);
    };
    fail();
    ASSERT_TRUE(this->engine().APlayer_OpenA(this->subject.playable()));
    EXPECT_EQ(this->config(cfg::FailureReason), "");
    EXPECT_EQ(this->config(cfg::PlayResult), "1");
    EXPECT_TRUE(waitUntil([&] { return this->state() == StatePlaying; }));

    fail();
    this->engine().APlayer_Close();
    EXPECT_EQ(this->config(cfg::FailureReason), "");
    EXPECT_EQ(this->config(cfg::PlayResult), "");
}

TYPED_TEST_P(EngineContract, CloseReturnsToReadyWithNothingOpen) {
    this->create();
    this->play();
    this->engine().APlayer_Close();
    EXPECT_EQ(this->state(), StateReady);
    EXPECT_EQ(this->engine().APlayer_GetPosition(), 0);
    EXPECT_EQ(this->engine().APlayer_GetDuration(), 0);
    for (int id : {cfg::MediaLoaded, cfg::PlayResult, cfg::FailureReason})
        EXPECT_EQ(this->config(id), "") << id;
}

TYPED_TEST_P(EngineContract, ASeekWithNothingLoadedDoesNothing) {
    this->create();
    this->engine().APlayer_SetPosition(5000);
    EXPECT_EQ(this->engine().APlayer_GetPosition(), 0);
    EXPECT_EQ(this->state(), StateReady);
    // Not kept for the next media either.
    this->play();
    EXPECT_LT(this->engine().APlayer_GetPosition(), 4000);
    this->engine().APlayer_Close();
    this->engine().APlayer_SetPosition(5000);
    EXPECT_EQ(this->engine().APlayer_GetPosition(), 0);
}

TYPED_TEST_P(EngineContract, ASeekWhileTheMediaLoadsLandsOnceItHas) {
    this->create();
    ASSERT_TRUE(this->engine().APlayer_OpenA(this->subject.playable()));
    this->engine().APlayer_SetPosition(6000);
    ASSERT_TRUE(waitUntil([&] { return this->state() == StatePlaying; }));
    // Sooner than playing from the start could get there.
    EXPECT_TRUE(waitUntil(
        [&] {
            const int p = this->engine().APlayer_GetPosition();
            return p >= 5900 && p < 7500;
        },
        3000));
}

TYPED_TEST_P(EngineContract, SeeksStayWithinTheMedia) {
    this->create();
    this->play();
    Engine& e = this->engine();
    e.APlayer_SetPosition(6000);
    EXPECT_TRUE(waitUntil([&] {
        const int p = e.APlayer_GetPosition();
        return p >= 5900 && p < 7500;
    }));
    e.APlayer_SetPosition(-15000);
    EXPECT_TRUE(waitUntil([&] { return e.APlayer_GetPosition() < 1500; }));
    EXPECT_EQ(this->state(), StatePlaying);
    // Beyond the end is the end: the media has played to it.
    e.APlayer_SetPosition(e.APlayer_GetDuration() + 60000);
    ASSERT_TRUE(waitUntil([&] { return this->config(cfg::PlayResult) == "0"; }));
    EXPECT_EQ(this->state(), StateReady);
    EXPECT_EQ(e.APlayer_GetPosition(), e.APlayer_GetDuration());
    EXPECT_NEAR(e.APlayer_GetDuration(), 10000, 200);
}

TYPED_TEST_P(EngineContract, TheVolumeIsClampedToZeroThroughAThousand) {
    this->create();
    this->engine().APlayer_SetVolume(350);
    EXPECT_EQ(this->subject.volume(), 350);
    this->engine().APlayer_SetVolume(5000);
    EXPECT_EQ(this->subject.volume(), 1000);
    this->engine().APlayer_SetVolume(-20);
    EXPECT_EQ(this->subject.volume(), 0);
}

TYPED_TEST_P(EngineContract, IdsFourSevenAndEightAnswerTheEngineNotWhatWasWritten) {
    this->create();
    const auto write = [&] {
        this->engine().APlayer_SetConfigA(cfg::MediaLoaded, "/written.mp4");
        this->engine().APlayer_SetConfigA(cfg::PlayResult, "0");
        this->engine().APlayer_SetConfigA(cfg::FailureReason, "网络错误");
    };
    write();
    for (int id : {cfg::MediaLoaded, cfg::PlayResult, cfg::FailureReason})
        EXPECT_EQ(this->config(id), "") << id;
    const std::string path = this->play();
    write();
    EXPECT_EQ(this->config(cfg::MediaLoaded), path);
    EXPECT_EQ(this->config(cfg::PlayResult), "1");
    EXPECT_EQ(this->config(cfg::FailureReason), "");
}

TYPED_TEST_P(EngineContract, UnknownIdsAreStoredAndReadBack) {
    for (const char* value : {"任意 值", "second"}) {
        EXPECT_TRUE(this->engine().APlayer_SetConfigA(9999, value));
        EXPECT_EQ(this->config(9999), value);
    }
    this->create();
    EXPECT_EQ(this->config(9999), "second");
    EXPECT_TRUE(this->engine().APlayer_SetConfigA(-7, "x"));
    EXPECT_EQ(this->config(-7), "x");
    EXPECT_EQ(this->config(424242), "");
}

TYPED_TEST_P(EngineContract, AConversionWithoutAnAbsoluteFolderIsRefusedAtOnce) {
    this->create();
    const std::string name = "contract conversion.mp4";
    std::filesystem::remove(name);
    this->engine().APlayer_SetConfigA(cfg::OutputFile, name);
    this->engine().APlayer_SetConfigA(cfg::ProcessingMode, "2");
    EXPECT_TRUE(this->engine().APlayer_OpenA(this->subject.playable()));
    EXPECT_EQ(this->state(), StateReady);
    EXPECT_EQ(this->config(cfg::PlayResult), "");
    EXPECT_EQ(this->config(cfg::OsdText).rfind("转码失败：", 0), 0u) << this->config(cfg::OsdText);
    test::spin(300);
    EXPECT_FALSE(std::filesystem::exists(name));
}

TYPED_TEST_P(EngineContract, AConversionRunsInsteadOfPlayingAndEndsReady) {
    this->create();
    QTemporaryDir dir;
    this->engine().APlayer_SetConfigA(cfg::OutputFile, dir.filePath("out.mp4").toStdString());
    this->engine().APlayer_SetConfigA(cfg::ProcessingMode, "2");
    ASSERT_TRUE(this->engine().APlayer_OpenA(this->subject.playable()));
    EXPECT_EQ(this->state(), StatePlaying);
    EXPECT_EQ(this->config(cfg::PlayResult), "1");
    EXPECT_EQ(this->config(cfg::MediaLoaded), "");
    ASSERT_TRUE(waitUntil([&] { return this->state() == StateReady; }, 30000));
    EXPECT_EQ(this->config(cfg::PlayResult), "");
    EXPECT_EQ(this->config(cfg::OsdText).rfind("Conversion finished: ", 0), 0u)
        << this->config(cfg::OsdText);
}

TYPED_TEST_P(EngineContract, AConversionIsCancelledByCloseOrAnotherModeAndLeavesNothing) {
    this->create();
    QTemporaryDir dir;
    this->engine().APlayer_SetConfigA(cfg::OutputFile, dir.filePath("out.mp4").toStdString());
    for (bool byClose : {false, true}) {
        SCOPED_TRACE(byClose ? "close" : "mode 1");
        this->engine().APlayer_SetConfigA(cfg::ProcessingMode, "3");
        ASSERT_TRUE(this->engine().APlayer_OpenA(this->subject.playable()));
        ASSERT_EQ(this->state(), StatePlaying);
        if (byClose)
            this->engine().APlayer_Close();
        else
            this->engine().APlayer_SetConfigA(cfg::ProcessingMode, "1");
        EXPECT_EQ(this->state(), StateReady);
        EXPECT_EQ(this->config(cfg::PlayResult), "");
        EXPECT_EQ(this->config(cfg::OsdText), "转码已取消");
        test::spin(300);
        EXPECT_TRUE(
            QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }
}

REGISTER_TYPED_TEST_SUITE_P(
    EngineContract, BeforeCreateEveryCallIsHarmlessAndValuesAreKept,
    AnOpenPassesThroughOpeningToPlaying, AnEmptyOpenIsRefusedAndChangesNothing,
    AFailedOpenEndsReadyAndSaysWhyUntilTheNextOpenOrClose, CloseReturnsToReadyWithNothingOpen,
    ASeekWithNothingLoadedDoesNothing, ASeekWhileTheMediaLoadsLandsOnceItHas,
    SeeksStayWithinTheMedia, TheVolumeIsClampedToZeroThroughAThousand,
    IdsFourSevenAndEightAnswerTheEngineNotWhatWasWritten, UnknownIdsAreStoredAndReadBack,
    AConversionWithoutAnAbsoluteFolderIsRefusedAtOnce, AConversionRunsInsteadOfPlayingAndEndsReady,
    AConversionIsCancelledByCloseOrAnotherModeAndLeavesNothing);

struct SubjectName {
    template <class Subject> static std::string GetName(int) { return Subject::name; }
};

using Engines = ::testing::Types<FakeSubject, MpvSubject>;
INSTANTIATE_TYPED_TEST_SUITE_P(Engine, EngineContract, Engines, SubjectName);

} // namespace
