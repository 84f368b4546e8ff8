// The desktop's media controls against the player's own state, through playerctl (a real MPRIS
// client) on the private session bus that dbus-run-session starts for this test.
#include "app/MainWindow.h"
#include "app/ProcessState.h"

#include <aplayer/FakeEngine.h>
#include <ui/UiEvent.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

#include "PlayerFixture.h"

using namespace qinglan;
using app::processState;

namespace {

// Runs playerctl for the player while this event loop answers its calls.
QString playerctl(const QStringList& args) {
    QProcess p;
    p.start("playerctl", QStringList{"--player=qinglan"} + args);
    QElapsedTimer t;
    t.start();
    while (p.state() != QProcess::NotRunning && t.elapsed() < 10000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        p.waitForFinished(10);
    }
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

struct MprisInPlayer : test::PlayerFixture {
    void SetUp() override {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) << "no session bus";
        PlayerFixture::SetUp();
    }
    void open(const std::string& media) {
        processState().currentMedia = media;
        window->playback().openAndPlay(media);
    }
    void drop(const QString& file) {
        ui::UiEvent e;
        e.window = window->window();
        e.kind = ui::EventKind::FilesDropped;
        e.files = {file};
        (*window->handlers().find("DropFile"))(e);
    }
};

TEST_F(MprisInPlayer, ADroppedSubtitleLeavesTheTitleAndPlayAfterStopReopensTheMedia) {
    const std::string video = "/videos/第一集.mp4";
    open(video);
    drop(QStringLiteral("/videos/第一集.srt"));
    ASSERT_EQ(window->playback().subtitleFile(), "/videos/第一集.srt");

    EXPECT_EQ(playerctl({"metadata", "title"}), QStringLiteral("第一集.mp4"));
    EXPECT_EQ(playerctl({"metadata", "xesam:url"}),
              QStringLiteral("file:///videos/%E7%AC%AC%E4%B8%80%E9%9B%86.mp4"));
    EXPECT_EQ(playerctl({"status"}), "Playing");

    playerctl({"stop"});
    EXPECT_EQ(playerctl({"status"}), "Stopped");
    engine->clearCalls();
    playerctl({"play"});
    const auto opens = engine->callsOf("APlayer_OpenA");
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens.front().value, video);
    EXPECT_EQ(processState().currentMedia, video);
    EXPECT_EQ(playerctl({"metadata", "title"}), QStringLiteral("第一集.mp4"));
}

} // namespace
