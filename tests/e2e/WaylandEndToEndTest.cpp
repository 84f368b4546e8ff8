// The player in a Wayland session with XWayland (run by with-weston.sh): both WAYLAND_DISPLAY
// and DISPLAY set, no platform chosen by the user. It must run on the X display, where window
// opacity and the engine's embedded video window work.
#include "e2e/PlayerProcess.h"
#include "support/TestMedia.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

using namespace qinglan::test;
namespace fs = std::filesystem;

TEST(EndToEndWayland, RunsOnXWaylandWithTheVideoEmbeddedInTheMainWindow) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY"));
    ASSERT_TRUE(qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"));

    TempDataDir data;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", QString::fromStdString((data.path() / "data").string()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((data.path() / "config").string()));
    QProcess player;
    player.setProcessEnvironment(env);
    player.setProcessChannelMode(QProcess::MergedChannels);
    player.start(QString::fromStdString((buildDir() / "qinglan").string()),
                 {QString::fromStdString(media("clip.mp4").string())});
    ASSERT_TRUE(player.waitForStarted(5000));

    // The main window is an X window of the XWayland display...
    std::string main;
    ASSERT_TRUE(waitFor(
        [&] {
            const auto windows = playerWindows();
            if (!windows.empty()) main = windows.front();
            return !main.empty() || player.state() == QProcess::NotRunning;
        },
        20000));
    ASSERT_FALSE(main.empty()) << "no main window on "
                               << qPrintable(qEnvironmentVariable("DISPLAY")) << ":\n"
                               << player.readAll().toStdString();

    // ...and the engine's video window (mpv's, class "mpv") lies inside it.
    QString tree;
    const bool embedded = waitFor(
        [&] {
            tree = runTool("xwininfo", {"-tree", "-id", QString::fromStdString(main)});
            return tree.contains("\"mpv\")");
        },
        15000);
    EXPECT_TRUE(embedded) << "no video window inside the main window:\n" << tree.toStdString();

    ::kill(static_cast<pid_t>(player.processId()), SIGTERM);
    EXPECT_TRUE(player.waitForFinished(10000));
    EXPECT_EQ(player.exitCode(), 0);
    const QString output = QString::fromUtf8(player.readAll());
    EXPECT_FALSE(output.contains("opacity", Qt::CaseInsensitive)) << output.toStdString();
    EXPECT_FALSE(output.contains("wayland", Qt::CaseInsensitive)) << output.toStdString();
}
