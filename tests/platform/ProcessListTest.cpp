// The process check by executable name, with a list of names and with the real /proc.
#include <platform/ProcessList.h>

#include "support/TempDataDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <filesystem>

using namespace qinglan;

namespace {
struct Names : platform::ProcessList {
    std::vector<std::string> names;
    std::vector<std::string> executableNames() const override { return names; }
};
} // namespace

TEST(ProcessCheck, CaseVariantsMatchWithoutCaseAndOtherNamesNever) {
    Names upper;
    upper.names = {"bash", "UPGRADE.EXE"};
    Names mixed;
    mixed.names = {"Upgrade.exe"};
    Names others;
    others.names = {"upgrade.exe.bak", "upgrade.com", "xupgrade.exe"};
    EXPECT_TRUE(platform::isProcessRunning(upper, "upgrade.exe", false));
    EXPECT_TRUE(platform::isProcessRunning(mixed, "upgrade.exe", false));
    EXPECT_FALSE(platform::isProcessRunning(mixed, "upgrade.exe", true));
    EXPECT_TRUE(platform::isProcessRunning(mixed, "Upgrade.exe", true));
    EXPECT_FALSE(platform::isProcessRunning(others, "upgrade.exe", false));
    EXPECT_FALSE(platform::isProcessRunning(Names{}, "upgrade.exe", false));
}

// A name longer than the kernel's 15-character process name is still found, and only while
// its process runs.
TEST(ProcessCheck, FindsARunningProgramByItsWholeFileName) {
    test::TempDataDir dir;
    const auto program = dir.path() / "qinglan-addfiles-probe";
    std::filesystem::copy_file("/bin/sleep", program);
    EXPECT_FALSE(platform::isProcessRunning("qinglan-addfiles-probe", false));
    QProcess p;
    p.start(QString::fromStdString(program.string()), {"30"});
    ASSERT_TRUE(p.waitForStarted(5000));
    EXPECT_TRUE(platform::isProcessRunning("qinglan-addfiles-probe", false));
    EXPECT_TRUE(platform::isProcessRunning("QINGLAN-ADDFILES-PROBE", false));
    EXPECT_FALSE(platform::isProcessRunning("qinglan-addfiles-pro", false));
    p.kill();
    p.waitForFinished(5000);
    EXPECT_FALSE(platform::isProcessRunning("qinglan-addfiles-probe", false));
}
