// Screenshots of the real engine (id 702 and its size, aspect, format and quality ids), read back
// by content, not by name.
#include "EngineTestSupport.h"
#include "support/TestMedia.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "mpv/ScreenshotWriter.h"

using namespace qinglan::aplayer;
using namespace qinglan::aplayer::test;
using qinglan::test::media;

namespace {

// The clip's background, away from the moving square.
bool looksBlue(const QImage& image) {
    QColor c = image.pixelColor(image.width() - 10, 10);
    return std::abs(c.red() - 0x1E) < 24 && std::abs(c.green() - 0x5A) < 24 &&
           std::abs(c.blue() - 0xC8) < 24;
}

class EngineScreenshot : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(e.create());
    }
    Engine& engine() { return *e.engine; }
    std::string path(const char* name) { return dir.filePath(name).toStdString(); }
    QTemporaryDir dir;
    EngineUnderTest e;
};

TEST_F(EngineScreenshot, NothingIsWrittenWhileNoMediaIsLoaded) {
    EXPECT_FALSE(engine().APlayer_SetConfigA(cfg::ShotFile, path("1.jpg")));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("1.jpg"))));
}

TEST_F(EngineScreenshot, EveryFormatIsARealFileOfThatFormat) {
    ASSERT_TRUE(e.openAndWaitPlaying(media("clip.mp4").string()));
    ASSERT_TRUE(waitUntil([&] { return engine().APlayer_GetPosition() > 500; }));
    engine().APlayer_SetConfigA(cfg::ShotWidth, "0");
    engine().APlayer_SetConfigA(cfg::ShotHeight, "0");
    engine().APlayer_SetConfigA(cfg::ShotQuality, "75");
    struct Case {
        const char* number;
        const char* file;
        const char* readerFormat;
    };
    for (Case c : {Case{"1", "1.bmp", "bmp"}, Case{"2", "2.jpg", "jpeg"}, Case{"3", "3.png", "png"},
                   Case{"4", "4.gif", "gif"}}) {
        SCOPED_TRACE(c.file);
        engine().APlayer_SetConfigA(cfg::ShotFormat, c.number);
        ASSERT_TRUE(engine().APlayer_SetConfigA(cfg::ShotFile, path(c.file)));
        QString file = QString::fromStdString(path(c.file));
        EXPECT_EQ(QImageReader::imageFormat(file), QByteArray(c.readerFormat));
        QImageReader reader(file);
        reader.setDecideFormatFromContent(true);
        QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.width(), 640);
        EXPECT_EQ(image.height(), 360);
        EXPECT_TRUE(looksBlue(image));
    }
    QFile bmp(QString::fromStdString(path("1.bmp")));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    EXPECT_EQ(bmp.read(2), QByteArray("BM"));
    QFile gif(QString::fromStdString(path("4.gif")));
    ASSERT_TRUE(gif.open(QIODevice::ReadOnly));
    EXPECT_EQ(gif.read(6), QByteArray("GIF89a"));
}

TEST_F(EngineScreenshot, CustomSizeWithAndWithoutAspect) {
    ASSERT_TRUE(e.openAndWaitPlaying(media("clip.mp4").string()));
    ASSERT_TRUE(waitUntil([&] { return engine().APlayer_GetPosition() > 300; }));
    engine().APlayer_SetConfigA(cfg::ShotFormat, "3");
    engine().APlayer_SetConfigA(cfg::ShotWidth, "800");
    engine().APlayer_SetConfigA(cfg::ShotHeight, "600");
    engine().APlayer_SetConfigA(cfg::ShotKeepAspect, "1");
    ASSERT_TRUE(engine().APlayer_SetConfigA(cfg::ShotFile, path("keep.png")));
    EXPECT_EQ(QImage(QString::fromStdString(path("keep.png"))).size(), QSize(800, 450));
    engine().APlayer_SetConfigA(cfg::ShotKeepAspect, "0");
    ASSERT_TRUE(engine().APlayer_SetConfigA(cfg::ShotFile, path("stretch.png")));
    EXPECT_EQ(QImage(QString::fromStdString(path("stretch.png"))).size(), QSize(800, 600));
    // A folder that does not exist yet is made.
    ASSERT_TRUE(engine().APlayer_SetConfigA(cfg::ShotFile, path("新 文件夹/5.png")));
    EXPECT_FALSE(QImage(QString::fromStdString(path("新 文件夹/5.png"))).isNull());
}

TEST(EngineScreenshotWriter, GifKeepsColoursAndAnUnwritablePathReportsFailure) {
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(QColor(0x1E, 0x5A, 0xC8));
    auto gif = encodeGif(image);
    ASSERT_TRUE(gif);
    QImage back = QImage::fromData(*gif, "GIF");
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), QSize(64, 32));
    EXPECT_TRUE(looksBlue(back));
    EXPECT_FALSE(writeScreenshot(image, "/proc/no/such/place.png", ImageFormat::Png, 75));
}

} // namespace
