// Where the running program lies on Windows: the module file of the program itself, whole.
#include <platform/ProgramLocation.h>

#include "Processes.h"

#include <gtest/gtest.h>

using namespace qinglan;

TEST(WindowsProgramLocation, IsTheRunningProgramsOwnFile) {
    const auto file = platform::programFile();
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(file.is_absolute());
    EXPECT_TRUE(std::filesystem::is_regular_file(file));
    EXPECT_EQ(file.filename().wstring(), L"windows_platform_tests.exe");
    EXPECT_EQ(file.parent_path().wstring() + L"\\", test::programFolder());
}
