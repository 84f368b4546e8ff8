// Subtitles as the engine draws them in a real window on a private X display: the ids set
// directly, as the player's apply step sends them, and the outcome read from the screen.
#include "EngineTestSupport.h"
#include "support/TestMedia.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace qinglan::aplayer;
using namespace qinglan::aplayer::test;
using qinglan::test::media;

namespace {

constexpr int kWidth = 640, kHeight = 360;

struct SubtitledEngine : EngineUnderTest {
    SubtitledEngine() : EngineUnderTest(MpvEngineOptions{"", "null"}) {
        parent->setWindowFlag(Qt::FramelessWindowHint);
        parent->setGeometry(0, 0, kWidth, kHeight);
        parent->show();
    }
    bool set(int id, const std::string& value) { return engine->APlayer_SetConfigA(id, value); }
    QImage screen() {
        return QGuiApplication::primaryScreen()->grabWindow(parent->winId()).toImage();
    }
    // Pixels of the text colour (red: 2108's colour value 255) inside a rectangle.
    int red(QRect area) {
        QImage shot = screen();
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                QColor c = shot.pixelColor(x, y);
                n += c.red() > 200 && c.green() < 60 && c.blue() < 60;
            }
        return n;
    }
    bool redIn(QRect area, int timeoutMs = 6000) {
        return waitUntil([&] { return red(area) > 20; }, timeoutMs);
    }
    bool clearIn(QRect area, int timeoutMs = 6000) {
        return waitUntil([&] { return red(area) == 0; }, timeoutMs);
    }
    void start() {
        ASSERT_TRUE(create());
        ASSERT_TRUE(openAndWaitPlaying(media("subtitle ground.mp4").string()));
        // The style the settings page sends: font, size 18, red, no shadow.
        set(cfg::SubtitleFont, "WenQuanYi Micro Hei;18;255;0");
        set(cfg::SubtitlePos, "0;50;100");
        set(cfg::SubtitleDelay, "5000;1000;1000");
        set(cfg::SubtitleShow, "1");
    }
};

const QRect kTop(0, 0, kWidth, 110), kBottom(0, 250, kWidth, 110), kWhole(0, 0, kWidth, kHeight);

TEST(EngineSubtitles, AFileIsDrawnInItsColourASecondBesideItAndPositionAndDelayMoveIt) {
    SubtitledEngine e;
    e.start();
    ASSERT_TRUE(e.set(cfg::SubtitleFile, media("zh simplified utf8.srt").string()));
    EXPECT_TRUE(e.redIn(kBottom)) << "the subtitle is not drawn in the text colour";
    EXPECT_EQ(e.red(kTop), 0);

    // A second file at the same time, drawn above the first.
    e.set(cfg::Subtitle2Show, "1");
    ASSERT_TRUE(e.set(cfg::Subtitle2File, media("second line.srt").string()));
    EXPECT_TRUE(e.redIn(kTop)) << "the second subtitle is not drawn";
    EXPECT_GT(e.red(kBottom), 20) << "the first subtitle went with the second";
    e.set(cfg::Subtitle2Show, "0");
    EXPECT_TRUE(e.clearIn(kTop));

    // Position on at 30 % of the height: the line stands there instead of at the bottom.
    const QRect atThirty(0, 40, kWidth, 90);
    e.set(cfg::SubtitlePos, "1;50;30");
    EXPECT_TRUE(e.redIn(atThirty));
    EXPECT_TRUE(e.clearIn(kBottom));
    e.set(cfg::SubtitlePos, "0;50;30");
    EXPECT_TRUE(e.redIn(kBottom));
    EXPECT_TRUE(e.clearIn(atThirty));

    // Delay: 15000 is 10 s later than the slider's centre, so the line from 0.5 s shows from
    // 10.5 s on; now, at a few seconds, it is gone, and after a seek to 12 s it is back.
    ASSERT_LT(e.engine->APlayer_GetPosition(), 9000);
    e.set(cfg::SubtitleDelay, "15000;1000;1000");
    EXPECT_TRUE(e.clearIn(kWhole));
    e.engine->APlayer_SetPosition(12000);
    EXPECT_TRUE(e.redIn(kBottom)) << "the delayed line did not show";
    e.set(cfg::SubtitleDelay, "5000;1000;1000");
    EXPECT_TRUE(e.redIn(kBottom));
}

// The subtitle area's pixels, once the line is drawn and has not changed for half a second
// (mpv redraws the line with the next frames, not at once).
QImage settledLine(SubtitledEngine& e) {
    QImage last;
    QElapsedTimer unchanged;
    unchanged.start();
    waitUntil(
        [&] {
            QImage now = e.screen().copy(kBottom);
            if (now != last || e.red(kBottom) <= 20) unchanged.restart();
            last = now;
            return unchanged.elapsed() > 500;
        },
        8000);
    return last;
}

