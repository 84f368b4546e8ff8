// The main window on Qt's offscreen platform with the fake engine and a temporary data folder.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "support/TempDataDir.h"

#include <aplayer/FakeEngine.h>
#include <ui/Find.h>

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qinglan;
using app::processState;

namespace {

struct MainWindowFixture : ::testing::Test {
    test::TempDataDir data; // outlives the window, which writes on its way out
    app::ProcessStateScope process;
    aplayer::FakeEngine* engine = nullptr;
    std::unique_ptr<app::MainWindow> window;

    void TearDown() override { window.reset(); }
    void create(const std::string& media = {}) {
        processState().currentMedia = media;
        auto fake = std::make_unique<aplayer::FakeEngine>();
        engine = fake.get();
        window = std::make_unique<app::MainWindow>(std::move(fake));
        window->create();
        ASSERT_NE(window->window(), nullptr);
    }
    void setFields(std::vector<std::pair<int, settings::SettingsValue>> fields) {
        auto& s = processState();
        ASSERT_TRUE(s.store->writeFields(fields).ok());
        ASSERT_TRUE(s.record.load(*s.store).ok());
    }
    ui::CatalogueWindow* open(const char* handler) {
        ui::UiEvent e;
        (*window->handlers().find(handler))(e);
        return window->companion(handler == std::string("openSkipIntroWindow") ? "SkipIntroWindow"
                                 : handler == std::string("openVolumeWindow")
                                     ? "VolumeWindow"
                                     : "NetworkOpenDialog");
    }
    int timerCPeriod() const {
        auto& c = ui::control<QTimer>(window->window(), u"时钟4");
        return c.isActive() ? c.interval() : 0;
    }
};

} // namespace

TEST_F(MainWindowFixture, CreationMakesTheEngineFirstThenItsLogoAndOpensTheGivenMedia) {
    create("/videos/第一集.mp4");
    const auto& calls = engine->calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0].operation, "APlayer_Create");
    EXPECT_EQ(calls[1].operation, "APlayer_SetCustomLogo");
    EXPECT_EQ(engine->lastOpened(), "/videos/第一集.mp4");
    // The settings were there before the engine: the first-run file exists.
    EXPECT_TRUE(std::filesystem::exists(data.playerDataDir() / "mote.edb"));
    EXPECT_NEAR(window->companion("SidePanel")->windowOpacity(), 70 / 255.0, 0.01);
    EXPECT_NEAR(window->companion("MaximizeButton")->windowOpacity(), 1 / 255.0, 0.01);
    EXPECT_EQ(timerCPeriod(), 1); // fading in
    // The list window stands where the file says (its left and top are read from the file).
    EXPECT_EQ(window->companion("VideoListWindow")->geometry(), QRect(50, 50, 218, 355));
}

TEST_F(MainWindowFixture, NoMediaGivenMeansNoOpen) {
    create();
    EXPECT_TRUE(engine->callsOf("APlayer_OpenA").empty());
}

TEST_F(MainWindowFixture, CloseWithExitChosenFadesOutInsteadOfClosing) {
    create();
    setFields({{134, "1"}, {133, "0"}});
    window->window()->close();
    EXPECT_TRUE(window->window()->isVisible());
    EXPECT_EQ(timerCPeriod(), 200);
    EXPECT_FALSE(window->companion("SidePanel")->isVisible());
}

TEST_F(MainWindowFixture, CloseWithTrayChosenHidesTheWindowAndKeepsRunning) {
    create();
    window->setTrayAvailability([] { return true; });
    setFields({{134, "0"}, {133, "1"}});
    window->window()->close();
    EXPECT_FALSE(window->window()->isVisible());
    EXPECT_FALSE(processState().sidePanelEnabled);
    // Still alive: a file handed over by a second start brings it back and plays.
    window->openHandedOver("/videos/下一集.mkv");
    EXPECT_TRUE(window->window()->isVisible());
    EXPECT_EQ(engine->lastOpened(), "/videos/下一集.mkv");
}

TEST_F(MainWindowFixture, CloseToTrayWithoutATrayHostMinimisesInstead) {
    create();
    window->setTrayAvailability([] { return false; });
    setFields({{134, "0"}, {133, "1"}});
    window->window()->close();
    // Hidden with no tray icon there would be no way back: it stays reachable, minimised.
    EXPECT_TRUE(window->window()->isVisible());
    EXPECT_TRUE(window->window()->isMinimized());
    EXPECT_FALSE(window->isShutDown());
}

