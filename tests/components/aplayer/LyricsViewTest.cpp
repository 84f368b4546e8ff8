// The lyrics view drawn offscreen into the engine's video window: what is lit, where, in which
// colours, with which background; dragging through the lines and what reaches the player.
#include "lyrics/LyricsView.h"
#include "EngineTestSupport.h"
#include "mpv/VideoWindow.h"
#include "support/TempDataDir.h"

#include <QFontMetricsF>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

using namespace qinglan::aplayer;
using namespace qinglan::aplayer::lyrics;
using qinglan::aplayer::test::waitUntil;

namespace {

// Colours as the player sends them (COLORREF decimal) and as they are drawn.
constexpr const char* kTextRef = "16711680";   // blue
constexpr const char* kHighlightRef = "65535"; // yellow
const QColor kText(0, 0, 255), kHighlight(255, 255, 0);
constexpr const char* kBackgroundRef = "2105376"; // 0x202020
const QColor kBackground(0x20, 0x20, 0x20);

bool near(QColor a, QColor b, int tolerance = 24) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Where pixels of a colour are: their count and bounding box.
struct Found {
    int count = 0;
    QRect box;
};
Found find(const QImage& image, QColor colour, int tolerance = 24) {
    Found f;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (near(image.pixelColor(x, y), colour, tolerance)) {
                ++f.count;
                f.box |= QRect(x, y, 1, 1);
            }
    return f;
}

struct ViewUnderTest {
    qinglan::test::TempDataDir dir;
    VideoWindow window{nullptr, false};
    int position = 0;
    bool audio = true;
    std::vector<int> seeks;
    std::vector<uint32_t> messages;
    LyricsView view{&window, LyricsView::Host{[this] { return position; }, [this] { return audio; },
                                              [this](int ms) {
                                                  seeks.push_back(ms);
                                                  position = ms;
                                              }}};

    explicit ViewUnderTest(const std::string& lrc = "[00:00.00]一\n"
                                                    "[00:02.00]二二二二二二二二\n"
                                                    "[00:04.00]三三三\n"
                                                    "[00:06.00]四四四四四\n") {
        window.resize(640, 360);
        window.setMessageCallback(
            [this](uint32_t m, uintptr_t, intptr_t) { messages.push_back(m); });
        std::ofstream(dir.path() / "song.lrc") << lrc;
        for (auto [id, value] : std::initializer_list<std::pair<int, std::string>>{
                 {1328, "0"},
                 {1321, "1"},
                 {1318, "0"},
                 {1319, "0"},
                 {1314, "0"},
                 {1307, kBackgroundRef},
                 {1311, "WenQuanYi Micro Hei;30;30;700;10"},
                 {1312, kTextRef},
                 {1313, kHighlightRef},
                 {1320, "0"},
                 {1303, "10"},
                 {1302, "1"},
                 {1305, (dir.path() / "song.lrc").string()}})
            view.setConfig(id, value);
        EXPECT_TRUE(waitUntil([&] { return view.shown(); }, 5000)) << "lyrics never shown";
    }
    void set(int id, const std::string& value) { view.setConfig(id, value); }
    // A frame after the view has caught up with the position (the scroll eases there).
    QImage frame(int ms = 300) {
        qinglan::aplayer::test::spin(ms);
        return window.grab().toImage();
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent e(type, at, window.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &e);
    }
    void click(QPoint at) {
        mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
    }
    void drag(QPoint from, QPoint to) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int step = 1; step <= 10; ++step)
            mouse(QEvent::MouseMove, from + (to - from) * step / 10, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
};

} // namespace