// Pixels that differ clearly between two pictures of the same size.
int differing(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            n += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                     std::abs(p.blue() - q.blue()) >
                 60;
        }
    return n;
}

TEST(EngineSubtitles, GbAndBigFiveFilesDrawLikeTheirUtf8Originals) {
    SubtitledEngine e;
    e.start();
    struct Case {
        const char* original;
        const char* copies[2]; // the whole file, and its first line alone (too short to guess)
    };
    // Each file is drawn afresh: the line is hidden until the screen is clear, the file chosen,
    // and the line shown again, so that the screen cannot still hold the previous file's line.
    // mpv's current text tells that the file was read as the original's text.
    auto shows = [&](const char* file, const std::string& text) {
        e.set(cfg::SubtitleShow, "0");
        EXPECT_TRUE(e.clearIn(kWhole));
        EXPECT_TRUE(e.set(cfg::SubtitleFile, media(file).string()));
        bool ok = waitUntil([&] { return e.engine->mpvProperty("sub-text") == text; });
        EXPECT_TRUE(ok) << file << " reads as " << e.engine->mpvProperty("sub-text");
        e.set(cfg::SubtitleShow, "1");
        return ok;
    };
    QImage simplified;
    for (Case c :
         {Case{"zh simplified utf8.srt", {"zh simplified gb18030.srt", "zh short gb18030.srt"}},
          Case{"zh traditional utf8.srt", {"zh traditional big5.srt", "zh short big5.srt"}}}) {
        SCOPED_TRACE(c.original);
        const std::string text = simplified.isNull() ? "青岚播放器字幕测试" : "青嵐播放器字幕測試";
        ASSERT_TRUE(shows(c.original, text));
        QImage original = settledLine(e);
        ASSERT_GT(e.red(kBottom), 20);
        if (simplified.isNull())
            simplified = original;
        else // the two texts differ in three characters: the comparison can tell them apart
            EXPECT_GT(differing(original, simplified), 50);
        for (const char* copy : c.copies) {
            SCOPED_TRACE(copy);
            shows(copy, text);
            int diff = differing(settledLine(e), original);
            EXPECT_LT(diff, 20) << diff << " pixels differ from the UTF-8 original";
            if (const char* keep = std::getenv("QINGLAN_KEEP_SHOT"))
                e.screen().save(QString::fromUtf8(keep) + "-" + copy + ".png");
        }
    }
}

TEST(EngineSubtitles, ThreeDRenderModesDrawTheLineOnceInEachHalf) {
    SubtitledEngine e;
    e.start();
    ASSERT_TRUE(e.set(cfg::SubtitleFile, media("zh simplified utf8.srt").string()));
    const QRect centre(kWidth / 2 - 20, 0, 40, kHeight);
    // Flat: one line across the middle of the picture.
    EXPECT_TRUE(e.redIn(centre.intersected(kBottom)));

    e.set(cfg::SubtitleRenderMode, "1");
    EXPECT_TRUE(e.clearIn(centre)) << "the line is still drawn across the middle";
    EXPECT_TRUE(e.redIn(QRect(40, 250, 240, 110))) << "no line in the left half";
    EXPECT_TRUE(e.redIn(QRect(360, 250, 240, 110))) << "no line in the right half";
    EXPECT_EQ(e.red(kTop), 0);
    // The anaglyph makes one flat picture of the halves: the line is drawn flat on it.
    e.set(cfg::Stereo3d, "1");
    EXPECT_TRUE(e.redIn(centre.intersected(kBottom)));
    EXPECT_TRUE(e.clearIn(QRect(40, 250, 100, 110))) << "the halves are drawn beside it";
    e.set(cfg::Stereo3d, "0");
    EXPECT_TRUE(e.clearIn(centre));

    // Top and bottom: at the foot of each half.
    e.set(cfg::SubtitleRenderMode, "2");
    const QRect topHalfFoot(0, 130, kWidth, 50), bottomHalfFoot(0, 310, kWidth, 50);
    EXPECT_TRUE(e.redIn(topHalfFoot)) << "no line in the top half";
    EXPECT_TRUE(e.redIn(bottomHalfFoot)) << "no line in the bottom half";
    EXPECT_EQ(e.red(QRect(0, 190, kWidth, 110)), 0) << "a line between the two";

    // The first subtitle switched off hides the halves too; flat again, mpv draws it itself.
    e.set(cfg::SubtitleShow, "0");
    EXPECT_TRUE(e.clearIn(kWhole));
    e.set(cfg::SubtitleShow, "1");
    e.set(cfg::SubtitleRenderMode, "0");
    EXPECT_TRUE(e.redIn(centre.intersected(kBottom)));
    EXPECT_TRUE(e.clearIn(topHalfFoot));
}

} // namespace