TEST_F(MainWindowFixture, CloseWithNeitherEndsAndSavesTheGeometry) {
    create();
    setFields({{134, "0"}, {133, "0"}});
    window->window()->setGeometry(40, 30, 800, 600);
    window->window()->close();
    EXPECT_FALSE(window->window()->isVisible());
    auto& store = *processState().store;
    EXPECT_EQ(store.read(168).value().toInt(), 40);
    EXPECT_EQ(store.read(170).value().toInt(), 800);
    EXPECT_EQ(store.read(171).value().toInt(), 600);
}

TEST_F(MainWindowFixture, FullScreenCoversTheScreenAndShareModeGivesTheVideo40More) {
    create();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    window->toggleFullScreen();
    EXPECT_TRUE(processState().fullScreen);
    EXPECT_TRUE(processState().geometryFrozen);
    EXPECT_EQ(engine->APlayer_GetWindow()->geometry(),
              QRect(0, 0, screen.width(), screen.height()));
    window->toggleFullScreen();
    EXPECT_FALSE(processState().geometryFrozen);

    processState().shareMode = true;
    window->toggleFullScreen();
    EXPECT_EQ(engine->APlayer_GetWindow()->geometry(),
              QRect(0, 0, screen.width(), screen.height() + 40));
}

TEST_F(MainWindowFixture, NetworkOpenAcceptsHttpsAndIgnoresOtherText) {
    create();
    auto* dialog = open("openNetworkOpenDialog");
    ASSERT_NE(dialog, nullptr);
    ui::control<QLineEdit>(dialog, u"编辑框1").setText("ftp://host/v.mp4");
    ui::control<QPushButton>(dialog, u"按钮1").click();
    EXPECT_TRUE(engine->callsOf("APlayer_OpenA").empty());
    EXPECT_TRUE(dialog->isVisible()); // stays open for correction

    ui::control<QLineEdit>(dialog, u"编辑框1").setText("https://host/live.m3u8");
    ui::control<QRadioButton>(dialog, u"单选框2").setChecked(true); // share mode
    ui::control<QPushButton>(dialog, u"按钮1").click();
    EXPECT_EQ(engine->lastOpened(), "https://host/live.m3u8");
    EXPECT_TRUE(processState().shareMode);
    EXPECT_FALSE(window->companion("FloatingControlBar")->isVisible());
}

TEST_F(MainWindowFixture, SkipWindowStoresItsFieldsAtOnce) {
    create();
    engine->setDuration(600000);
    auto* skip = open("openSkipIntroWindow");
    ASSERT_NE(skip, nullptr);
    ui::control<QRadioButton>(skip, u"单选框1").click();
    ui::control<QLineEdit>(skip, u"编辑框1").setText("30");
    ui::control<QLineEdit>(skip, u"编辑框2").setText("60");
    auto& store = *processState().store;
    EXPECT_EQ(store.read(173).value().toText(), "1");
    EXPECT_EQ(store.read(204).value().toText(), "0");
    EXPECT_EQ(store.read(205).value().toText(), "30");
    EXPECT_EQ(store.read(206).value().toText(), "60");
    EXPECT_EQ(store.read(207).value().toText(), "540000");

    // Closing reloads the in-memory copy; the next open cuts 30 s from the front and 60 s
    // from the end of that media, read through the same copy and file the player uses.
    skip->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    engine->clearCalls();
    window->openHandedOver("/videos/片头片尾.mp4");
    EXPECT_EQ(engine->configSent(102), std::vector<std::string>{"30000"});
    EXPECT_EQ(engine->configSent(103), std::vector<std::string>{"-60000"});
}

TEST_F(MainWindowFixture, OwnedWindowsOpenTogetherAndCompanionsSurviveAWindowManagerClose) {
    create();
    ASSERT_NE(open("openVolumeWindow"), nullptr);
    ASSERT_NE(open("openSkipIntroWindow"), nullptr);
    EXPECT_NE(window->companion("VolumeWindow"), nullptr);
    EXPECT_NE(window->companion("SkipIntroWindow"), nullptr);

    for (const char* role :
         {"SidePanel", "FloatingControlBar", "MaximizeButton", "MinimizeButton"}) {
        auto* w = window->companion(role);
        ASSERT_NE(w, nullptr) << role;
        w->close(); // what Alt+F4 on the focused companion asks for
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(window->companion(role), w) << role;
    }
    // Both are used again at once: the next progress update and the panel pictures.
    window->showProgress(12, 3, "00:00:03/00:00:12");
    window->setPlayButtonShowsPause(true);
}

