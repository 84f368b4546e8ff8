#include "platform/InstanceChannel.h"
#include "support/TestMedia.h"

#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using qinglan::platform::isValidUtf8;

namespace {

// Every test gets its own identity so tests running side by side never meet.
std::string uniqueIdentity() {
    static int counter = 0;
    return "QinglanTest" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

QString probePath() {
    return QString::fromStdString(
        (qinglan::test::buildDir() / "tests/platform/instance_probe").string());
}

std::string hex(const std::string& s) {
    std::string out;
    char buf[3];
    for (unsigned char c : s) {
        std::snprintf(buf, sizeof buf, "%02x", c);
        out += buf;
    }
    return out;
}

struct Probe {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    std::string output;

    void start(const std::string& identity, const std::vector<std::string>& args = {},
               const QString& workingDir = {}) {
        if (!workingDir.isEmpty()) process->setWorkingDirectory(workingDir);
        QStringList list{QString::fromStdString(identity)};
        for (const auto& a : args)
            list << QString::fromUtf8(a.c_str());
        process->start(probePath(), list);
        ASSERT_TRUE(process->waitForStarted(5000));
    }
    // Reads stdout until the text appears or the time is up.
    bool waitFor(const std::string& text, int ms = 5000) {
        QElapsedTimer t;
        t.start();
        while (output.find(text) == std::string::npos && t.elapsed() < ms) {
            process->waitForReadyRead(50);
            output += process->readAllStandardOutput().toStdString();
        }
        return output.find(text) != std::string::npos;
    }
    ~Probe() {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(2000);
        }
    }
};

// Runs a second start to completion; returns its exit code and how long it took.
std::pair<int, qint64> runSecondary(const std::string& identity,
                                    const std::vector<std::string>& args,
                                    const QString& workingDir = {}) {
    Probe p;
    QElapsedTimer t;
    t.start();
    p.start(identity, args, workingDir);
    if (!p.process->waitForFinished(5000)) return {-1, t.elapsed()};
    return {p.process->exitCode(), t.elapsed()};
}

int rawConnect(const std::string& identity) {
    std::string name = identity + "-" + std::to_string(getuid());
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path + 1, name.data(), name.size());
    socklen_t len = offsetof(sockaddr_un, sun_path) + 1 + name.size();
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void sendRaw(int fd, std::uint32_t declared, const std::string& body) {
    const char header[4] = {char(declared >> 24), char(declared >> 16), char(declared >> 8),
                            char(declared)};
    (void)!::send(fd, header, 4, MSG_NOSIGNAL);
    (void)!::send(fd, body.data(), body.size(), MSG_NOSIGNAL);
}

} // namespace

TEST(PlatformUtf8, AcceptsWellFormedAndRejectsMalformed) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("/home/用户/视频 文件.mkv"));
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x8E\xAC")); // four-byte sequence
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));        // overlong '/'
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));    // surrogate
    EXPECT_FALSE(isValidUtf8("\xE4\xB8"));        // truncated
    EXPECT_FALSE(isValidUtf8("\xFF"));
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
}

TEST(PlatformInstanceChannel, SecondStartHandsOverItsFirstArgumentExactly) {
    const auto id = uniqueIdentity();
    Probe primary;
    primary.start(id);
    ASSERT_TRUE(primary.waitFor("PRIMARY"));

    const std::string path = "/媒体/我的 视频/第 1 集 \"quoted\".mkv";
    auto [code, ms] = runSecondary(id, {path, "/second/argument/is/ignored.mp4"});
    EXPECT_EQ(code, 0);
    EXPECT_LT(ms, 2000);
    ASSERT_TRUE(primary.waitFor("RECEIVED " + hex(path)));
    EXPECT_EQ(primary.output.find(hex("/second/argument")), std::string::npos);
}

TEST(PlatformInstanceChannel, SecondStartWithoutArgumentSendsNothing) {
    const auto id = uniqueIdentity();
    Probe primary;
    primary.start(id);
    ASSERT_TRUE(primary.waitFor("PRIMARY"));
    auto [code, ms] = runSecondary(id, {});
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(primary.waitFor("RECEIVED", 500));
}

TEST(PlatformInstanceChannel, RacingStartsLeaveExactlyOnePrimary) {
    const auto id = uniqueIdentity();
    std::vector<std::unique_ptr<Probe>> probes;
    for (int i = 0; i < 5; ++i) {
        probes.push_back(std::make_unique<Probe>());
        probes.back()->start(id, {"/race/" + std::to_string(i)});
    }
    int primaries = 0, secondaries = 0;
    for (auto& p : probes) {
        p->waitFor("ARY", 5000); // PRIMARY or SECONDARY
        if (p->output.find("PRIMARY") != std::string::npos) ++primaries;
        if (p->output.find("SECONDARY") != std::string::npos) ++secondaries;
    }
    EXPECT_EQ(primaries, 1);
    EXPECT_EQ(secondaries, 4);
}

