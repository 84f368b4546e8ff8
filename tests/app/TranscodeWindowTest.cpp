// The transcode window in the main window, with the fake engine: where it opens, what
// "开始转换" sends from the stored page and the typed texts, the prompt for a missing name, and
// the return to play mode when it closes.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"
#include "support/TempDataDir.h"

#include <aplayer/FakeEngine.h>
#include <ui/Find.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "PlayerFixture.h"

using namespace qinglan;
using app::processState;
using Sequence = std::vector<std::pair<int, std::string>>;

namespace {

struct TranscodeWindowFixture : test::PlayerFixture {
    ui::CatalogueWindow* openWindow() {
        ui::UiEvent e;
        (*window->handlers().find("openTranscodeWindow"))(e);
        return window->companion("TranscodeWindow");
    }
    void type(ui::CatalogueWindow* w, const char16_t* box, const char* text) {
        ui::control<QLineEdit>(w, box).setText(QString::fromUtf8(text));
    }
    void start(ui::CatalogueWindow* w) {
        engine->clearCalls();
        ui::control<QPushButton>(w, u"按钮1").click();
    }
};

} // namespace

TEST_F(TranscodeWindowFixture, OpensCentredOverTheMainWindowAndNotModal) {
    window->window()->setGeometry(100, 80, 900, 600);
    auto* w = openWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("转码设置"));
    EXPECT_FALSE(w->isModal());
    const QRect m = window->window()->frameGeometry(), d = w->frameGeometry();
    EXPECT_EQ(d.left(), m.left() + (m.width() - d.width()) / 2);
    EXPECT_EQ(d.top(), m.top() + (m.height() - d.height()) / 2);
    // Asked again, the one window is raised, not a second made.
    EXPECT_EQ(openWindow(), w);
}

TEST_F(TranscodeWindowFixture, AnEmptyNameAsksForOneAndLeavesTheEngineAlone) {
    auto* w = openWindow();
    type(w, u"编辑框1", "1000");
    type(w, u"编辑框2", "5000");
    start(w);
    EXPECT_TRUE(engine->configSequence().empty());
    auto* prompt = window->companion("PromptWindow");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->windowTitle(), QString::fromUtf8("错误提示"));
    auto& text = ui::control<QLabel>(prompt, u"标签1");
    EXPECT_EQ(text.text(), QString::fromUtf8("请输入视频名称！"));
    EXPECT_EQ(text.width(), 90);
    EXPECT_EQ(ui::control<QPushButton>(prompt, u"按钮1").x(), 70);
    EXPECT_FALSE(ui::control<QPushButton>(prompt, u"按钮2").isVisible());
    EXPECT_FALSE(ui::control<QCheckBox>(prompt, u"选择框1").isVisible());
    // 170 outside: the design's frame allowance around the client area.
    const auto& design = prompt->design();
    EXPECT_EQ(prompt->width() + design.size.width - design.clientSize().width, 170);
    EXPECT_EQ(app::promptMode(prompt), app::PromptMode::TranscodeName);
    // 确认 only closes it.
    ui::control<QPushButton>(prompt, u"按钮1").click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->companion("PromptWindow"), nullptr);
    EXPECT_NE(window->companion("TranscodeWindow"), nullptr);
    EXPECT_TRUE(engine->configSequence().empty());
}

TEST_F(TranscodeWindowFixture, StartSendsTheStoredPageAndTheTypedTimes) {
    setFields({{138, "1"},
               {137, "0"},
               {139, "320"},
               {140, "240"},
               {142, "1"},
               {143, "0"},
               {144, "mkv"},
               {145, "/媒体/out"},
               {150, "8"},
               {151, "8"}});
    auto* w = openWindow();
    type(w, u"编辑框1", "1000");
    type(w, u"编辑框2", "");
    type(w, u"编辑框3", "片段");
    start(w);
    EXPECT_EQ(engine->configSequence(), (Sequence{{901, "320"},
                                                  {902, "240"},
                                                  {6, "2"},
                                                  {803, "mkv"},
                                                  {903, "1"},
                                                  {905, "0"},
                                                  {906, "0"},
                                                  {907, "8"},
                                                  {907, "8"},
                                                  {907, "0"},
                                                  {907, "0"},
                                                  {804, "/媒体/out/片段.mkv"},
                                                  {102, "1000"},
                                                  {103, ""}}));
    EXPECT_EQ(window->companion("PromptWindow"), nullptr);
}

TEST_F(TranscodeWindowFixture, ProcessingOffSendsOnlyTheTimes) {
    setFields({{135, "0"}, {136, "1"}});
    auto* w = openWindow();
    type(w, u"编辑框1", "1000");
    type(w, u"编辑框2", "5000");
    type(w, u"编辑框3", "a");
    start(w);
    EXPECT_EQ(engine->configSequence(), (Sequence{{102, "1000"}, {103, "5000"}}));
    // The typed span holds for the next open, in play mode too; the one after plays whole.
    window->playback().openAndPlay("/videos/a.mp4");
    EXPECT_EQ(engine->configSent(102), std::vector<std::string>{"1000"});
    EXPECT_EQ(engine->APlayer_GetConfigA(103), "5000");
    window->playback().openAndPlay("/videos/b.mp4");
    EXPECT_EQ(engine->configSent(102).back(), "0");
    EXPECT_EQ(engine->configSent(103).back(), "0");
    // A start refused for want of a name leaves the next open whole too.
    type(w, u"编辑框3", "");
    start(w);
    window->playback().openAndPlay("/videos/c.mp4");
    EXPECT_EQ(engine->configSent(102), std::vector<std::string>{"0"});
}

TEST_F(TranscodeWindowFixture, ClosingTheWindowReturnsTheEngineToPlayMode) {
    auto* w = openWindow();
    type(w, u"编辑框3", "clip");
    start(w);
    EXPECT_EQ(engine->configSent(6), std::vector<std::string>{"3"});
    engine->clearCalls();
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(engine->configSent(6), std::vector<std::string>{"1"});
}
