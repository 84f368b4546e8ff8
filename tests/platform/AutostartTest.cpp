// The XDG autostart entry follows the switch, and only our own entry is ever written or removed.
#include <platform/Autostart.h>
#include <platform/linux/XdgAutostart.h>

#include "support/TempDataDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace qinglan;

namespace {
std::string read(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
bool apply(bool on, const std::filesystem::path& program) {
    return platform::makeAutostart()->apply(on, program);
}
} // namespace

TEST(Autostart, OnWritesTheEntryWithTheProgramPathAndOffRemovesIt) {
    test::TempDataDir dir; // XDG_CONFIG_HOME
    const auto entry = platform::autostartEntryPath();
    EXPECT_EQ(entry, dir.path() / "config" / "autostart" / "qinglan.desktop");
    ASSERT_TRUE(apply(true, "/opt/青岚 player/qinglan"));
    const std::string text = read(entry);
    EXPECT_NE(text.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(text.find("Type=Application\n"), std::string::npos);
    EXPECT_NE(text.find("Exec=\"/opt/青岚 player/qinglan\"\n"), std::string::npos);
    // Written again, still one whole entry and no temporary file left.
    ASSERT_TRUE(apply(true, "/opt/a$b%c/qinglan"));
    EXPECT_NE(read(entry).find("Exec=\"/opt/a\\\\$b%%c/qinglan\"\n"), std::string::npos);
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(entry.parent_path()))
        ++files;
    EXPECT_EQ(files, 1);
    EXPECT_TRUE(apply(false, "/opt/qinglan"));
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_TRUE(apply(false, "/opt/qinglan")); // absent before: still absent
    EXPECT_FALSE(std::filesystem::exists(entry));
}

// A backslash is escaped once for the quoting of Exec and once more for the string rules of
// the format: four in the file. The association entry writes it the same way.
TEST(Autostart, APathWithABackslashStartsTheSameProgram) {
    test::TempDataDir dir;
    ASSERT_TRUE(apply(true, "/opt/a\\b/qinglan"));
    EXPECT_NE(read(platform::autostartEntryPath()).find("Exec=\"/opt/a\\\\\\\\b/qinglan\"\n"),
              std::string::npos)
        << read(platform::autostartEntryPath());
}

TEST(Autostart, AnEntryOfTheSameNameThatIsNotOursStays) {
    test::TempDataDir dir;
    const auto entry = platform::autostartEntryPath();
    std::filesystem::create_directories(entry.parent_path());
    const std::string foreign = "[Desktop Entry]\nType=Application\nExec=/usr/bin/other\n";
    std::ofstream(entry) << foreign;
    std::ofstream(entry.parent_path() / "other.desktop") << "[Desktop Entry]\n";
    apply(false, "/opt/qinglan");
    EXPECT_EQ(read(entry), foreign);
    EXPECT_TRUE(std::filesystem::exists(entry.parent_path() / "other.desktop"));
    // Switching on does not take its place either, and says it could not.
    EXPECT_FALSE(apply(true, "/opt/qinglan"));
    EXPECT_EQ(read(entry), foreign);
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(entry.parent_path()))
        ++files;
    EXPECT_EQ(files, 2);
}
