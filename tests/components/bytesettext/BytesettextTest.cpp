#include "bytesettext/Bytesettext.h"

#include <gtest/gtest.h>

using qinglan::Bytesettext;

TEST(Bytesettext, DecodesCharacterCodes) {
    EXPECT_EQ(Bytesettext("113,105,110,103").text, "qing");
    EXPECT_EQ(Bytesettext(" 65 , 66,67 ").text, "ABC");
    EXPECT_EQ(Bytesettext("38738,23706").text, "青岚");
    EXPECT_EQ(Bytesettext("128512").text, "\xF0\x9F\x98\x80");
    EXPECT_TRUE(Bytesettext("1").ok());
}

TEST(Bytesettext, RefusesBadInputWithAReason) {
    for (const char* bad : {"", " ", "65,", ",65", "65,,66", "6a", "-1", "+65", "0", "1114112",
                            "55296", "99999999999999999999999", "65;66", "0x41"}) {
        auto r = Bytesettext(bad);
        EXPECT_FALSE(r.ok()) << '"' << bad << '"';
        EXPECT_TRUE(r.text.empty()) << bad;
        EXPECT_FALSE(r.error.empty()) << bad;
    }
}
