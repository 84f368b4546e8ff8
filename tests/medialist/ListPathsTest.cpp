// How the list reads paths: display names, folders, and the 17 media patterns.
#include <medialist/ListPaths.h>

#include <gtest/gtest.h>

using namespace qinglan::medialist;

TEST(ListPaths, DisplayNameIsTheTextAfterTheLastSlash) {
    EXPECT_EQ(displayName("/videos/第一集.mp4"), "第一集.mp4");
    EXPECT_EQ(displayName("clip.mp4"), "clip.mp4"); // no folder: its own name
    EXPECT_EQ(displayName("/videos/"), "");         // a folder has no name to show
    EXPECT_EQ(displayName(""), "");
}

TEST(ListPaths, FoldersGetOneSlashAndTheRootNoSecond) {
    EXPECT_EQ(withTrailingSlash("/home/user/视频"), "/home/user/视频/");
    EXPECT_EQ(withTrailingSlash("/home/user/视频/"), "/home/user/视频/");
    EXPECT_EQ(withTrailingSlash("/"), "/");
    EXPECT_EQ(containingFolder("/home/a b/clip.mp4"), "/home/a b/");
    EXPECT_EQ(containingFolder("/clip.mp4"), "/");
    EXPECT_EQ(containingFolder("clip.mp4"), "");
}

TEST(ListPaths, SeventeenPatternsInTheFilterOrder) {
    const auto& p = mediaPatterns();
    ASSERT_EQ(p.size(), 17u);
    EXPECT_EQ(p.front(), "*.avi");
    EXPECT_EQ(p[9], "*.rmvb");
    EXPECT_EQ(p.back(), "*.vob");
    for (auto pattern : p)
        EXPECT_TRUE(matchesMediaPattern(std::string("/x/clip") + std::string(pattern.substr(1))))
            << pattern;
}

TEST(ListPaths, ThePatternsMatchExactlyAndWithTheirLetterCase) {
    EXPECT_TRUE(matchesMediaPattern("/v/a.avi"));
    EXPECT_FALSE(matchesMediaPattern("/v/b.MKV"));
    EXPECT_FALSE(matchesMediaPattern("/v/clip.Mp4"));
    EXPECT_FALSE(matchesMediaPattern("/v/c.txt"));
    EXPECT_FALSE(matchesMediaPattern("/v/clip.mp4.part"));
    EXPECT_FALSE(matchesMediaPattern("/v/clip.mpg"));   // only the listed extensions
    EXPECT_TRUE(matchesMediaPattern("/v/clip.tar.ts")); // the last dot counts
    EXPECT_FALSE(matchesMediaPattern("/v/noextension"));
    EXPECT_FALSE(matchesMediaPattern("/v/clip."));
    // The extension is taken from the whole path: a dotted folder and a file without a dot.
    EXPECT_FALSE(matchesMediaPattern("/films.mp4/readme"));
}