TEST(EngineLyricsStyle, ColoursFontAndBackgroundFromTheIds) {
    EXPECT_EQ(colourFromColorref("255"), QColor(255, 0, 0));
    EXPECT_EQ(colourFromColorref("16746496"), QColor(0, 0x88, 0xFF)); // 0x00BBGGRR
    EXPECT_FALSE(colourFromColorref("-1"));
    EXPECT_FALSE(colourFromColorref("blue"));
    EXPECT_FALSE(colourFromColorref(""));

    std::map<int, std::string> v{{1311, "@黑体;20;25;1500;20"},
                                 {1328, "2"},
                                 {1319, "9"},
                                 {1307, "255"},
                                 {1308, "/tmp/x.png"}};
    LyricsStyle s = lyricsStyle(v, 1307);
    EXPECT_EQ(s.fontFamily, "黑体"); // the vertical form falls back to the plain name
    EXPECT_TRUE(s.verticalFontAsked);
    EXPECT_EQ(s.charWidth, 20);
    EXPECT_EQ(s.pixelHeight, 25);
    EXPECT_EQ(s.weight, 900); // the settings page offers up to 3000; fonts end at 900
    EXPECT_EQ(s.lineSpacing, 20);
    EXPECT_EQ(s.align, LyricsStyle::Align::Right);
    EXPECT_EQ(s.animation, 0); // out of range: none
    EXPECT_TRUE(s.picture.isEmpty()) << "the colour came last";
    EXPECT_EQ(lyricsStyle(v, 1308).picture, "/tmp/x.png");

    s = lyricsStyle({{1311, "宋体;x;;y"}}, 0);
    EXPECT_EQ(s.fontFamily, "宋体");
    EXPECT_EQ(s.pixelHeight, 25) << "unreadable parts keep their defaults";
}

TEST(EngineLyricsView, TheCurrentLineIsLitAtTheCentreAndFollowsThePosition) {
    ViewUnderTest t;
    t.position = 2500;
    QImage shot = t.frame();
    Found lit = find(shot, kHighlight);
    ASSERT_GT(lit.count, 50) << "no highlight drawn";
    EXPECT_NEAR(lit.box.center().y(), 180, 20);
    EXPECT_NEAR(lit.box.center().x(), 320, 20);
    const int wide = lit.box.width();
    EXPECT_GT(find(shot, kText).count, 50) << "the neighbours are not drawn";
    EXPECT_TRUE(near(shot.pixelColor(5, 5), kBackground));

    t.position = 4500; // the three-character line
    lit = find(t.frame(), kHighlight);
    EXPECT_NEAR(lit.box.width(), wide * 3 / 8, 30);
    EXPECT_EQ(t.view.currentLine(), 2);
}

TEST(EngineLyricsView, NothingShowsWithLyricsOffWithoutAudioOrWithoutAReadableFile) {
    ViewUnderTest t;
    t.position = 2500;
    ASSERT_GT(find(t.frame(), kHighlight).count, 50);
    t.set(1302, "0");
    QImage shot = t.frame();
    EXPECT_FALSE(t.window.backdropShown());
    EXPECT_EQ(find(shot, kHighlight).count, 0);
    EXPECT_EQ(find(shot, kText).count, 0);

    t.set(1302, "1");
    t.audio = false; // a video, or nothing open
    EXPECT_EQ(find(t.frame(), kHighlight).count, 0);
    t.audio = true;
    ASSERT_GT(find(t.frame(), kHighlight).count, 50);

    t.set(1305, (t.dir.path() / "missing.lrc").string());
    EXPECT_TRUE(waitUntil([&] { return !t.view.reading(); }));
    EXPECT_EQ(find(t.frame(), kHighlight).count, 0);
    EXPECT_FALSE(t.view.shown());
}

TEST(EngineLyricsView, AlignmentPutsTheLineAtTheLeftOrRightMargin) {
    ViewUnderTest t;
    t.position = 4500;
    t.set(1328, "1");
    Found lit = find(t.frame(), kHighlight);
    EXPECT_NEAR(lit.box.left(), 32, 8); // a margin of a twentieth of the width
    t.set(1328, "2");
    lit = find(t.frame(), kHighlight);
    EXPECT_NEAR(lit.box.right(), 640 - 32, 8);
}

