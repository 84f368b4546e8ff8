// The LRC reader: time tags, offsets, headers, word times, encodings, caps and garbage; and
// the timeline the view asks (current line, sung part, the position of a line).
#include "lyrics/LrcParser.h"
#include "lyrics/LyricsTimeline.h"
#include "lyrics/TextEncoding.h"
#include "support/TempDataDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <random>
#include <sstream>

using namespace qinglan::aplayer::lyrics;

namespace {

std::vector<int64_t> starts(const Lyrics& l) {
    std::vector<int64_t> out;
    for (const auto& line : l.lines)
        out.push_back(line.startMs);
    return out;
}

std::vector<std::string> texts(const Lyrics& l) {
    std::vector<std::string> out;
    for (const auto& line : l.lines)
        out.push_back(line.text);
    return out;
}

void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The fixture in another encoding, made by the system's iconv (not by the code under test).
std::string iconvTo(const std::string& utf8, const char* encoding) {
    qinglan::test::TempDataDir dir;
    writeFile(dir.path() / "in.txt", utf8);
    const std::string cmd = "iconv -f UTF-8 -t " + std::string(encoding) + " '" +
                            (dir.path() / "in.txt").string() + "' > '" +
                            (dir.path() / "out.txt").string() + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return readFile(dir.path() / "out.txt");
}

const std::string kSimplified = "[ti:青岚之歌]\n[ar:歌手甲]\n"
                                "[00:01.00]我们的爱情就像天上的星星\n"
                                "[00:05.00]你说过会一直陪在我身边，不会离开。\n"
                                "[00:09.00]这是一个关于时间和梦想的故事\n";
const std::string kTraditional = "[ti:青嵐之歌]\n[ar:歌手甲]\n"
                                 "[00:01.00]我們的愛情就像天上的星星\n"
                                 "[00:05.00]你說過會一直陪在我身邊，不會離開。\n"
                                 "[00:09.00]這是一個關於時間和夢想的故事\n";

} // namespace

TEST(EngineLrcTimeTags, EveryFormOfTagGivesItsTime) {
    EXPECT_EQ(parseTimeTag("01:02"), 62000);
    EXPECT_EQ(parseTimeTag("01:02.5"), 62500);
    EXPECT_EQ(parseTimeTag("01:02.50"), 62500);
    EXPECT_EQ(parseTimeTag("01:02.505"), 62505);
    EXPECT_EQ(parseTimeTag("1:02.05"), 62050);
    EXPECT_EQ(parseTimeTag("01:02:50"), 62500); // some editors write a colon
    EXPECT_EQ(parseTimeTag("120:00.00"), 7200000);
    for (const char* bad : {"", ":", "01", "01:", "01:2x", "01:60.00", "aa:bb", "01:02.",
                            "01:02.1234", "-01:02", "01:02.5x", "ti:01"})
        EXPECT_FALSE(parseTimeTag(bad)) << bad;
}

TEST(EngineLrcTimeTags, SeveralTagsRepeatALineAndAllLinesAreSortedStably) {
    const Lyrics l = parseLrc("[00:30.00]third\n"
                              "[00:10.00][00:40.00]first and fourth\n"
                              "[00:20.00]second a\n"
                              "[00:20.00]second b\n"
                              "[00:05]\n" // an empty line ends the one before it
                              "no tag here\n"
                              "[00:oops]not a line\n");
    EXPECT_EQ(starts(l), (std::vector<int64_t>{5000, 10000, 20000, 20000, 30000, 40000}));
    EXPECT_EQ(texts(l), (std::vector<std::string>{"", "first and fourth", "second a", "second b",
                                                  "third", "first and fourth"}));
}

TEST(EngineLrcTimeTags, LineEndingsOfEverySystemAndBracketsThatAreText) {
    const Lyrics l =
        parseLrc("[00:01.00]dos\r\n[00:02.00]mac\r[00:03.00]unix\n"
                 "[00:04.00][合] 一起唱\n  [00:05.00]  padded  \n[00:06.00]unclosed [x");
    EXPECT_EQ(texts(l), (std::vector<std::string>{"dos", "mac", "unix", "[合] 一起唱", "padded",
                                                  "unclosed [x"}));
}

