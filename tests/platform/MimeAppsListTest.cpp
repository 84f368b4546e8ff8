// mimeapps.list edits change only the lists asked about, only for our entry, and keep every
// other byte of the file.
#include <platform/linux/XdgFileAssociations.h>

#include <gtest/gtest.h>

using namespace qinglan::platform;

namespace {
std::string edit(std::string_view text, std::vector<DefaultApplication> changes) {
    return editDefaultApplications(text, changes);
}
} // namespace

TEST(MimeAppsList, OursGoesFirstAndEveryOtherLineGroupAndCommentStays) {
    const std::string before = "# kept by the user\n"
                               "[Added Associations]\n"
                               "video/x-msvideo=mpv.desktop;\n"
                               "\n"
                               "[Default Applications]\n"
                               "video/x-msvideo=vlc.desktop;mpv.desktop;\n"
                               "video/x-msvideo2=vlc.desktop;\n"
                               "text/plain = gedit.desktop\r\n"
                               "  # a comment inside the group\n"
                               "\n"
                               "[Removed Associations]\n"
                               "video/mp4=totem.desktop;";
    const std::string after = edit(before, {{"video/x-msvideo", true}});
    EXPECT_EQ(after, "# kept by the user\n"
                     "[Added Associations]\n"
                     "video/x-msvideo=mpv.desktop;\n"
                     "\n"
                     "[Default Applications]\n"
                     "video/x-msvideo=qinglan.desktop;vlc.desktop;mpv.desktop;\n"
                     "video/x-msvideo2=vlc.desktop;\n"
                     "text/plain = gedit.desktop\r\n"
                     "  # a comment inside the group\n"
                     "\n"
                     "[Removed Associations]\n"
                     "video/mp4=totem.desktop;");
    // Taken out again, the user's earlier order is back, byte for byte.
    EXPECT_EQ(edit(after, {{"video/x-msvideo", false}}), before);
    // Already first: nothing to change.
    EXPECT_EQ(edit(after, {{"video/x-msvideo", true}}), after);
}

TEST(MimeAppsList, ListsThatAreMissingAreAddedWhereReadersLookForThem) {
    // No file yet.
    EXPECT_EQ(edit("", {{"video/x-msvideo", true}, {"video/mp4", false}, {"audio/flac", true}}),
              "[Default Applications]\n"
              "video/x-msvideo=qinglan.desktop;\n"
              "audio/flac=qinglan.desktop;\n");
    // A file without the group, its last line without a line end.
    EXPECT_EQ(edit("[Added Associations]\naudio/mpeg=rhythmbox.desktop;", {{"audio/mpeg", true}}),
              "[Added Associations]\naudio/mpeg=rhythmbox.desktop;\n"
              "\n"
              "[Default Applications]\n"
              "audio/mpeg=qinglan.desktop;\n");
    // The group exists: the new list joins its other lists, before the blank line and the next
    // group (xdg-mime reads the group only up to the next header).
    EXPECT_EQ(edit("[Default Applications]\n"
                   "text/plain=gedit.desktop;\n"
                   "\n"
                   "[Added Associations]\n"
                   "video/mp4=mpv.desktop;\n",
                   {{"video/mp4", true}}),
              "[Default Applications]\n"
              "text/plain=gedit.desktop;\n"
              "video/mp4=qinglan.desktop;\n"
              "\n"
              "[Added Associations]\n"
              "video/mp4=mpv.desktop;\n");
}

TEST(MimeAppsList, TakingOursOutTouchesNothingElse) {
    // A list that held only us loses its line; one without us is kept exactly as written.
    EXPECT_EQ(edit("[Default Applications]\n"
                   "video/mp4=qinglan.desktop;\n"
                   "video/x-msvideo = vlc.desktop\n"
                   "audio/mpeg=qinglan.desktop;rhythmbox.desktop;qinglan.desktop\n",
                   {{"video/mp4", false}, {"video/x-msvideo", false}, {"audio/mpeg", false}}),
              "[Default Applications]\n"
              "video/x-msvideo = vlc.desktop\n"
              "audio/mpeg=rhythmbox.desktop;\n");
    // A type nobody listed stays unlisted; other entries' names that merely contain ours stay.
    EXPECT_EQ(edit("[Default Applications]\nvideo/mp4=org.qinglan.desktop;\n",
                   {{"video/mp4", false}, {"video/mpeg", false}}),
              "[Default Applications]\nvideo/mp4=org.qinglan.desktop;\n");
}

TEST(MimeAppsList, RepeatedGroupsAndListsAreAllEdited) {
    const std::string before = "[Default Applications]\n"
                               "video/mp4=vlc.desktop;qinglan.desktop;\n"
                               "[Default Applications]\n"
                               "video/mp4=mpv.desktop;\n";
    EXPECT_EQ(edit(before, {{"video/mp4", true}}), "[Default Applications]\n"
                                                   "video/mp4=qinglan.desktop;vlc.desktop;\n"
                                                   "[Default Applications]\n"
                                                   "video/mp4=qinglan.desktop;mpv.desktop;\n");
    EXPECT_EQ(edit(before, {{"video/mp4", false}}), "[Default Applications]\n"
                                                    "video/mp4=vlc.desktop;\n"
                                                    "[Default Applications]\n"
                                                    "video/mp4=mpv.desktop;\n");
}

TEST(MimeAppsList, ExecValueQuotesOnlyWhenTheFormatAsks) {
    EXPECT_EQ(execValue("/opt/qinglan/qinglan"), "/opt/qinglan/qinglan");
    EXPECT_EQ(execValue("/opt/青岚/qinglan"), "/opt/青岚/qinglan");
    EXPECT_EQ(execValue("/opt/100%/qinglan"), "/opt/100%%/qinglan");
    EXPECT_EQ(execValue("/opt/my player/qinglan"), "\"/opt/my player/qinglan\"");
    // Inside quotes ", `, $ and \ take a backslash, and each backslash is then written twice.
    EXPECT_EQ(execValue("/opt/a$b\"c\\d/qinglan"), "\"/opt/a\\\\$b\\\\\"c\\\\\\\\d/qinglan\"");
}
