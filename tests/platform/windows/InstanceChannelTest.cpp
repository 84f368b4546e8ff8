// The hand-off between two real processes: Unicode paths of any length arrive whole, racing
// starts agree on one primary, and a sender that sends narrow text is still heard.
#include <platform/InstanceChannel.h>
#include <platform/windows/WideText.h>

#include "Processes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace qinglan;
using platform::InstanceChannel;

namespace {

// A class name of this test's own, so that runs and tests never meet.
std::string freshIdentity() {
    static int n = 0;
    return "QinglanTest" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++n);
}

// Runs a probe to its end while this thread keeps its messages moving (the probe's send waits
// for our window to take the text).
int runProbe(const std::vector<std::wstring>& args) {
    test::Probe probe(args);
    if (!probe.started()) return -2;
    test::pumpUntil([&] { return WaitForSingleObject(probe.handle(), 0) == WAIT_OBJECT_0; });
    return probe.wait(0);
}

struct Primary {
    std::string identity = freshIdentity();
    std::unique_ptr<InstanceChannel> channel = platform::makeInstanceChannel(identity);
    std::vector<std::string> received;
    InstanceChannel::Role role = channel->claim();
    Primary() {
        channel->startReceiving([this](const std::string& t) { received.push_back(t); });
    }
    std::wstring wideIdentity() const { return platform::wideFromUtf8(identity); }
};

} // namespace

TEST(WindowInstanceChannel, UnicodePathsFromASecondStartArriveWhole) {
    Primary primary;
    ASSERT_EQ(primary.role, InstanceChannel::Role::Primary);
    std::string deep = "C:\\";
    while (platform::wideFromUtf8(deep).size() < 300)
        deep += "很长的文件夹名字\\";
    const std::vector<std::string> paths = {
        "C:\\视频\\青岚 测试.mkv",
        "D:\\アニメ\\第1話 「始まり」.mp4",
        "E:\\clips\\🎬 party 🎉.avi",
        deep + "最后.flac",
    };
    ASSERT_GT(platform::wideFromUtf8(paths.back()).size(), 260u);
    for (const auto& path : paths) {
        const auto before = primary.received.size();
        EXPECT_EQ(runProbe({L"send", primary.wideIdentity(), platform::wideFromUtf8(path)}), 0);
        ASSERT_TRUE(test::pumpUntil([&] { return primary.received.size() > before; })) << path;
        EXPECT_EQ(primary.received.back(), path);
    }
    EXPECT_EQ(primary.received.size(), paths.size());
}

TEST(WindowInstanceChannel, TheRunningPlayerIsFoundByItsWindowAndAnotherClassIsNot) {
    Primary primary;
    ASSERT_EQ(primary.role, InstanceChannel::Role::Primary);
    const HWND window = FindWindowW(primary.wideIdentity().c_str(), L"青岚播放器");
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window)); // nothing of it shows
    EXPECT_NE(FindWindowExW(window, nullptr, L"Edit", L""), nullptr);
    // The same title under another class is another program: a start there is the primary.
    auto other = platform::makeInstanceChannel(primary.identity + "-other");
    EXPECT_EQ(other->claim(), InstanceChannel::Role::Primary);
}

TEST(WindowInstanceChannel, RacingStartsAgreeOnOnePrimaryThatHearsAllOthers) {
    const std::wstring identity = platform::wideFromUtf8(freshIdentity());
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring out = std::wstring(temp) + identity + L".txt";
    constexpr int kStarts = 4;
    std::vector<std::unique_ptr<test::Probe>> starts;
    for (int i = 0; i < kStarts; ++i)
        starts.push_back(std::make_unique<test::Probe>(
            std::vector<std::wstring>{L"claim", identity, out, std::to_wstring(kStarts - 1)}));
    int primaries = 0, secondaries = 0;
    for (auto& s : starts) {
        const int code = s->wait(40000);
        primaries += code == 10;
        secondaries += code == 11;
    }
    EXPECT_EQ(primaries, 1);
    EXPECT_EQ(secondaries, kStarts - 1);
    std::ifstream file(out.c_str());
    std::string line;
    int lines = 0;
    while (std::getline(file, line))
        lines += !line.empty();
    EXPECT_EQ(lines, kStarts - 1);
    file.close();
    DeleteFileW(out.c_str());
}

// A sender that follows the older hand-off: FindWindowA, FindWindowExA and WM_SETTEXT with
// text in the ANSI code page of a Chinese system (936, GBK). Wine takes the code page from the
// locale the whole run starts in, so this runs in a run of its own (LC_ALL=zh_CN.UTF-8).
TEST(WindowInstanceChannel, ANarrowSenderInTheAnsiCodePageIsHeard) {
    if (GetACP() != 936) GTEST_SKIP() << "needs the ANSI code page 936; see the Chinese run";
    Primary primary;
    ASSERT_EQ(primary.role, InstanceChannel::Role::Primary);
    const std::string path = "D:\\电影\\青岚 播放器测试.mkv";
    const int code = runProbe({L"ansi-send", primary.wideIdentity(), platform::wideFromUtf8(path)});
    ASSERT_EQ(code, 0);
    ASSERT_TRUE(test::pumpUntil([&] { return !primary.received.empty(); }));
    EXPECT_EQ(primary.received.front(), path);
}

TEST(WindowInstanceChannel, ASendWithoutAPrimaryOrWithBadTextFails) {
    auto alone = platform::makeInstanceChannel(freshIdentity());
    EXPECT_FALSE(alone->send("C:\\a.mkv"));
    Primary primary;
    auto second = platform::makeInstanceChannel(primary.identity);
    ASSERT_EQ(second->claim(), InstanceChannel::Role::Secondary);
    EXPECT_FALSE(second->send(std::string("C:\\\xff\xfe.mkv")));
    EXPECT_FALSE(second->send(std::string(platform::kMaxHandOffBytes + 1, 'a')));
    test::pumpUntil([] { return false; }, 200); // anything queued would arrive now
    EXPECT_TRUE(primary.received.empty());
}