TEST(PlatformInstanceChannel, KilledPrimaryDoesNotBlockTheNextStart) {
    const auto id = uniqueIdentity();
    {
        Probe first;
        first.start(id);
        ASSERT_TRUE(first.waitFor("PRIMARY"));
        ::kill(static_cast<pid_t>(first.process->processId()), SIGKILL);
        first.process->waitForFinished(2000);
    }
    Probe next;
    next.start(id);
    EXPECT_TRUE(next.waitFor("PRIMARY"));
}

TEST(PlatformInstanceChannel, RefusesOversizedAndMalformedTextsAndKeepsServing) {
    const auto id = uniqueIdentity();
    Probe primary;
    primary.start(id);
    ASSERT_TRUE(primary.waitFor("PRIMARY"));

    // Declared too large.
    int fd = rawConnect(id);
    ASSERT_GE(fd, 0);
    sendRaw(fd, qinglan::platform::kMaxHandOffBytes + 1, std::string(1000, 'a'));
    ::close(fd);
    // Not UTF-8.
    fd = rawConnect(id);
    ASSERT_GE(fd, 0);
    sendRaw(fd, 3, "\xff\xfe\xfd");
    ::close(fd);
    // A client that stalls half-way must not hold up the next one.
    int stalled = rawConnect(id);
    ASSERT_GE(stalled, 0);
    sendRaw(stalled, 100, "abc");

    EXPECT_FALSE(primary.waitFor("RECEIVED", 500));
    const std::string good = std::string(qinglan::platform::kMaxHandOffBytes, 'x');
    auto [code, ms] = runSecondary(id, {good});
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(primary.waitFor("RECEIVED " + hex(good)));
    ::close(stalled);
}

TEST(PlatformInstanceChannel, RelativePathIsHandedOverAsAbsoluteAndAddressesAsTyped) {
    const auto id = uniqueIdentity();
    Probe primary;
    primary.start(id);
    ASSERT_TRUE(primary.waitFor("PRIMARY"));

    const auto dir = QString::fromStdString(qinglan::test::mediaDir().string());
    EXPECT_EQ(runSecondary(id, {"clip.mp4"}, dir).first, 0);
    EXPECT_TRUE(
        primary.waitFor("RECEIVED " + hex((qinglan::test::mediaDir() / "clip.mp4").string())));
    const std::string address = "https://example.invalid/live?a=1";
    EXPECT_EQ(runSecondary(id, {address}, dir).first, 0);
    EXPECT_TRUE(primary.waitFor("RECEIVED " + hex(address)));
}

TEST(PlatformInstanceChannel, ALauncherHandsItsClaimToTheProgramItBecomes) {
    const auto id = uniqueIdentity();
    // Several launchers at once: the claim is held across the exec, so exactly one becomes the
    // player and every other one hands its text to it.
    std::vector<std::unique_ptr<QProcess>> launchers;
    for (int i = 0; i < 4; ++i) {
        launchers.push_back(std::make_unique<QProcess>());
        launchers.back()->start(probePath(), {"--as-launcher", QString::fromStdString(id),
                                              QString("/launched/%1").arg(i)});
    }
    int primaries = 0, secondaries = 0;
    std::string output;
    QProcess* primary = nullptr;
    for (auto& p : launchers) {
        std::string out;
        QElapsedTimer t;
        t.start();
        while (out.find("ARY") == std::string::npos && t.elapsed() < 5000) {
            p->waitForReadyRead(50);
            out += p->readAllStandardOutput().toStdString();
        }
        if (out.find("SECONDARY") != std::string::npos) ++secondaries;
        if (out.find("PRIMARY") != std::string::npos) {
            ++primaries;
            primary = p.get();
            output = out;
        }
    }
    EXPECT_EQ(primaries, 1);
    EXPECT_EQ(secondaries, 3);
    ASSERT_NE(primary, nullptr);

    // The player took the handed-down socket and keeps it from the programs it starts.
    QElapsedTimer t;
    t.start();
    auto waitFor = [&](const std::string& text) {
        while (output.find(text) == std::string::npos && t.elapsed() < 5000) {
            primary->waitForReadyRead(50);
            output += primary->readAllStandardOutput().toStdString();
        }
        return output.find(text) != std::string::npos;
    };
    EXPECT_TRUE(waitFor("FD3 CLOEXEC")) << output;
    const std::string path = "/媒体/交给 启动器.mkv";
    EXPECT_EQ(runSecondary(id, {path}).first, 0);
    EXPECT_TRUE(waitFor("RECEIVED " + hex(path))) << output;

    for (auto& p : launchers) {
        p->kill();
        p->waitForFinished(2000);
    }
}

TEST(PlatformInstanceChannel, AStrayListeningSocketOnDescriptorThreeIsNotTakenForAClaim) {
    const auto id = uniqueIdentity();
    Probe first;
    first.start("--with-stray-fd3", {id});
    ASSERT_TRUE(first.waitFor("PRIMARY"));
    EXPECT_EQ(first.output.find("FD3 CLOEXEC"), std::string::npos) << "a stray socket was taken";
    // It bound our own name: a second start finds it.
    EXPECT_EQ(runSecondary(id, {"/stray/test.mp4"}).first, 0);
    EXPECT_TRUE(first.waitFor("RECEIVED " + hex("/stray/test.mp4")));
}