TEST(EngineLyricsView, TheProgressBarWipesTheHighlightAcrossTheLineWordByWord) {
    ViewUnderTest t(
        "[00:00.00]一二三四五六七八\n"
        "[00:10.00]<00:10.00>一二<00:11.00>三四<00:12.00>五六<00:16.00>七八<00:17.00>\n");
    t.set(1328, "1");
    t.set(1319, "2");
    t.position = 5000; // half of the line without word times (0 to 10 s)
    QImage shot = t.frame();
    Found lit = find(shot, kHighlight), unlit = find(shot.copy(0, 160, 640, 40), kText);
    ASSERT_GT(lit.count, 20);
    const int lineWidth = unlit.box.right() - lit.box.left();
    EXPECT_NEAR(lit.box.width(), lineWidth / 2, 20);
    EXPECT_GT(unlit.box.right(), lit.box.right() + 60)
        << "the unsung half is not in the text colour";

    // Word times: a quarter into the third word of four, though the line is half over in time.
    t.position = 13000;
    lit = find(t.frame(), kHighlight);
    EXPECT_NEAR(lit.box.width(), lineWidth * 9 / 16, 20);
}

TEST(EngineLyricsView, TheGradientChangesTheColourGradually) {
    ViewUnderTest t;
    t.set(1319, "1");
    t.position = 2000;
    t.frame(100);
    t.position = 2100; // a quarter of the way from the text colour to the highlight
    QImage shot = t.frame(100);
    EXPECT_EQ(find(shot, kHighlight, 10).count, 0);
    EXPECT_GT(find(shot, QColor(64, 64, 191), 30).count, 20);
    t.position = 3000;
    EXPECT_GT(find(t.frame(100), kHighlight, 10).count, 50);
}

TEST(EngineLyricsView, TheHeaderStandsBeforeTheFirstLineUnlit) {
    ViewUnderTest t("[ti:青岚]\n[ar:歌手]\n[00:05.00]一\n");
    t.position = 1000;
    QImage shot = t.frame();
    EXPECT_EQ(find(shot, kHighlight).count, 0);
    Found text = find(shot, kText);
    EXPECT_GT(text.count, 50);
    EXPECT_LT(text.box.top(), 180) << "the title above the centre";
    t.position = 5500;
    EXPECT_GT(find(t.frame(), kHighlight).count, 20);
}

TEST(EngineLyricsView, BorderAndBackgroundPictureAreDrawn) {
    ViewUnderTest t;
    t.position = 2500;
    t.set(1314, "1");
    t.set(1315, "255"); // red border
    EXPECT_GT(find(t.frame(), QColor(255, 0, 0), 40).count, 50);

    QImage picture(64, 200, QImage::Format_RGB32);
    picture.fill(QColor(0, 160, 0));
    const auto path = t.dir.path() / "back.png";
    ASSERT_TRUE(picture.save(QString::fromStdString(path.string())));
    t.set(1310, "1");
    t.set(1308, path.string());
    EXPECT_TRUE(waitUntil([&] { return near(t.frame(50).pixelColor(3, 3), QColor(0, 160, 0)); }))
        << "stretched picture not drawn";
    t.set(1310, "3"); // centred at its own size: the corner shows the colour
    QImage shot = t.frame();
    EXPECT_TRUE(near(shot.pixelColor(3, 3), kBackground));
    EXPECT_TRUE(near(shot.pixelColor(320, 95), QColor(0, 160, 0))); // above the first line
    t.set(1307, "255"); // a colour sent after the picture replaces it
    EXPECT_TRUE(near(t.frame().pixelColor(3, 3), QColor(255, 0, 0)));
}