TEST_F(MainWindowFixture, ExitFullScreenHotkeyRestoresTheSavedGeometryNotTheMaximizedOne) {
    create();
    window->window()->setGeometry(40, 30, 800, 600);
    window->maximize(); // saves 40, 30, 800, 600 first
    EXPECT_TRUE(window->maximized());
    window->leaveFullScreen();
    EXPECT_FALSE(window->maximized());
    EXPECT_EQ(window->window()->geometry(), QRect(40, 30, 800, 600));
    EXPECT_EQ(processState().store->read(170).value().toInt(), 800);
}

TEST_F(MainWindowFixture, TheMaximizeHotSpotIsApartFromFullScreenAndOnlyTheNormalSizeIsStored) {
    create();
    const QRect normal(40, 30, 600, 400);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    auto& store = *processState().store;
    const auto stored = [&store] {
        return QRect(store.read(168).value().toInt(), store.read(169).value().toInt(),
                     store.read(170).value().toInt(), store.read(171).value().toInt());
    };
    QWidget& main = *window->window();
    main.setGeometry(normal);

    window->maximize();
    const QRect maximized = main.geometry();
    ASSERT_NE(maximized, normal);
    EXPECT_FALSE(processState().fullScreen);
    // "全屏" enters at once from a maximized window, and leaving goes back to it.
    window->toggleFullScreen();
    EXPECT_TRUE(processState().fullScreen);
    EXPECT_EQ(main.geometry(), screen);
    window->toggleFullScreen();
    EXPECT_FALSE(processState().fullScreen);
    EXPECT_EQ(main.geometry(), maximized);
    EXPECT_TRUE(window->maximized());
    EXPECT_EQ(stored(), normal);
    // The second click restores the normal size.
    window->maximize();
    EXPECT_EQ(main.geometry(), normal);
    EXPECT_FALSE(window->maximized());

    // From the normal size full screen returns to it, the hotkey too.
    window->toggleFullScreen();
    window->toggleFullScreen();
    EXPECT_EQ(main.geometry(), normal);
    window->maximize();
    window->toggleFullScreen();
    window->leaveFullScreen();
    EXPECT_EQ(main.geometry(), maximized);
    // Ending while maximized keeps the normal size for the next start.
    window->shutdown();
    EXPECT_EQ(stored(), normal);
}

TEST_F(MainWindowFixture, AHandedOverFileBringsTheWindowBackInTheStateItHad) {
    create();
    QWidget& main = *window->window();
    main.showMinimized();
    ASSERT_TRUE(main.isMinimized());
    window->openHandedOver("/videos/一.mkv");
    EXPECT_FALSE(main.isMinimized());
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(engine->lastOpened(), "/videos/一.mkv");

    // Put in the tray from full screen, it comes back in full screen, hot spots still hidden.
    window->setTrayAvailability([] { return true; });
    setFields({{134, "0"}, {133, "1"}});
    window->toggleFullScreen();
    main.close();
    ASSERT_FALSE(main.isVisible());
    window->openHandedOver("/videos/二.mkv");
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(processState().fullScreen);
    EXPECT_EQ(main.geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_FALSE(window->companion("MaximizeButton")->isVisible());
    EXPECT_FALSE(window->companion("FloatingControlBar")->isVisible());
}

TEST_F(MainWindowFixture, PointerTimersLeaveTheSidePanelAloneWhileInTheTray) {
    create();
    window->setTrayAvailability([] { return true; });
    setFields({{134, "0"}, {133, "1"}});
    window->window()->setGeometry(40, 30, 800, 600);
    window->window()->close();
    ASSERT_FALSE(window->window()->isVisible());
    window->sidePanelCheck(); // as the tray menu's items do before they act
    for (const QPoint p : {QPoint(100, 100), QPoint(300, 200), QPoint(500, 300)}) {
        QCursor::setPos(p);
        window->tickPointerWatch();
        window->tickPointerIdle();
        EXPECT_FALSE(window->companion("SidePanel")->isVisible());
    }
}

TEST_F(MainWindowFixture, VolumeWindowSetsVolumeMuteAndAspect) {
    create();
    auto* volume = open("openVolumeWindow");
    ASSERT_NE(volume, nullptr);
    EXPECT_TRUE(ui::control<QRadioButton>(volume, u"单选框1").isChecked());
    EXPECT_TRUE(ui::control<QRadioButton>(volume, u"单选框7").isChecked());
    ui::control<QRadioButton>(volume, u"单选框8").click();
    EXPECT_EQ(engine->configSent(12).back(), "1");
    ui::control<QRadioButton>(volume, u"单选框4").click();
    EXPECT_EQ(engine->configSent(204).back(), "2.35;1");
    EXPECT_EQ(volume->windowTitle(), QString::fromUtf8("音量设置"));
}
