// Starting the player from a terminal: the options, files named like options, a second start
// without a display, and a first start without an X server.
#include "e2e/PlayerProcess.h"
#include "e2e/Screen.h"
#include "support/TestMedia.h"

#include <qinglan/Version.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

using namespace qinglan::test;
namespace fs = std::filesystem;

namespace {

const QColor kBlue(0x1E, 0x5A, 0xC8);
const QColor kOrange(0xE0, 0x80, 0x1E);

struct Result {
    int code = -1; // -1: did not end in time, or ended by a signal
    std::string out, err;
};

QString program(const char* name) {
    return QString::fromStdString((buildDir() / name).string());
}

// The data folders of PlayerProcess, so a run started here meets the player it started.
QProcessEnvironment environmentFor(const TempDataDir& data) {
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", QString::fromStdString((data.path() / "data").string()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((data.path() / "config").string()));
    const auto runtime = data.path() / "run";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.string()));
    env.insert("QT_QPA_PLATFORM", "xcb");
    return env;
}

QProcessEnvironment withoutDisplay(QProcessEnvironment env) {
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    return env;
}

Result run(const QString& prog, const QStringList& args, const QProcessEnvironment& env,
           const QString& workingDir = {}, int timeoutMs = 10000) {
    QProcess p;
    p.setProcessEnvironment(env);
    if (!workingDir.isEmpty()) p.setWorkingDirectory(workingDir);
    p.start(prog, args);
    Result r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(2000);
        return r;
    }
    if (p.exitStatus() == QProcess::NormalExit) r.code = p.exitCode();
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

bool endsWithNewline(const std::string& s) {
    return !s.empty() && s.back() == '\n';
}

// A point of the video that the clip's moving square never crosses.
bool showsColour(QColor colour, int ms = 15000) {
    return waitFor(
        [&] {
            const auto windows = playerWindows();
            if (windows.empty()) return false;
            const QRect main = windowRect(windows.front());
            const QPoint p(main.x() + main.width() / 2, main.y() + (main.height() - 62) / 2 - 110);
            const QImage screen = grabScreen();
            return !screen.isNull() && screen.rect().contains(p) &&
                   near(screen.pixelColor(p), colour);
        },
        ms);
}

} // namespace

TEST(EndToEndCommandLine, HelpAndVersionPrintAndEndWithoutAnyDisplay) {
    TempDataDir data;
    const auto env = withoutDisplay(environmentFor(data));
    const std::string version = std::string("qinglan ") + qinglan::kVersion + "\n";
    for (const char* prog : {"qinglan", "qinglan-player"}) {
        SCOPED_TRACE(prog);
        const auto help = run(program(prog), {"--help"}, env);
        EXPECT_EQ(help.code, 0);
        EXPECT_NE(help.out.find("usage: qinglan"), std::string::npos);
        EXPECT_TRUE(endsWithNewline(help.out));
        EXPECT_EQ(help.err, "");
        const auto ver = run(program(prog), {"--version"}, env);
        EXPECT_EQ(ver.code, 0);
        EXPECT_EQ(ver.out, version);
        EXPECT_EQ(ver.err, "");
    }
    const auto edb = run(program("qinglan-edb"), {"--version"}, env);
    EXPECT_EQ(edb.code, 0);
    EXPECT_EQ(edb.out, std::string("qinglan-edb ") + qinglan::kVersion + "\n");
    // Every message ends its line, the usage errors' too.
    const auto usage = run(program("qinglan-edb"), {}, env);
    EXPECT_EQ(usage.code, 2);
    EXPECT_TRUE(endsWithNewline(usage.err)) << usage.err;
    EXPECT_FALSE(fs::exists(data.playerDataDir() / "mote.edb")) << "an option started the player";
}

TEST(EndToEndCommandLine, FilesNamedLikeOptionsAreOpenedAndHandedOver) {
    TempDataDir data;
    const auto folder = data.path() / "media";
    fs::create_directories(folder);
    fs::copy_file(media("orange clip.mp4"), folder / "--help");
    fs::copy_file(media("clip.mp4"), folder / "--version");
    const auto env = environmentFor(data);
    const auto dir = QString::fromStdString(folder.string());

    QProcess player;
    player.setProcessEnvironment(env);
    player.setWorkingDirectory(dir);
    player.setProcessChannelMode(QProcess::ForwardedChannels);
    player.start(program("qinglan"), {"./--help"});
    ASSERT_TRUE(waitFor([] { return !playerWindows().empty(); }, 15000));
    EXPECT_TRUE(showsColour(kOrange)) << "./--help was not played";

    EXPECT_EQ(run(program("qinglan"), {"--", "--version"}, env, dir).code, 0);
    EXPECT_TRUE(showsColour(kBlue)) << "-- --version was not handed over and played";
    EXPECT_EQ(playerWindows().size(), 1u);

    ::kill(static_cast<pid_t>(player.processId()), SIGTERM);
    EXPECT_TRUE(player.waitForFinished(10000));
    EXPECT_EQ(player.exitCode(), 0);
}

TEST(EndToEndCommandLine, ASecondStartWithoutADisplayHandsItsFileOver) {
    TempDataDir data;
    PlayerProcess player(data);
    player.start({media("clip.mp4").string()});
    ASSERT_TRUE(player.waitForMainWindow());
    ASSERT_TRUE(showsColour(kBlue));

    // From a terminal with no display at all: the file still reaches the running player.
    const auto second = run(program("qinglan"), {QString::fromStdString(media("orange clip.mp4"))},
                            withoutDisplay(environmentFor(data)));
    EXPECT_EQ(second.code, 0);
    EXPECT_EQ(second.err, "");
    EXPECT_TRUE(showsColour(kOrange)) << "the handed-over clip is not shown";
    EXPECT_EQ(playerWindows().size(), 1u);
    EXPECT_EQ(player.terminate(), 0);
}

TEST(EndToEndCommandLine, WithoutAnXServerTheFirstStartSaysSoInOneLineAndFails) {
    TempDataDir data;
    auto noDisplay = withoutDisplay(environmentFor(data));
    auto unreachable = noDisplay;
    unreachable.insert("DISPLAY", ":4711");
    for (const auto& env : {noDisplay, unreachable}) {
        SCOPED_TRACE(env.value("DISPLAY", "(unset)").toStdString());
        const auto r = run(program("qinglan"), {QString::fromStdString(media("clip.mp4"))}, env);
        EXPECT_EQ(r.code, 1) << "ended by a signal or hung";
        EXPECT_NE(r.err.find("X server"), std::string::npos) << r.err;
        EXPECT_TRUE(endsWithNewline(r.err));
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.out, "");
    }
}
