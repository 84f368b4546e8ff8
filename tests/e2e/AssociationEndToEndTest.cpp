// The real player brings the desktop's associations in line with its check boxes at start:
// xdg-mime names the player for .avi after a start with the box ticked, and the program the user
// had chosen before after a start with it cleared.
#include "e2e/PlayerProcess.h"
#include "support/FileText.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

using namespace qinglan::test;
namespace fs = std::filesystem;

namespace {

// TempDataDir points this process's XDG folders where the player's go, so the tools here read
// what the player wrote.
QString defaultFor(const char* mimeType) {
    return runTool("xdg-mime", {"query", "default", mimeType});
}

// The system data folders ($XDG_DATA_DIRS) of the test's own, for the player and the tools: the
// system's MIME database, and an installed entry of the player only where the test puts one.
fs::path useOwnSystemFolders(const TempDataDir& data) {
    const fs::path system = data.path() / "system";
    fs::create_directories(system);
    fs::create_directory_symlink("/usr/share/mime", system / "mime");
    setenv("XDG_DATA_DIRS", system.c_str(), 1);
    return system;
}

} // namespace

TEST(EndToEndAssociations, TheAviBoxMakesThePlayerTheDefaultAndClearingItRestoresTheOther) {
    TempDataDir data;
    useOwnSystemFolders(data);
    const fs::path mote = data.playerDataDir() / "mote.edb";
    fs::create_directories(data.playerDataDir());
    runEdb(mote, {"init-settings"});
    runEdb(mote, {"set", "197", "1"});
    ASSERT_EQ(runEdb(mote, {"get", "197"}), "1");

    // Another player the user chose for .avi files before.
    writeFile(data.path() / "data" / "applications" / "otherplayer.desktop",
              "[Desktop Entry]\nType=Application\nName=Other player\nExec=/bin/true %f\n"
              "MimeType=video/x-msvideo;\n");
    const fs::path list = data.path() / "config" / "mimeapps.list";
    const std::string before = "[Default Applications]\n"
                               "video/x-msvideo=otherplayer.desktop;\n"
                               "text/plain=gedit.desktop;\n";
    writeFile(list, before);
    ASSERT_EQ(defaultFor("video/x-msvideo"), "otherplayer.desktop");

    {
        PlayerProcess player(data);
        player.start();
        ASSERT_TRUE(player.waitForMainWindow());
        // The step runs beside the start-up: the window may show before it is done.
        EXPECT_TRUE(waitFor([] { return defaultFor("video/x-msvideo") == "qinglan.desktop"; }));
        EXPECT_EQ(player.terminate(), 0);
    }
    EXPECT_EQ(readFile(list), "[Default Applications]\n"
                              "video/x-msvideo=qinglan.desktop;otherplayer.desktop;\n"
                              "text/plain=gedit.desktop;\n");
    const fs::path entry = data.path() / "data" / "applications" / "qinglan.desktop";
    const std::string text = readFile(entry);
    EXPECT_NE(text.find("\nExec=" + (buildDir() / "qinglan").string() + " %f\n"), std::string::npos)
        << text;
    EXPECT_EQ(runTool("desktop-file-validate", {QString::fromStdString(entry.string())}), "");
    // The icon the entry names, drawn from the program's mark.
    const std::string icon =
        readFile(data.path() / "data" / "icons" / "hicolor" / "48x48" / "apps" / "qinglan.png");
    EXPECT_EQ(icon.substr(0, 4), "\x89PNG");

    runEdb(mote, {"set", "197", "0"});
    ASSERT_EQ(runEdb(mote, {"get", "197"}), "0");
    {
        PlayerProcess player(data);
        player.start();
        ASSERT_TRUE(player.waitForMainWindow());
        EXPECT_TRUE(waitFor([] { return defaultFor("video/x-msvideo") == "otherplayer.desktop"; }));
        EXPECT_EQ(player.terminate(), 0);
    }
    EXPECT_EQ(readFile(list), before);
}

TEST(EndToEndAssociations, WithTheInstalledEntryTheBuildFolderPlayerWritesNoEntryOfItsOwn) {
    TempDataDir data;
    const fs::path system = useOwnSystemFolders(data);
    const fs::path installed = system / "applications" / "qinglan.desktop";
    const std::string entry = "[Desktop Entry]\nType=Application\nName=青岚播放器\n"
                              "Exec=/usr/bin/qinglan %f\nIcon=qinglan\nMimeType=video/x-msvideo;\n";
    writeFile(installed, entry);
    const fs::path mote = data.playerDataDir() / "mote.edb";
    fs::create_directories(data.playerDataDir());
    runEdb(mote, {"init-settings"});
    runEdb(mote, {"set", "197", "1"});
    {
        PlayerProcess player(data);
        player.start();
        ASSERT_TRUE(player.waitForMainWindow());
        EXPECT_TRUE(waitFor([] { return defaultFor("video/x-msvideo") == "qinglan.desktop"; }));
        EXPECT_EQ(player.terminate(), 0);
    }
    EXPECT_EQ(readFile(data.path() / "config" / "mimeapps.list"),
              "[Default Applications]\nvideo/x-msvideo=qinglan.desktop;\n");
    EXPECT_FALSE(fs::exists(data.path() / "data" / "applications" / "qinglan.desktop"));
    EXPECT_FALSE(fs::exists(data.path() / "data" / "icons"));
    EXPECT_EQ(readFile(installed), entry);
}
