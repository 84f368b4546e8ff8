// The settings window in the player: a second after an open the engine gets exactly the stored
// options' sequence, and the window's controls reach the player's engine at once.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"
#include "support/TempDataDir.h"

#include <aplayer/FakeEngine.h>
#include <settingswindow/ApplyAllSettings.h>
#include <settingswindow/SettingsWindow.h>
#include <ui/Controls.h>
#include <ui/Find.h>

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <gtest/gtest.h>

#include "PlayerFixture.h"

using namespace qinglan;
using app::processState;

namespace {

struct SettingsInPlayer : test::PlayerFixture {
    static void waitMs(int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
};

TEST_F(SettingsInPlayer, ASecondAfterAnOpenTheEngineGetsTheStoredOptionsInOrder) {
    setFields({{98, "0"}, {99, "1"}, {73, "1"}, {74, "0"}, {77, "蓝黄"}});
    auto& s = processState();
    window->playback().openAndPlay("/music/歌.mp3");
    engine->clearCalls();
    waitMs(1300);

    std::vector<std::pair<int, std::string>> expected;
    for (const auto& v :
         settingswindow::applyAllSettings(s.record, {.mediaStem = "/music/歌.", .audio = true}))
        expected.emplace_back(v.id, v.value);
    EXPECT_EQ(engine->configSequence(), expected);
    EXPECT_EQ(engine->configSent(1305).back(), "/music/歌.lrc");
    EXPECT_EQ(engine->configSent(404).back(), "1");
    EXPECT_EQ(engine->configSent(312).back(), "4");
}

TEST_F(SettingsInPlayer, TheWindowOpensCentredAndItsControlsReachTheEngineAtOnce) {
    window->window()->setGeometry(100, 80, 900, 700);
    (*window->handlers().find("openSettingsWindow"))(*std::make_unique<ui::UiEvent>());
    auto* settings = window->companion("SettingsWindow");
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(settings->isModal());
    const QRect main = window->window()->frameGeometry();
    EXPECT_EQ(settings->frameGeometry().left(),
              main.left() + (main.width() - settings->frameGeometry().width()) / 2);

    emit ui::control<ui::ClickableLabel>(settings, u"标签26").leftPressed(); // 声  音
    auto* page = settingswindow::embeddedPage(settings);
    ASSERT_NE(page, nullptr);
    engine->clearCalls();
    ui::control<QRadioButton>(page, u"单选框2").click(); // 左声道
    EXPECT_EQ(engine->configSent(404), std::vector<std::string>{"1"});
    EXPECT_EQ(processState().store->read(99).value().toText(), "1");

    // The loaded settings follow when the window goes.
    EXPECT_FALSE(processState().record.isOn(99));
    delete settings;
    EXPECT_TRUE(processState().record.isOn(99));
}

TEST_F(SettingsInPlayer, OnceTheFilesChangedTheMenuAsksToEndThePlayerInstead) {
    processState().fileConfigChanged = true;
    (*window->handlers().find("openSettingsWindow"))(*std::make_unique<ui::UiEvent>());
    EXPECT_EQ(window->companion("SettingsWindow"), nullptr);
    auto* prompt = window->companion("PromptWindow");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(app::promptMode(prompt), app::PromptMode::Restart);
    EXPECT_EQ(prompt->windowTitle(), QString::fromUtf8("重启提示"));
    auto& text = ui::control<QLabel>(prompt, u"标签1");
    EXPECT_EQ(text.text(), QString::fromUtf8("检测到新的文件配置，是否重启软件！"));
    EXPECT_EQ(text.width(), 208);
    EXPECT_EQ(ui::control<QPushButton>(prompt, u"按钮1").x(), 80);
    EXPECT_EQ(ui::control<QPushButton>(prompt, u"按钮2").x(), 176);
    EXPECT_FALSE(ui::control<QPushButton>(prompt, u"按钮2").isHidden());
    EXPECT_TRUE(ui::control<QCheckBox>(prompt, u"选择框1").isHidden());
    const auto& design = prompt->design();
    EXPECT_EQ(prompt->width() + design.size.width - design.clientSize().width, 277);
    // 取消 only closes it; the player goes on.
    ui::control<QPushButton>(prompt, u"按钮2").click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->companion("PromptWindow"), nullptr);
    EXPECT_TRUE(window->window()->isVisible());
}

} // namespace
