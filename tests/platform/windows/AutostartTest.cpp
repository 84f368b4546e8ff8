// The Run value "我的启动项" comes and goes with the switch, quoted where Windows would split
// the path, and another program's value of the same name is never changed or deleted.
#include <platform/Autostart.h>

#include "Registry.h"

#include <gtest/gtest.h>

using namespace qinglan;

namespace {

const std::wstring kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const kName = L"我的启动项";

class RunKey : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kRun.c_str(), 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, kName);
            RegCloseKey(key);
        }
        test::removeTree(HKEY_CURRENT_USER, L"Software\\Qinglan");
    }
    void TearDown() override { SetUp(); }

    std::optional<std::wstring> value() const {
        return test::readText(HKEY_CURRENT_USER, kRun, kName);
    }
    std::unique_ptr<platform::Autostart> autostart = platform::makeAutostart();
};

} // namespace

TEST_F(RunKey, OnWritesTheProgramPathQuotedWhereItHasABlankAndOffDeletesIt) {
    EXPECT_TRUE(autostart->apply(true, L"C:\\Program Files\\青岚\\qinglan.exe"));
    EXPECT_EQ(value(), L"\"C:\\Program Files\\青岚\\qinglan.exe\"");
    EXPECT_TRUE(autostart->apply(false, L"C:\\Program Files\\青岚\\qinglan.exe"));
    EXPECT_EQ(value(), std::nullopt);
    EXPECT_TRUE(autostart->apply(false, L"C:\\Program Files\\青岚\\qinglan.exe"));
    EXPECT_EQ(value(), std::nullopt);
    EXPECT_TRUE(autostart->apply(true, L"C:\\Qinglan\\qinglan.exe"));
    EXPECT_EQ(value(), L"C:\\Qinglan\\qinglan.exe");
    // The program moved: the value it wrote is still its own and follows it.
    EXPECT_TRUE(autostart->apply(true, L"D:\\Tools\\qinglan.exe"));
    EXPECT_EQ(value(), L"D:\\Tools\\qinglan.exe");
    EXPECT_TRUE(autostart->apply(false, L"E:\\qinglan.exe"));
    EXPECT_EQ(value(), std::nullopt);
}

TEST_F(RunKey, AnotherProgramsValueOfTheSameNameStays) {
    test::writeText(HKEY_CURRENT_USER, kRun, kName, L"C:\\Other\\other.exe");
    EXPECT_TRUE(autostart->apply(false, L"C:\\Qinglan\\qinglan.exe"));
    EXPECT_EQ(value(), L"C:\\Other\\other.exe");
    EXPECT_FALSE(autostart->apply(true, L"C:\\Qinglan\\qinglan.exe"));
    EXPECT_EQ(value(), L"C:\\Other\\other.exe");
    // A value holding this program's path is the player's, whoever wrote it.
    test::writeText(HKEY_CURRENT_USER, kRun, kName, L"C:\\Qinglan\\qinglan.exe");
    EXPECT_TRUE(autostart->apply(false, L"C:\\Qinglan\\qinglan.exe"));
    EXPECT_EQ(value(), std::nullopt);
}