TEST(EngineLyricsView, DraggingMovesThroughTheLinesAndTheReleaseSeeksNoClickReachesThePlayer) {
    ViewUnderTest t;
    t.position = 500;
    t.frame();
    QFont font("WenQuanYi Micro Hei");
    font.setPixelSize(30);
    font.setWeight(QFont::Bold);
    // Up by two lines: the line at 4 s comes under the marker.
    const int pitch = static_cast<int>(std::lround(QFontMetricsF(font).height())) + 10;
    t.drag({320, 250}, {320, 250 - 2 * pitch});
    EXPECT_TRUE(t.messages.empty()) << "a drag reached the player as a click";
    EXPECT_EQ(t.seeks, std::vector<int>{4000});
    t.frame();
    EXPECT_EQ(t.view.currentLine(), 2);

    // A click is one still: it reaches the player, as down and up.
    t.click({320, 250});
    EXPECT_EQ(t.messages, (std::vector<uint32_t>{MessageLeftButtonDown, MessageLeftButtonUp}));
    // Two clicks make a double click...
    t.messages.clear();
    t.click({320, 250});
    EXPECT_EQ(t.messages,
              (std::vector<uint32_t>{MessageLeftButtonDoubleClick, MessageLeftButtonUp}));
    // ...but a drag between two clicks makes the second a first one again.
    t.messages.clear();
    t.click({100, 100});
    t.drag({100, 100}, {100, 140});
    t.click({100, 100});
    EXPECT_EQ(t.messages, (std::vector<uint32_t>{MessageLeftButtonDown, MessageLeftButtonUp,
                                                 MessageLeftButtonDown, MessageLeftButtonUp}));
    EXPECT_EQ(t.seeks.size(), 2u);
}

TEST(EngineLyricsView, WithDraggingOffThePressReachesThePlayerAtOnceAndNothingSeeks) {
    ViewUnderTest t;
    t.set(1321, "0");
    t.frame(50);
    t.mouse(QEvent::MouseButtonPress, {320, 250}, Qt::LeftButton);
    EXPECT_EQ(t.messages, std::vector<uint32_t>{MessageLeftButtonDown}) << "held back";
    for (int y = 250; y > 100; y -= 10)
        t.mouse(QEvent::MouseMove, {320, y}, Qt::LeftButton);
    t.mouse(QEvent::MouseButtonRelease, {320, 100}, Qt::NoButton);
    EXPECT_EQ(t.messages, (std::vector<uint32_t>{MessageLeftButtonDown, MessageLeftButtonUp}));
    EXPECT_TRUE(t.seeks.empty());
}

TEST(EngineLyricsView, PointerHandlersAreAskedInOrderAndTheWheelGoesToTheFirstThatTakesIt) {
    VideoWindow window(nullptr, false);
    window.resize(200, 200);
    std::vector<std::string> calls;
    bool firstActive = false;
    window.addPointerHandler({[&] { return firstActive; },
                              [&](QPoint, QPoint) { calls.push_back("first drag"); },
                              [&](QPoint) { calls.push_back("first release"); },
                              [&](int d) {
                                  calls.push_back("first wheel " + std::to_string(d));
                                  return true;
                              }});
    window.addPointerHandler({[] { return true; },
                              [&](QPoint, QPoint) { calls.push_back("second drag"); },
                              [&](QPoint) { calls.push_back("second release"); },
                              [&](int) {
                                  calls.push_back("second wheel");
                                  return false;
                              }});
    auto press = [&](QEvent::Type type, QPoint at, Qt::MouseButtons b) {
        QMouseEvent e(type, at, at, Qt::LeftButton, b, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &e);
    };
    press(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
    press(QEvent::MouseMove, {11, 11}, Qt::LeftButton); // within the drag distance: no drag yet
    press(QEvent::MouseMove, {60, 10}, Qt::LeftButton);
    press(QEvent::MouseButtonRelease, {60, 10}, Qt::NoButton);
    EXPECT_EQ(calls, (std::vector<std::string>{"second drag", "second release"}));

    calls.clear();
    firstActive = true;
    QWheelEvent wheel({50, 50}, {50, 50}, {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&window, &wheel);
    EXPECT_TRUE(wheel.isAccepted());
    EXPECT_EQ(calls, (std::vector<std::string>{"first wheel 120"}));
    firstActive = false;
    calls.clear();
    QWheelEvent unused({50, 50}, {50, 50}, {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&window, &unused);
    EXPECT_FALSE(unused.isAccepted()) << "a wheel no handler takes goes on to the parent";
    EXPECT_EQ(calls, (std::vector<std::string>{"second wheel"}));
}
