// The main window's hotkeys with the in-memory registrar, on Qt's offscreen platform: which
// combinations are held when, and what a press does to the player (fake engine).
#include "app/HotkeyWiring.h"
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "support/TempDataDir.h"

#include <aplayer/ConfigTable.h>
#include <aplayer/FakeEngine.h>
#include <hotkeys/HotkeyCapture.h>
#include <platform/fake/FakeHotkeyRegistrar.h>
#include <ui/CatalogueWindow.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qinglan;
using app::processState;
using Registration = platform::FakeHotkeyRegistrar::Registration;
namespace cfg = aplayer::cfg;

namespace {

constexpr int kCtrl = 1, kShift = 2, kAlt = 4;

struct HotkeyFixture : ::testing::Test {
    test::TempDataDir data;
    app::ProcessStateScope process;
    platform::FakeHotkeyRegistrar* registrar = nullptr;
    aplayer::FakeEngine* engine = nullptr;
    std::unique_ptr<app::MainWindow> window;
    QWidget other;

    void SetUp() override {
        app::setHotkeyRegistrarFactory([this] {
            auto fake = std::make_unique<platform::FakeHotkeyRegistrar>();
            registrar = fake.get();
            return fake;
        });
        auto fake = std::make_unique<aplayer::FakeEngine>();
        engine = fake.get();
        window = std::make_unique<app::MainWindow>(std::move(fake));
        window->create();
        ASSERT_NE(registrar, nullptr);
    }
    void TearDown() override {
        window.reset();
        app::setHotkeyRegistrarFactory({});
    }
    // The desktop makes the main window the active one (the companions shown at creation may
    // have taken the activation before).
    void activate() {
        window->window()->activateWindow();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        ASSERT_EQ(QApplication::activeWindow(), window->window());
    }
    // Another window becomes the active one.
    void deactivate() {
        other.show();
        other.activateWindow();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        ASSERT_EQ(QApplication::activeWindow(), &other);
    }
    // The user presses a combination: true when the player held it. The press reaches the
    // hidden label and its dispatch through the event loop.
    bool press(int modifiers, int key) {
        const bool held = registrar->press(modifiers, key);
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        return held;
    }
    void run(const char* handler) {
        ui::UiEvent e;
        (*window->handlers().find(handler))(e);
    }
};

TEST_F(HotkeyFixture, TheNineAreHeldOnlyWhileTheMainWindowIsActive) {
    deactivate();
    EXPECT_TRUE(registrar->registered().empty());
    activate();
    // The numbers come from the settings file the window created, through the loaded copy.
    const std::vector<Registration> expected{{1, 0, 38},
                                             {2, 0, 40},
                                             {3, 0, 27},
                                             {4, 0, 32},
                                             {5, kAlt, 37},
                                             {6, kAlt, 39},
                                             {7, kCtrl | kAlt, 81},
                                             {8, 0, 37},
                                             {9, 0, 39}};
    EXPECT_EQ(registrar->registered(), expected);
    deactivate();
    EXPECT_TRUE(registrar->registered().empty());
    EXPECT_FALSE(press(0, 39));
    activate();
    EXPECT_EQ(registrar->registered().size(), 9u);
}

TEST_F(HotkeyFixture, EscLeavesFullScreen) {
    window->toggleFullScreen();
    ASSERT_TRUE(processState().fullScreen);
    activate();
    EXPECT_TRUE(press(0, 27));
    EXPECT_FALSE(processState().fullScreen);
}

TEST_F(HotkeyFixture, TheArrowsSeekTwentySecondsAndStepTheVolume) {
    activate();
    engine->setPosition(5000);
    press(0, 37);
    // Passed on unbounded; the engine clamps.
    EXPECT_EQ(engine->callsOf("APlayer_SetPosition").back().id, -15000);
    engine->setPosition(30000);
    press(0, 39);
    EXPECT_EQ(engine->callsOf("APlayer_SetPosition").back().id, 50000);

    press(0, 38);
    EXPECT_EQ(engine->volume(), 101);
    EXPECT_EQ(engine->configSent(cfg::OsdText).back(), "音量：101%");
    EXPECT_EQ(window->playback().onScreenTextHoldMs(), 1000);
    press(0, 40);
    press(0, 40);
    EXPECT_EQ(engine->volume(), 99);
}

TEST_F(HotkeyFixture, SpacePausesAndPlaysWithoutTouchingTheCaption) {
    activate();
    engine->setState(aplayer::StatePlaying);
    const std::string caption = window->playLabelCaption();
    press(0, 32);
    EXPECT_EQ(engine->APlayer_GetState(), aplayer::StatePaused);
    press(0, 32);
    EXPECT_EQ(engine->APlayer_GetState(), aplayer::StatePlaying);
    EXPECT_EQ(window->playLabelCaption(), caption);
}

TEST_F(HotkeyFixture, PreviousAndNextAreNotSeeks) {
    activate();
    engine->setPosition(60000);
    press(kAlt, 37);
    press(kAlt, 39);
    EXPECT_TRUE(engine->callsOf("APlayer_SetPosition").empty());
}

TEST_F(HotkeyFixture, TheScreenshotKeyAndTheMenuItemTakeAPicture) {
    QTemporaryDir shots;
    auto& s = processState();
    ASSERT_TRUE(s.store->writeFields({{164, shots.path().toStdString()}}).ok());
    ASSERT_TRUE(s.record.load(*s.store).ok());
    activate();
    press(kCtrl | kAlt, 81); // nothing open: nothing happens
    EXPECT_TRUE(engine->configSent(cfg::ShotFile).empty());

    // A song plays: the menu item is disabled, the hotkey still runs the action.
    window->playback().openAndPlay("/music/song.mp3");
    engine->setConfigAnswer(cfg::MediaLoaded, "1");
    press(kCtrl | kAlt, 81);
    run("TakeScreenshot");
    EXPECT_EQ(engine->configSent(cfg::ShotFile),
              (std::vector<std::string>{shots.path().toStdString() + "/2.jpg",
                                        shots.path().toStdString() + "/3.jpg"}));
    EXPECT_EQ(engine->configSent(cfg::OsdText).back(), "截图成功，图片已保存到默认目录下。");
}

TEST_F(HotkeyFixture, ACombinationCapturedInTheSettingsWindowWorksAfterItCloses) {
    activate();
    run("openSettingsWindow");
    auto* settingsWindow = window->companion("SettingsWindow");
    ASSERT_NE(settingsWindow, nullptr);
    // The settings window becomes the active one: the keys are free for its boxes.
    settingsWindow->activateWindow();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), settingsWindow);
    EXPECT_TRUE(registrar->registered().empty());
    EXPECT_FALSE(press(0, 27));

    // The leave-full-screen box captures Shift+F2 into the file.
    auto& store = *processState().store;
    hotkeys::HotkeyCapture box({191, 184, 185, 186}, [&store](int f, const auto& v) {
        ASSERT_TRUE(store.write(f, v).ok());
    });
    box.fill("Esc");
    box.keyPressed(0x10);
    box.keyPressed(0x71);
    ASSERT_EQ(box.text(), "Shift+F2");

    settingsWindow->close();
    delete settingsWindow; // closing reloads the loaded copy on its way out
    QCoreApplication::processEvents();
    window->toggleFullScreen();
    activate();
    EXPECT_FALSE(press(0, 27));
    EXPECT_TRUE(press(kShift, 0x71));
    EXPECT_FALSE(processState().fullScreen);
}

TEST_F(HotkeyFixture, ACombinationHeldByAnotherProgramIsLeftOut) {
    registrar->holdElsewhere(0, 32);
    activate();
    EXPECT_EQ(registrar->registered().size(), 8u);
    EXPECT_FALSE(press(0, 32));
    EXPECT_TRUE(press(0, 27));
}

} // namespace
