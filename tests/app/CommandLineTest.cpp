// What a start asks for, which display platform the player takes, and where its programs lie.
#include "app/CommandLine.h"

#include <qinglan/Version.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

using namespace qinglan::app;
namespace fs = std::filesystem;

namespace {

CommandLine parse(std::vector<std::string> args) {
    return parseCommandLine(args);
}

void touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "#!/bin/sh\n";
}

struct TempFolder {
    fs::path path =
        fs::temp_directory_path() /
        ("qinglan-cmdline-" +
         std::to_string(::testing::UnitTest::GetInstance()->current_test_info()->line()));
    TempFolder() {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder() { fs::remove_all(path); }
};

} // namespace

TEST(CommandLine, OnlyTheExactOptionWordsInFirstPlaceAreOptions) {
    EXPECT_EQ(parse({"--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parse({"--version"}).action, CommandLine::Action::Version);
    EXPECT_EQ(parse({"--help", "a.mp4"}).action, CommandLine::Action::Help);

    // Anything else is media, in order, and "--" ends the options.
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"./--help"}, {"--help=1"}, {"-h"}, {"--Version"}, {"a.mp4", "--help"}}) {
        const auto c = parse(args);
        EXPECT_EQ(c.action, CommandLine::Action::Run) << args.front();
        EXPECT_EQ(c.media, args);
    }
    const auto dashed = parse({"--", "--help", "--version"});
    EXPECT_EQ(dashed.action, CommandLine::Action::Run);
    EXPECT_EQ(dashed.media, (std::vector<std::string>{"--help", "--version"}));
    EXPECT_EQ(parse({"--", "--"}).media, std::vector<std::string>{"--"});
    EXPECT_TRUE(parse({}).media.empty());
    EXPECT_TRUE(parse({"--"}).media.empty());
}

TEST(CommandLine, HelpAndVersionTextsEndTheirLines) {
    EXPECT_EQ(versionText(), std::string("qinglan ") + qinglan::kVersion + "\n");
    const auto help = helpText();
    ASSERT_FALSE(help.empty());
    EXPECT_EQ(help.back(), '\n');
    EXPECT_NE(help.find("--version"), std::string::npos);
}

TEST(DisplayChoice, TheToolkitRunsOnX11UnlessTheUserChoseAPlatform) {
    // Nothing chosen: X11, on a Wayland desktop through XWayland; an X server is required.
    for (const char* unset : {static_cast<const char*>(nullptr), ""}) {
        const auto c = chooseDisplay(unset);
        EXPECT_EQ(c.platform, "xcb");
        EXPECT_TRUE(c.needsXServer);
    }
    // The user's own choice is left to the toolkit; only X11 first needs the X server.
    struct Case {
        const char* chosen;
        bool needsX;
    };
    for (const auto& [chosen, needsX] :
         {Case{"xcb", true}, Case{"xcb;wayland", true}, Case{"wayland", false},
          Case{"wayland;xcb", false}, Case{"offscreen", false}, Case{"xcbx", false}}) {
        const auto c = chooseDisplay(chosen);
        EXPECT_EQ(c.platform, "") << chosen;
        EXPECT_EQ(c.needsXServer, needsX) << chosen;
    }
}

TEST(DisplayChoice, NoXServerIsSaidInOneLine) {
    for (const auto& text : {noXServerText(nullptr, nullptr), noXServerText("", "wayland-0"),
                             noXServerText(":7", nullptr), noXServerText(":7", "wayland-0")}) {
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
        EXPECT_EQ(text.back(), '\n');
        EXPECT_EQ(text.rfind("qinglan: ", 0), 0u) << text;
    }
    EXPECT_NE(noXServerText(":7", nullptr).find("DISPLAY=:7"), std::string::npos);
    EXPECT_NE(noXServerText(nullptr, nullptr).find("DISPLAY is not set"), std::string::npos);
    EXPECT_NE(noXServerText(nullptr, "wayland-0").find("XWayland"), std::string::npos);
}

TEST(ProgramLocations, BuildFolderSideBySideAndInstalledUnderAnyPrefix) {
    TempFolder tmp;
    // The build folder: both programs side by side.
    const auto build = tmp.path / "build";
    touch(build / "qinglan");
    touch(build / "qinglan-player");
    EXPECT_EQ(playerProgramFor(build / "qinglan"), build / "qinglan-player");
    EXPECT_EQ(launcherProgramFor(build / "qinglan-player"), build / "qinglan");

    // Installed, under a prefix with a blank in it: bin and the player's libexec folder.
    const auto prefix = tmp.path / "my prefix";
    const auto launcher = prefix / "bin" / "qinglan";
    const auto player = prefix / QINGLAN_TEST_PLAYER_INSTALL_DIR / "qinglan-player";
    touch(launcher);
    touch(player);
    EXPECT_EQ(playerProgramFor(launcher), player);
    EXPECT_EQ(launcherProgramFor(player), launcher);

    // A player without any launcher names itself, so its entries still start something.
    const auto alone = tmp.path / "alone" / "qinglan-player";
    touch(alone);
    EXPECT_EQ(launcherProgramFor(alone), alone);
}