TEST(EngineLrcOffsets, TheFilesOffsetAndTheUsersBothMoveTheLyricsEarlier) {
    EXPECT_EQ(parseLrc("[offset:+500]\n[00:01.00]a").offsetMs, 500);
    EXPECT_EQ(parseLrc("[offset:-300]\n[00:01.00]a").offsetMs, -300);
    EXPECT_EQ(parseLrc("[offset: 250 ]\n").offsetMs, 250);
    EXPECT_EQ(parseLrc("[offset:abc]\n").offsetMs, 0);
    EXPECT_EQ(parseLrc("[offset:99999999999999999999]\n").offsetMs, 0);

    const Lyrics l = parseLrc("[offset:500]\n[00:02.00]a\n[00:04.00]b\n");
    // Position 1000 + user 500 + file 500: the line at 2000 is current.
    EXPECT_EQ(currentLineAt(l.lines, lyricClock(1000, 500, l.offsetMs)), 0);
    EXPECT_EQ(currentLineAt(l.lines, lyricClock(999, 500, l.offsetMs)), -1);
    // Back from a line to the position that plays it, never before the start.
    EXPECT_EQ(positionOfLine(l.lines[1], 500, l.offsetMs), 3000);
    EXPECT_EQ(positionOfLine(l.lines[0], 5000, l.offsetMs), 0);
    EXPECT_EQ(positionOfLine(l.lines[0], -1000, l.offsetMs), 2500);
}

TEST(EngineLrcHeaders, TitleArtistAlbumAreKeptOtherTagsSkipped) {
    const Lyrics l = parseLrc("[ti:青岚]\n[AR: 歌手 ]\n[al:专辑]\n[by:someone]\n[length:03:20]\n"
                              "[re:editor][ve:1.0]\n[00:01.00]line\n");
    EXPECT_EQ(l.title, "青岚");
    EXPECT_EQ(l.artist, "歌手");
    EXPECT_EQ(l.album, "专辑");
    ASSERT_EQ(l.lines.size(), 1u);
    EXPECT_EQ(l.lines[0].text, "line");
}

TEST(EngineLrcWordTimes, WordsCarryTheirTimesAndTheLineItsEnd) {
    const Lyrics l = parseLrc("[00:01.00]<00:01.00>Word <00:01.50>by <00:02.00>word<00:03.00>\n"
                              "[00:04.00]lead <00:04.50>rest\n");
    ASSERT_EQ(l.lines.size(), 2u);
    const LyricLine& a = l.lines[0];
    EXPECT_EQ(a.text, "Word by word");
    ASSERT_EQ(a.words.size(), 3u);
    EXPECT_EQ(a.words[1].text, "by ");
    EXPECT_EQ(a.words[2].startMs, 2000);
    EXPECT_EQ(a.endMs, 3000);
    EXPECT_EQ(lineEndMs(l.lines, 0), 3000);
    // Text before the first word time starts with the line.
    EXPECT_EQ(l.lines[1].words[0].text, "lead ");
    EXPECT_EQ(l.lines[1].words[0].startMs, 4000);
    EXPECT_EQ(lineEndMs(l.lines, 1), 4000 + kLastLineMs);

    auto at = [&](int64_t t) { return sungProgress(l.lines, 0, t); };
    EXPECT_EQ(at(1000).word, 0);
    EXPECT_DOUBLE_EQ(at(1250).fraction, 0.5);
    EXPECT_EQ(at(1750).word, 1);
    EXPECT_EQ(at(2500).word, 2);
    EXPECT_DOUBLE_EQ(at(2500).fraction, 0.5);
    EXPECT_DOUBLE_EQ(at(9000).fraction, 1.0);
}

TEST(EngineLrcWordTimes, ARepeatedLineTakesItsWordsAlongAndWordsNeverRunBackwards) {
    const Lyrics l = parseLrc("[00:10.00][00:01.00]<00:01.00>a<00:01.40>b<00:02.00>\n"
                              "[00:20.00]<00:20.80>x<00:20.20>y<00:20.50>z\n");
    ASSERT_EQ(l.lines.size(), 3u);
    EXPECT_EQ(l.lines[0].words[1].startMs, 1400);
    EXPECT_EQ(l.lines[1].startMs, 10000);
    EXPECT_EQ(l.lines[1].words[1].startMs, 10400);
    EXPECT_EQ(l.lines[1].endMs, 11000);
    const auto& w = l.lines[2].words;
    ASSERT_EQ(w.size(), 3u);
    EXPECT_TRUE(w[0].startMs <= w[1].startMs && w[1].startMs <= w[2].startMs);
    // Lines without words: the progress is of the whole line, up to the next later line.
    const Lyrics plain = parseLrc("[00:00.00]a\n[00:00.00]a'\n[00:02.00]b\n");
    EXPECT_EQ(currentLineAt(plain.lines, 500), 1);
    EXPECT_DOUBLE_EQ(sungProgress(plain.lines, 0, 500).fraction, 0.25);
    EXPECT_EQ(sungProgress(plain.lines, 0, 500).word, -1);
}

