// The Debian package as a user gets it: built from this build tree, checked by Debian's own
// tools, installed with dpkg, the installed player run on the test's X display with data and
// config folders of the test's own, and removed again. It changes the system, so it runs as root
// only and alone; whatever happens, it removes what it installed.
#include "e2e/PlayerProcess.h"
#include "e2e/Screen.h"
#include "support/FileText.h"
#include "support/TestMedia.h"

#include <qinglan/Version.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

using namespace qinglan::test;
namespace fs = std::filesystem;

namespace {

const fs::path kPlayer = "/usr/bin/qinglan";
const fs::path kEdb = "/usr/bin/qinglan-edb";
const QColor kBlue(0x1E, 0x5A, 0xC8);

struct Ran {
    int exitCode = -1;
    std::string output; // standard output and error together
};

Ran run(const QString& program, const QStringList& args, int timeoutMs = 120000) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(2000);
        return {-1, "timed out: " + program.toStdString()};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAll().toStdString()};
}

// dpkg refuses to start while another package tool holds its lock (someone's apt run): wait
// for the lock, within a bound.
Ran dpkg(const QStringList& args) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        Ran r = run("dpkg", args);
        if (r.exitCode == 0 || r.output.find(" lock") == std::string::npos ||
            waited.elapsed() > 600000)
            return r;
        QThread::msleep(1000);
    }
}

QString q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

bool packageInstalled() {
    return run("dpkg-query", {"-W", "-f=${Status}", "qinglan"}).output.find("ok installed") !=
           std::string::npos;
}

// Removes the package when the test ends, however it ends, once it was installed by the test.
struct InstalledPackage {
    bool installed = false;
    ~InstalledPackage() {
        if (installed && packageInstalled()) dpkg({"-r", "qinglan"});
    }
};

// A player started by someone else than the test (the desktop's "open"), ended by the test.
struct StartedElsewhere {
    qint64 pid = 0;
    ~StartedElsewhere() {
        if (pid > 0) ::kill(static_cast<pid_t>(pid), SIGKILL);
    }
};

// Every file below `folder` with its content, to see that nothing of the user's changed.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        files[e.path().string()] = e.is_regular_file() ? readFile(e.path()) : "<folder>";
    return files;
}

// Some point of the window shows the clip's blue.
bool showsBlue(const std::string& window) {
    const QImage screen = grabScreen();
    const QRect r = windowRect(window);
    if (screen.isNull() || r.isEmpty()) return false;
    for (int y = r.top() + r.height() / 8; y < r.bottom(); y += r.height() / 8)
        for (int x = r.left() + r.width() / 8; x < r.right(); x += r.width() / 8)
            if (screen.rect().contains(x, y) && near(screen.pixelColor(x, y), kBlue)) return true;
    return false;
}

// xdg-mime is a shell script that reads every entry; on a busy machine it takes seconds.
std::string defaultFor(const char* mimeType) {
    return QString::fromStdString(run("xdg-mime", {"query", "default", mimeType}).output)
        .trimmed()
        .toStdString();
}

std::string executableOf(const std::string& window) {
    const QString pid = runTool("xdotool", {"getwindowpid", QString::fromStdString(window)});
    std::error_code ec;
    return fs::read_symlink("/proc/" + pid.toStdString() + "/exe", ec).string();
}

} // namespace

