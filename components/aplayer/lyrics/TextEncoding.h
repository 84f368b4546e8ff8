#pragma once
// Turns the bytes of a text file of unknown encoding into UTF-8. Lyric files come in whatever
// their maker's system wrote: UTF-8 with or without a byte order mark, UTF-16 with one, and
// for Chinese files mostly GB18030 (GBK) or Big5, which carry no mark at all.
//
// How the encoding is found:
// 1. A byte order mark decides: EF BB BF UTF-8, FF FE UTF-16 LE, FE FF UTF-16 BE.
// 2. Text that is UTF-8 throughout (all ASCII included) is UTF-8. So is text that is UTF-8
//    but for a stray byte or two (fewer than 1 in 100 of its non-ASCII bytes): a legacy
//    encoding read as UTF-8 breaks on almost every character, never on so few.
// 3. Otherwise both GB18030 and Big5 are tried, and the decoding whose characters are more
//    often common ones wins, less one for each byte it cannot decode (GB18030 decodes nearly
//    any double-byte text, so validity alone rarely decides). Each standard puts its frequent
//    characters in a known block, GB2312's 3755 first-level hanzi (lead bytes B0-D7) and
//    punctuation (A1-A3), Big5's 5401 frequent hanzi (A440-C67E) and symbols (A1-A3). Read in the
//    wrong standard, a text's characters land mostly outside that block (Big5's half of trail bytes
//    below 0x7F never fall into GB2312; GB's rows C7-D7 are Big5's rare second level). A tie
//    goes to GB18030, the more common of the two.
// Bytes that do not decode become U+FFFD; decoding never fails and never stops early.
// No state, no Qt: safe from any thread.
#include <cstddef>
#include <string>
#include <string_view>

namespace qinglan::aplayer::lyrics {

enum class Encoding { Utf8, Utf8Bom, Utf16Le, Utf16Be, Gb18030, Big5 };

const char* encodingName(Encoding encoding);

struct DecodedText {
    std::string utf8;
    Encoding encoding = Encoding::Utf8;
    size_t invalidBytes = 0; // bytes that became U+FFFD
};

DecodedText decodeText(std::string_view bytes);

// The parts of the decision, for tests and for callers that know better.
// Decodes with glibc's iconv from the named encoding; bytes it rejects become U+FFFD.
DecodedText decodeWith(std::string_view bytes, Encoding encoding);
// Share (0..1) of the double-byte characters that fall into the standard's common block.
double commonCharacterShare(std::string_view bytes, Encoding encoding);

} // namespace qinglan::aplayer::lyrics