TEST(EngineLrcEncodings, ByteOrderMarksDecide) {
    const std::string utf8 = "[ti:青岚]\n[00:01.00]第一行\n";
    Lyrics l = readLrc("\xEF\xBB\xBF" + utf8);
    EXPECT_EQ(l.encoding, Encoding::Utf8Bom);
    EXPECT_EQ(l.title, "青岚");
    for (auto [bom, name, encoding] : {std::tuple{"\xFF\xFE", "UTF-16LE", Encoding::Utf16Le},
                                       std::tuple{"\xFE\xFF", "UTF-16BE", Encoding::Utf16Be}}) {
        l = readLrc(std::string(bom) + iconvTo(utf8, name));
        EXPECT_EQ(l.encoding, encoding) << name;
        EXPECT_EQ(l.title, "青岚") << name;
        ASSERT_EQ(l.lines.size(), 1u) << name;
        EXPECT_EQ(l.lines[0].text, "第一行") << name;
    }
    // Outside the basic plane: a surrogate pair.
    EXPECT_EQ(decodeText(std::string("\xFF\xFE") + iconvTo("𠀀", "UTF-16LE")).utf8, "𠀀");
}

TEST(EngineLrcEncodings, ChineseFilesWithoutMarkReadRightInGb18030AndBig5) {
    const Lyrics utf8 = parseLrc(kSimplified);
    const Lyrics trad = parseLrc(kTraditional);
    struct Case {
        const char* name;
        std::string bytes;
        Encoding expected;
        const Lyrics& original;
    } cases[] = {
        {"GB18030 simplified", iconvTo(kSimplified, "GB18030"), Encoding::Gb18030, utf8},
        {"GB18030 traditional", iconvTo(kTraditional, "GB18030"), Encoding::Gb18030, trad},
        {"Big5 traditional", iconvTo(kTraditional, "BIG5"), Encoding::Big5, trad},
        {"UTF-8 without mark", kSimplified, Encoding::Utf8, utf8},
    };
    for (const Case& c : cases) {
        const Lyrics l = readLrc(c.bytes);
        EXPECT_EQ(l.encoding, c.expected) << c.name;
        EXPECT_EQ(l.title, c.original.title) << c.name;
        EXPECT_EQ(texts(l), texts(c.original)) << c.name;
    }
    // One short line each way too: little text to judge by.
    EXPECT_EQ(readLrc(iconvTo("[00:01]中國", "BIG5")).lines.at(0).text, "中國");
    EXPECT_EQ(readLrc(iconvTo("[00:01]愛你", "BIG5")).lines.at(0).text, "愛你");
    EXPECT_EQ(readLrc(iconvTo("[00:01]爱你", "GB18030")).lines.at(0).text, "爱你");
}

TEST(EngineLrcEncodings, UTF8WithAStrayByteStaysUTF8AndBadBytesBecomeReplacements) {
    std::string text = kSimplified;
    text.insert(text.find("星星"), "\xFF");
    const DecodedText d = decodeText(text);
    EXPECT_EQ(d.encoding, Encoding::Utf8);
    EXPECT_EQ(d.invalidBytes, 1u);
    EXPECT_NE(d.utf8.find("\xEF\xBF\xBD星星"), std::string::npos);
    // Overlong forms and surrogates are not UTF-8.
    EXPECT_GT(decodeWith("\xC0\xAF", Encoding::Utf8).invalidBytes, 0u);
    EXPECT_GT(decodeWith("\xED\xA0\x80", Encoding::Utf8).invalidBytes, 0u);
    // An unpaired surrogate and an odd last byte in UTF-16.
    EXPECT_EQ(decodeWith(std::string("\x00\xD8\x41\x00\x42", 5), Encoding::Utf16Le).utf8,
              "\xEF\xBF\xBD"
              "A\xEF\xBF\xBD");
}

