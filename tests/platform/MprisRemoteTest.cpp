// The MPRIS remote with a scripted player, driven by playerctl (a real MPRIS client) over the
// private session bus that dbus-run-session starts for this test.
#include <platform/MediaRemote.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qinglan;
using platform::MediaStatus;

namespace {

// Runs playerctl for the player while our event loop answers its calls.
QString playerctl(const QStringList& args) {
    QProcess p;
    p.start("playerctl", QStringList{"--player=qinglan"} + args);
    QElapsedTimer t;
    t.start();
    while (p.state() != QProcess::NotRunning && t.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        p.waitForFinished(10);
    }
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

struct Mpris : ::testing::Test {
    MediaStatus status;
    std::int64_t position = 0;
    std::vector<std::string> calls;
    std::unique_ptr<platform::MediaRemote> remote;

    void SetUp() override {
        platform::MediaRemote::Player p;
        const auto record = [this](const char* what) {
            return [this, what] { calls.push_back(what); };
        };
        p.playPause = record("playPause");
        p.play = record("play");
        p.pause = record("pause");
        p.stop = record("stop");
        p.next = record("next");
        p.previous = record("previous");
        p.raise = record("raise");
        p.quit = record("quit");
        p.seekBy = [this](std::int64_t ms) {
            calls.push_back("seekBy " + std::to_string(ms));
            position += ms;
        };
        p.seekTo = [this](std::int64_t ms) {
            calls.push_back("seekTo " + std::to_string(ms));
            position = ms;
        };
        p.open = [this](const std::string& uri) { calls.push_back("open " + uri); };
        p.setVolume = [this](double v) { status.volume = v; };
        p.status = [this] { return status; };
        p.positionMs = [this] { return position; };
        remote = platform::makeMediaRemote(std::move(p));
        ASSERT_NE(remote, nullptr) << "no MPRIS on the test's session bus";
        status = {MediaStatus::State::Playing, "第一集.mp4", "file:///videos/%E7%AC%AC.mp4", 600000,
                  1.0};
        position = 42000;
    }
};

TEST_F(Mpris, ControlsReachThePlayer) {
    playerctl({"play-pause"});
    playerctl({"next"});
    playerctl({"previous"});
    playerctl({"pause"});
    playerctl({"play"});
    playerctl({"stop"});
    playerctl({"open", "file:///videos/b.mkv"});
    EXPECT_EQ(calls, (std::vector<std::string>{"playPause", "next", "previous", "pause", "play",
                                               "stop", "open file:///videos/b.mkv"}));
}

TEST_F(Mpris, StatusMetadataPositionAndVolumeAreTheDesktopsToRead) {
    EXPECT_EQ(playerctl({"status"}), "Playing");
    EXPECT_EQ(playerctl({"metadata", "--format", "{{title}}|{{mpris:length}}|{{xesam:url}}"}),
              QString::fromUtf8("第一集.mp4|600000000|file:///videos/%E7%AC%AC.mp4"));
    EXPECT_NEAR(playerctl({"position"}).toDouble(), 42.0, 0.01);
    playerctl({"volume", "0.5"});
    EXPECT_EQ(status.volume, 0.5);
    EXPECT_NEAR(playerctl({"volume"}).toDouble(), 0.5, 0.01);
    status.state = MediaStatus::State::Paused;
    EXPECT_EQ(playerctl({"status"}), "Paused");
}

TEST_F(Mpris, SeekAndSetPosition) {
    playerctl({"position", "10+"}); // Seek by +10 s
    EXPECT_EQ(position, 52000);
    playerctl({"position", "5-"});
    EXPECT_EQ(position, 47000);
    playerctl({"position", "100"}); // SetPosition on the open track
    EXPECT_EQ(position, 100000);
    // Past the end of the media: ignored.
    playerctl({"position", "700"});
    EXPECT_EQ(position, 100000);
}

TEST_F(Mpris, EveryChangeIsAnnounced) {
    QProcess follow;
    follow.start("playerctl", {"--player=qinglan", "--follow", "status"});
    ASSERT_TRUE(follow.waitForStarted());
    QByteArray seen;
    const auto waitFor = [&](const QByteArray& text) {
        QElapsedTimer t;
        t.start();
        while (!seen.contains(text) && t.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            follow.waitForReadyRead(10);
            seen += follow.readAllStandardOutput();
        }
        return seen.contains(text);
    };
    EXPECT_TRUE(waitFor("Playing"));
    status.state = MediaStatus::State::Paused;
    remote->refresh();
    EXPECT_TRUE(waitFor("Paused"));
    // A change the remote finds by itself, without being told.
    status.state = MediaStatus::State::Stopped;
    EXPECT_TRUE(waitFor("Stopped"));
    follow.kill();
    follow.waitForFinished();
}

TEST_F(Mpris, TheDesktopSeesThePlayerByName) {
    EXPECT_TRUE(playerctl({"--list-all"}).split('\n').contains("qinglan"));
    playerctl({"metadata"}); // any call: the root interface answers on the same object
    EXPECT_EQ(calls.size(), 0u);
}

// Run without a session bus: no remote, no error.
TEST(MprisWithoutBus, NoBusMeansNoRemote) {
    EXPECT_EQ(platform::makeMediaRemote({}), nullptr);
}

} // namespace