TEST(Package, BuildsChecksInstallsRunsAndRemovesCleanly) {
    if (::geteuid() != 0) GTEST_SKIP() << "installing a package needs root; run the tests as root";
    if (packageInstalled() || fs::exists(kPlayer))
        GTEST_SKIP() << "qinglan is installed on this system already; the test would replace it";
    TempDataDir data;
    InstalledPackage package;

    // Built from this build tree.
    const fs::path out = data.path() / "package";
    const Ran built = run("cpack", {"--config", q(buildDir() / "CPackConfig.cmake"), "-B", q(out)});
    ASSERT_EQ(built.exitCode, 0) << built.output;
    fs::path deb;
    for (const auto& e : fs::directory_iterator(out))
        if (e.path().extension() == ".deb") deb = e.path();
    ASSERT_FALSE(deb.empty()) << built.output;

    const Ran lintian = run("lintian", {"--allow-root", "--fail-on", "error", q(deb)});
    EXPECT_EQ(lintian.exitCode, 0) << lintian.output;
    const std::string depends = run("dpkg-deb", {"-f", q(deb), "Depends"}).output;
    EXPECT_NE(depends.find("libmpv"), std::string::npos) << depends;

    const Ran installed = dpkg({"-i", q(deb)});
    package.installed = true;
    ASSERT_EQ(installed.exitCode, 0) << installed.output;
    std::vector<fs::path> files;
    for (const auto& line :
         QString::fromStdString(run("dpkg", {"-L", "qinglan"}).output).split('\n'))
        if (line.startsWith('/') && !fs::is_directory(line.toStdString()))
            files.emplace_back(line.toStdString());
    EXPECT_GT(files.size(), 10u);

    const fs::path entry = "/usr/share/applications/qinglan.desktop";
    const Ran validEntry = run("desktop-file-validate", {q(entry)});
    EXPECT_EQ(validEntry.exitCode, 0) << validEntry.output;
    EXPECT_EQ(validEntry.output, "");
    EXPECT_NE(readFile(entry).find("\nExec=/usr/bin/qinglan %f\n"), std::string::npos);
    const Ran validMetainfo =
        run("appstreamcli",
            {"validate", "--no-net", "/usr/share/metainfo/org.qinglan.Player.metainfo.xml"});
    EXPECT_EQ(validMetainfo.exitCode, 0) << validMetainfo.output;
    EXPECT_EQ(run(q(kPlayer), {"--version"}).output,
              std::string("qinglan ") + qinglan::kVersion + "\n");

    // The installed player on a generated clip: the picture shows, the settings are the user's.
    const fs::path runtime = data.path() / "run";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    const fs::path userData = data.path() / "data";
    const fs::path userConfig = data.path() / "config";
    const fs::path settings = data.playerDataDir() / "mote.edb";
    {
        QProcess player;
        player.setProcessChannelMode(QProcess::ForwardedChannels);
        player.start(q(kPlayer), {q(media("clip.mp4"))});
        ASSERT_TRUE(waitFor([] { return !playerWindows().empty(); }));
        const std::string window = playerWindows().front();
        EXPECT_TRUE(waitFor([&] { return showsBlue(window); })) << "no picture of the clip";
        ::kill(static_cast<pid_t>(player.processId()), SIGTERM);
        EXPECT_TRUE(player.waitForFinished(15000));
        EXPECT_EQ(player.exitCode(), 0);
    }
    EXPECT_TRUE(fs::is_regular_file(settings));
    EXPECT_FALSE(fs::exists("/usr/bin/mote.edb"));
    EXPECT_EQ(run(q(kEdb), {q(settings), "get", "200"}).output, "0\n");

    // With .mp4 ticked, the next start makes the installed entry the default and writes no entry
    // or icons of its own; the desktop's "open" then starts the installed player.
    ASSERT_EQ(run(q(kEdb), {q(settings), "set", "200", "1"}).exitCode, 0);
    {
        QProcess player;
        player.setProcessChannelMode(QProcess::ForwardedChannels);
        player.start(q(kPlayer), {});
        ASSERT_TRUE(waitFor([] { return !playerWindows().empty(); }));
        EXPECT_TRUE(waitFor([] { return defaultFor("video/mp4") == "qinglan.desktop"; }, 60000))
            << defaultFor("video/mp4");
        ::kill(static_cast<pid_t>(player.processId()), SIGTERM);
        EXPECT_TRUE(player.waitForFinished(15000));
    }
    EXPECT_FALSE(fs::exists(userData / "applications" / "qinglan.desktop"));
    EXPECT_FALSE(fs::exists(userData / "icons"));
    ASSERT_TRUE(waitFor([] { return playerWindows().empty(); }));
    {
        StartedElsewhere opened;
        // The player gio starts keeps gio's output: a file, not a pipe that closes under it.
        const fs::path log = data.path() / "gio.log";
        const Ran opening =
            run("sh", {"-c", "exec gio open \"$0\" >\"$1\" 2>&1", q(media("clip.mp4")), q(log)});
        EXPECT_EQ(opening.exitCode, 0) << readFile(log);
        ASSERT_TRUE(waitFor([] { return !playerWindows().empty(); }))
            << "gio open started no player";
        const std::string window = playerWindows().front();
        opened.pid =
            runTool("xdotool", {"getwindowpid", QString::fromStdString(window)}).toLongLong();
        const std::string program = executableOf(window);
        EXPECT_TRUE(program.starts_with("/usr/")) << program;
        EXPECT_TRUE(waitFor([&] { return showsBlue(window); })) << "no picture of the clip";
        ::kill(static_cast<pid_t>(opened.pid), SIGTERM);
        EXPECT_TRUE(waitFor([&] { return !fs::exists("/proc/" + std::to_string(opened.pid)); }));
        opened.pid = 0;
    }

    // Removed: none of its files stay behind, and the user's files are as they were.
    const auto userFiles = snapshot(data.path() / "data");
    const auto userConfigFiles = snapshot(userConfig);
    const Ran removed = dpkg({"-r", "qinglan"});
    ASSERT_EQ(removed.exitCode, 0) << removed.output;
    for (const auto& file : files)
        EXPECT_FALSE(fs::exists(fs::symlink_status(file))) << file;
    EXPECT_FALSE(fs::exists("/usr/libexec/qinglan"));
    EXPECT_FALSE(fs::exists("/usr/share/doc/qinglan"));
    EXPECT_EQ(snapshot(data.path() / "data"), userFiles);
    EXPECT_EQ(snapshot(userConfig), userConfigFiles);
    EXPECT_TRUE(fs::is_regular_file(settings));
}
