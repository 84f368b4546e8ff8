// The player finds its add-files helper from its own folder: beside it in a build folder, in the
// libexec folder of an installation wherever that was put (a prefix with blanks included).
#include <desktop/HelperPrograms.h>

#include "support/FileText.h"
#include "support/TempDataDir.h"

#include <gtest/gtest.h>

using namespace qinglan;
namespace fs = std::filesystem;

namespace {
void makeProgram(const fs::path& file) {
    test::writeFile(file, "#!/bin/sh\n");
    fs::permissions(file, fs::perms::owner_all);
}
} // namespace

TEST(HelperPrograms, TheBuildFolderHasTheHelperBesideThePlayer) {
    test::TempDataDir dir;
    const fs::path build = dir.path() / "build";
    makeProgram(build / "qinglan");
    makeProgram(build / "qinglan-addfiles");
    EXPECT_EQ(desktop::helperProgram(build, "qinglan-addfiles"), build / "qinglan-addfiles");
}

TEST(HelperPrograms, AnInstallationHasItInTheProgramsLibexecFolderWhereverItWasPut) {
    test::TempDataDir dir;
    // Relative, so that the installation can be put anywhere ("../libexec/qinglan").
    ASSERT_TRUE(desktop::installedHelperFolder().is_relative());
    const fs::path prefix = dir.path() / "my programs" / "青岚";
    const fs::path helper =
        (prefix / "bin" / desktop::installedHelperFolder() / "qinglan-addfiles").lexically_normal();
    makeProgram(prefix / "bin" / "qinglan");
    makeProgram(helper);
    EXPECT_EQ(desktop::helperProgram(prefix / "bin", "qinglan-addfiles"), helper);

    // A file of that name that cannot be started beside the player does not hide it.
    test::writeFile(prefix / "bin" / "qinglan-addfiles", "not a program");
    fs::permissions(prefix / "bin" / "qinglan-addfiles", fs::perms::owner_read);
    EXPECT_EQ(desktop::helperProgram(prefix / "bin", "qinglan-addfiles"), helper);
}

TEST(HelperPrograms, AMissingHelperIsLookedForBesideThePlayer) {
    test::TempDataDir dir;
    makeProgram(dir.path() / "bin" / "qinglan");
    EXPECT_EQ(desktop::helperProgram(dir.path() / "bin", "qinglan-addfiles"),
              dir.path() / "bin" / "qinglan-addfiles");
}
