// Which encoding mpv is told for a subtitle file, from its bytes and uchardet's guess.
#include "aplayer/SubtitleEncoding.h"

#include <gtest/gtest.h>

using namespace qinglan::aplayer;

TEST(EngineSubtitleEncoding, ShortChineseFilesAreNamedWhereUchardetSeesLatinText) {
    // "青岚字幕" in GB18030 and "電影字幕" in Big5: uchardet says ISO-8859-1 and WINDOWS-1252.
    EXPECT_EQ(subtitleCodepage("\xc7\xe0\xe1\xb0\xd7\xd6\xc4\xbb", "ISO-8859-1"), "gb18030");
    EXPECT_EQ(subtitleCodepage("\xb9\x71\xbc\x76\xa6\x72\xb9\xf5", "WINDOWS-1252"), "big5");
    EXPECT_EQ(subtitleCodepage("\xc7\xe0\xe1\xb0\xd7\xd6\xc4\xbb", ""), "gb18030");
}

TEST(EngineSubtitleEncoding, EverythingElseIsLeftToMpv) {
    EXPECT_EQ(subtitleCodepage("plain text", "ASCII"), "auto");
    EXPECT_EQ(subtitleCodepage("青岚字幕", "UTF-8"), "auto"); // UTF-8 needs no help
    // "Café crème" in Windows-1252.
    EXPECT_EQ(subtitleCodepage("\x43\x61\x66\xe9\x20\x63\x72\xe8\x6d\x65", "WINDOWS-1252"), "auto");
    // "한국어 자막" in EUC-KR looks like GB2312 byte for byte; uchardet's Korean answer decides.
    const char* korean = "\xc7\xd1\xb1\xb9\xbe\xee\x20\xc0\xda\xb8\xb7";
    EXPECT_EQ(subtitleCodepage(korean, "UHC"), "auto");
    EXPECT_EQ(subtitleCodepage(korean, "EUC-KR"), "auto");
    EXPECT_EQ(subtitleCodepageOfFile("/nonexistent/file.srt"), "auto");
}