TEST(EngineLrcCaps, OnlyTheFirstMebibyteIsReadAndRepeatsCannotExhaustMemory) {
    qinglan::test::TempDataDir dir;
    std::string big = "[ti:big]\n";
    while (big.size() < kMaxLrcBytes + 4096)
        big += "[00:01.00]line of a big file\n";
    big += "[59:00.00]beyond the cap\n";
    writeFile(dir.path() / "big.lrc", big);
    auto l = readLrcFile((dir.path() / "big.lrc").string());
    ASSERT_TRUE(l);
    EXPECT_TRUE(l->truncated);
    EXPECT_EQ(l->title, "big");
    EXPECT_NE(texts(*l).back(), "beyond the cap");

    // One line with 100,000 time tags and a long text: the lines and their text are capped.
    std::string tags;
    for (int i = 0; i < 100000; ++i)
        tags += "[00:01]";
    const Lyrics many = parseLrc(tags + std::string(300000, 'x'));
    EXPECT_TRUE(many.truncated);
    EXPECT_LE(many.lines.size(), kMaxLines);
    size_t bytes = 0;
    for (const auto& line : many.lines)
        bytes += line.text.size();
    EXPECT_LE(bytes, kMaxTextBytes + 300000);
}

// Inputs that made the reader search a line from each of its characters (minutes for one
// file): a mebibyte of '<' with or without a '>' at the end, and of blank word times.
TEST(EngineLrcCaps, AMebibyteOfHalfTagsIsReadInOnePass) {
    const size_t n = kMaxLrcBytes - 16;
    std::string blankWords = "[00:01]";
    while (blankWords.size() < n)
        blankWords += "<00:01> ";
    for (const std::string& s :
         {"[00:01]" + std::string(n, '<'), "[00:01]" + std::string(n, '<') + ">", blankWords}) {
        const Lyrics l = readLrc(s);
        ASSERT_EQ(l.lines.size(), 1u);
        EXPECT_LE(l.lines[0].words.size(), 1u);
    }
}

TEST(EngineLrcCaps, NamesThatAreNoFileGiveNothingAndNeverBlock) {
    qinglan::test::TempDataDir dir;
    const auto fifo = dir.path() / "pipe.lrc";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A read that blocked on the pipe would never return: ask from another thread.
    auto result = std::async(std::launch::async, [&] { return readLrcFile(fifo.string()); });
    ASSERT_EQ(result.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_FALSE(result.get());
    EXPECT_FALSE(readLrcFile(dir.path().string()));
    EXPECT_FALSE(readLrcFile((dir.path() / "missing.lrc").string()));
    EXPECT_FALSE(readLrcFile(""));
}

TEST(EngineLrcGarbage, RandomAndHalfFormedInputParsesToSortedLines) {
    const std::string halfFormed[] = {"[",
                                      "]",
                                      "[00:",
                                      "[00:01",
                                      "[00:01.00",
                                      "<00:01.00>",
                                      "[00:01.00]<",
                                      "[00:01.00]<00:0",
                                      "[00:01.00]<99:99.99>x",
                                      "\xEF\xBB\xBF",
                                      "\xFF\xFE",
                                      "\xFE\xFF\x00",
                                      "[ti:",
                                      "[:x]",
                                      std::string(1000, '['),
                                      std::string("\0[00:01]\0a", 10)};
    for (const std::string& s : halfFormed)
        (void)readLrc(s);
    std::mt19937 rng(20261209);
    const std::string alphabet = "[]<>:.0123456789\n\r tia\xA4\xD6\xB0\xE4\xFF";
    for (int round = 0; round < 300; ++round) {
        std::string s(rng() % 400, ' ');
        for (char& c : s)
            c = round % 2 ? static_cast<char>(rng()) : alphabet[rng() % alphabet.size()];
        const Lyrics l = readLrc(s);
        for (size_t i = 1; i < l.lines.size(); ++i)
            ASSERT_LE(l.lines[i - 1].startMs, l.lines[i].startMs);
        for (size_t i = 0; i < l.lines.size(); ++i) {
            const SungProgress p =
                sungProgress(l.lines, static_cast<int>(i), l.lines[i].startMs + 10);
            ASSERT_GE(p.fraction, 0.0);
            ASSERT_LE(p.fraction, 1.0);
        }
    }
}
