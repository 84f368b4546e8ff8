// The process check on Windows: names from a Toolhelp snapshot; the add-files helper, which the
// player names without ".exe", is found by its executable's name in any case.
#include <platform/ProcessList.h>

#include "Processes.h"

#include <gtest/gtest.h>

using namespace qinglan;

namespace {
struct Names : platform::ProcessList {
    std::vector<std::string> names;
    std::vector<std::string> executableNames() const override { return names; }
};
} // namespace

TEST(ToolhelpProcessCheck, NamesCompareWithOrWithoutCaseAndABareNameMeansItsExe) {
    Names upper;
    upper.names = {"explorer.exe", "UPGRADE.EXE"};
    Names others;
    others.names = {"upgrade.exe.bak", "upgrade.com", "xupgrade.exe"};
    EXPECT_TRUE(platform::isProcessRunning(upper, "upgrade.exe", false));
    EXPECT_TRUE(platform::isProcessRunning(upper, "upgrade", false));
    EXPECT_FALSE(platform::isProcessRunning(upper, "upgrade.exe", true));
    EXPECT_TRUE(platform::isProcessRunning(upper, "UPGRADE.EXE", true));
    EXPECT_FALSE(platform::isProcessRunning(others, "upgrade.exe", false));
    EXPECT_FALSE(platform::isProcessRunning(others, "upgrade", false));
    Names chinese;
    chinese.names = {"青岚助手.EXE"};
    EXPECT_TRUE(platform::isProcessRunning(chinese, "青岚助手", false));
}

TEST(ToolhelpProcessCheck, FindsARunningHelperByNameOnlyWhileItRuns) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"qinglan-process-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring helper = folder + L"\\qinglan-addfiles.exe";
    ASSERT_TRUE(
        CopyFileW((test::programFolder() + L"qinglan-probe.exe").c_str(), helper.c_str(), FALSE));
    EXPECT_FALSE(platform::isProcessRunning("qinglan-addfiles", false));
    {
        test::Probe running({L"sleep", L"60000"}, helper);
        ASSERT_TRUE(running.started());
        EXPECT_TRUE(test::pumpUntil(
            [] { return platform::isProcessRunning("qinglan-addfiles", false); }, 10000));
        EXPECT_TRUE(platform::isProcessRunning("QINGLAN-ADDFILES.EXE", false));
        EXPECT_FALSE(platform::isProcessRunning("qinglan-addfile", false));
    } // ended here
    EXPECT_TRUE(test::pumpUntil(
        [] { return !platform::isProcessRunning("qinglan-addfiles", false); }, 10000));
    DeleteFileW(helper.c_str());
    RemoveDirectoryW(folder.c_str());
}
