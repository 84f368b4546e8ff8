// The screenshot action with the real engine: the files it leaves in the folder, read back.
#include "playback/Screenshot.h"
#include "support/TestMedia.h"

#include <aplayer/ConfigTable.h>
#include <aplayer/Engine.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <fstream>
#include <map>

using namespace qinglan;
using playback::Screenshot;
using test::media;

namespace {

bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 10000) {
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return pred();
}

// The clip's blue background, away from its moving square.
bool looksBlue(const QImage& image) {
    const QColor c = image.pixelColor(image.width() - 10, 10);
    return std::abs(c.red() - 0x1E) < 24 && std::abs(c.green() - 0x5A) < 24 &&
           std::abs(c.blue() - 0xC8) < 24;
}

struct RealEngineScreenshot : ::testing::Test {
    QWidget parent;
    std::unique_ptr<aplayer::Engine> engine = aplayer::createMpvEngine({"null", "null"});
    QTemporaryDir dir;
    std::map<int, std::string> settings{{154, "1"},   {156, "1"},   {157, "0"},
                                        {158, "640"}, {159, "480"}, {160, "1"},
                                        {161, "0"},   {162, "75"},  {163, "jpg"}};
    std::vector<std::string> shown;
    std::unique_ptr<Screenshot> shot;

    void SetUp() override {
        settings[164] = dir.path().toStdString();
        parent.resize(640, 360);
        ASSERT_TRUE(engine->APlayer_Create(&parent, 0, 0, 640, 360, {}, {}, {}));
        Screenshot::Hooks hooks;
        hooks.setting = [this](int f) { return settings[f]; };
        hooks.showOnScreenText = [this](const std::string& t) { shown.push_back(t); };
        shot = std::make_unique<Screenshot>(*engine, hooks);
    }
    void TearDown() override { engine.reset(); }
    void play(const char* name) {
        ASSERT_TRUE(engine->APlayer_OpenA(media(name).string()));
        ASSERT_TRUE(waitUntil([&] { return engine->APlayer_GetPosition() > 500; }));
    }
    QString file(const char* name) const { return dir.filePath(name); }
    QImage read(const char* name) const {
        QImageReader reader(file(name));
        reader.setDecideFormatFromContent(true);
        return reader.read();
    }
};

TEST_F(RealEngineScreenshot, NumbersContinueAfterTheFilesThereAndAcrossFormats) {
    play("clip.mp4");
    for (const char* existing : {"1.jpg", "2.jpg"})
        std::ofstream(file(existing).toStdString()) << "kept";
    EXPECT_EQ(shot->take(), Screenshot::Outcome::Written);
    EXPECT_TRUE(looksBlue(read("3.jpg")));
    EXPECT_EQ(shot->take(), Screenshot::Outcome::Written);
    EXPECT_TRUE(QFile::exists(file("4.jpg")));
    settings[163] = "png";
    EXPECT_EQ(shot->take(), Screenshot::Outcome::Written);
    EXPECT_EQ(QImageReader::imageFormat(file("5.png")), QByteArray("png"));
    // The files that were there are untouched.
    QFile first(file("1.jpg"));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), QByteArray("kept"));
    EXPECT_EQ(shown.back(), "截图成功，图片已保存到默认目录下。");
}

TEST_F(RealEngineScreenshot, ACustomSizeGivesAPictureOfThatSize) {
    play("clip.mp4");
    settings[156] = "0";
    settings[157] = "1";
    settings[158] = "800";
    settings[159] = "600";
    settings[160] = "0";
    settings[161] = "1";
    ASSERT_EQ(shot->take(), Screenshot::Outcome::Written);
    const QImage image = read("1.jpg");
    EXPECT_EQ(image.size(), QSize(800, 600));
    EXPECT_TRUE(looksBlue(image));
}

TEST_F(RealEngineScreenshot, EveryFormatDecodesBackToTheVideosColour) {
    play("clip.mp4");
    struct Case {
        const char* format;
        const char* file;
        const char* reader;
    };
    for (Case c : {Case{"bmp", "1.bmp", "bmp"}, Case{"jpg", "2.jpg", "jpeg"},
                   Case{"png", "3.png", "png"}, Case{"gif", "4.gif", "gif"}}) {
        SCOPED_TRACE(c.format);
        settings[163] = c.format;
        ASSERT_EQ(shot->take(), Screenshot::Outcome::Written);
        EXPECT_EQ(QImageReader::imageFormat(file(c.file)), QByteArray(c.reader));
        const QImage image = read(c.file);
        EXPECT_EQ(image.size(), QSize(640, 360));
        EXPECT_TRUE(looksBlue(image));
    }
}

TEST_F(RealEngineScreenshot, NothingWrittenIsReportedAsAFailure) {
    play("clip.mp4");
    std::ofstream(file("not a folder").toStdString()) << "x";
    settings[164] = file("not a folder").toStdString();
    EXPECT_EQ(shot->take(), Screenshot::Outcome::Failed);
    EXPECT_EQ(shown.back(), "截图失败：保存路径不是文件夹");

    // A song has no picture to take, though the engine holds a media.
    settings[164] = dir.path().toStdString();
    play("song.mp3");
    EXPECT_EQ(shot->take(), Screenshot::Outcome::Failed);
    EXPECT_EQ(shown.back(), "截图失败：未能取得画面");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"not a folder"});
}

} // namespace
