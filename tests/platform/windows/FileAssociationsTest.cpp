// Associations in the current user's classes: after apply exactly the four values per type,
// after unticking the earlier state back, byte for byte, and the user's Explorer choice and
// other programs' keys never touched. Wine's HKEY_CLASSES_ROOT is not the merged view Windows
// shows, so the user's classes are read directly.
#include <desktop/FileTypes.h>
#include <platform/FileAssociations.h>
#include <platform/FileTypes.h>
#include <platform/windows/WideText.h>

#include "Registry.h"

#include <gtest/gtest.h>

using namespace qinglan;

namespace {

const std::wstring kClasses = L"Software\\Classes";
const std::wstring kFileExts = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
const std::filesystem::path kProgram = L"C:\\Program Files\\青岚\\qinglan.exe";

std::vector<platform::FileTypeChoice> everyType(bool associate) {
    return desktop::fileTypeChoices([associate](int) { return associate ? "1" : "0"; });
}

class RegistryAssociations : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& type : platform::fileTypes()) {
            const std::wstring e = platform::wideFromUtf8(type.extension);
            test::removeTree(HKEY_CURRENT_USER, kClasses + L"\\." + e);
            test::removeTree(HKEY_CURRENT_USER, kClasses + L"\\Qinglan." + e);
            test::removeTree(HKEY_CURRENT_USER, kFileExts + L"\\." + e);
        }
        test::removeTree(HKEY_CURRENT_USER, kClasses + L"\\OtherPlayer.mkv");
        test::removeTree(HKEY_CURRENT_USER, L"Software\\Qinglan");
        // Another player owns .mkv; the user chose a program for .avi in Explorer; .mp3 has
        // a key with a content type but no default.
        test::writeText(HKEY_CURRENT_USER, kClasses + L"\\.mkv", nullptr, L"OtherPlayer.mkv");
        test::writeText(HKEY_CURRENT_USER, kClasses + L"\\.mkv\\OpenWithProgids",
                        L"OtherPlayer.mkv", L"");
        test::writeText(HKEY_CURRENT_USER, kClasses + L"\\OtherPlayer.mkv\\shell\\open\\command",
                        nullptr, L"\"C:\\Other\\other.exe\" \"%1\"");
        test::writeText(HKEY_CURRENT_USER, kFileExts + L"\\.avi\\UserChoice", L"ProgId",
                        L"OtherPlayer.avi");
        test::writeText(HKEY_CURRENT_USER, kClasses + L"\\.mp3", L"Content Type", L"audio/mpeg");
    }
    void TearDown() override { SetUp(); }

    std::unique_ptr<platform::FileAssociations> associations = platform::makeFileAssociations();
};

} // namespace

TEST_F(RegistryAssociations, TickedTypesGetThePlayersClassWithAQuotedOpenCommand) {
    const auto classesBefore = test::dumpTree(HKEY_CURRENT_USER, kClasses);
    const auto explorerBefore = test::dumpTree(HKEY_CURRENT_USER, kFileExts);
    EXPECT_TRUE(associations->apply({kProgram, {}}, everyType(true)).empty());
    for (const auto& type : platform::fileTypes()) {
        const std::wstring e = platform::wideFromUtf8(type.extension);
        const std::wstring cls = L"Qinglan." + e;
        SCOPED_TRACE(type.extension);
        EXPECT_EQ(test::readText(HKEY_CURRENT_USER, kClasses + L"\\." + e), cls);
        EXPECT_EQ(test::readText(HKEY_CURRENT_USER, kClasses + L"\\" + cls), e);
        EXPECT_EQ(test::readText(HKEY_CURRENT_USER, kClasses + L"\\" + cls + L"\\DefaultIcon"),
                  L"C:\\Program Files\\青岚\\qinglan.exe,0");
        EXPECT_EQ(
            test::readText(HKEY_CURRENT_USER, kClasses + L"\\" + cls + L"\\shell\\open\\command"),
            L"\"C:\\Program Files\\青岚\\qinglan.exe\" \"%1\"");
    }
    // Windows' own "avifile" class is not the player's.
    EXPECT_EQ(test::readText(HKEY_CURRENT_USER, kClasses + L"\\avifile"), std::nullopt);
    EXPECT_EQ(test::dumpTree(HKEY_CURRENT_USER, kFileExts), explorerBefore);
    std::map<std::wstring, std::wstring> otherPlayer;
    for (const auto& [k, v] : classesBefore)
        if (k.starts_with(kClasses + L"\\OtherPlayer.mkv\\")) otherPlayer[k] = v;
    EXPECT_EQ(test::dumpTree(HKEY_CURRENT_USER, kClasses + L"\\OtherPlayer.mkv"), otherPlayer);

    // Applied again (the next start): the same, and the earlier defaults kept are still the
    // ones from before the player, not its own class.
    const auto after = test::dumpTree(HKEY_CURRENT_USER, kClasses);
    EXPECT_TRUE(associations->apply({kProgram, {}}, everyType(true)).empty());
    EXPECT_EQ(test::dumpTree(HKEY_CURRENT_USER, kClasses), after);

    // Unticked: everything as it was, byte for byte, and the player keeps no notes.
    EXPECT_TRUE(associations->apply({kProgram, {}}, everyType(false)).empty());
    EXPECT_EQ(test::dumpTree(HKEY_CURRENT_USER, kClasses), classesBefore);
    EXPECT_EQ(test::dumpTree(HKEY_CURRENT_USER, kFileExts), explorerBefore);
    EXPECT_TRUE(test::dumpTree(HKEY_CURRENT_USER, L"Software\\Qinglan\\FileAssociations").empty());
}

TEST_F(RegistryAssociations, UntickingLeavesATypeAnotherProgramTookSinceAlone) {
    const std::vector<platform::FileTypeChoice> mkv = {{"mkv", true}};
    EXPECT_TRUE(associations->apply({kProgram, {}}, mkv).empty());
    // Another program takes .mkv afterwards: unticking removes only the player's class.
    test::writeText(HKEY_CURRENT_USER, kClasses + L"\\.mkv", nullptr, L"ThirdPlayer.mkv");
    const std::vector<platform::FileTypeChoice> noMkv = {{"mkv", false}};
    EXPECT_TRUE(associations->apply({kProgram, {}}, noMkv).empty());
    EXPECT_EQ(test::readText(HKEY_CURRENT_USER, kClasses + L"\\.mkv"), L"ThirdPlayer.mkv");
    EXPECT_EQ(test::readText(HKEY_CURRENT_USER, kClasses + L"\\Qinglan.mkv"), std::nullopt);
    EXPECT_TRUE(test::dumpTree(HKEY_CURRENT_USER, kClasses + L"\\OtherPlayer.mkv").size() > 1);
}

TEST_F(RegistryAssociations, OnlyTheNamedTypesChange) {
    const auto before = test::dumpTree(HKEY_CURRENT_USER, kClasses + L"\\.mkv");
    const std::vector<platform::FileTypeChoice> avi = {{"avi", true}};
    EXPECT_TRUE(associations->apply({kProgram, {}}, avi).empty());
    EXPECT_EQ(test::readText(HKEY_CURRENT_USER, kClasses + L"\\.avi"), L"Qinglan.avi");
    EXPECT_EQ(test::dumpTree(HKEY_CURRENT_USER, kClasses + L"\\.mkv"), before);
    EXPECT_EQ(test::readText(HKEY_CURRENT_USER, kClasses + L"\\.mp4"), std::nullopt);
}
