#include "aplayer/SubtitleEncoding.h"

#include "lyrics/TextEncoding.h"

#include <uchardet.h>

#include <array>
#include <fstream>
#include <memory>

namespace qinglan::aplayer {
namespace {

constexpr size_t kHeadBytes = 256 * 1024;
// Below this share of common characters a text is not taken for Chinese: a double-byte text of
// another kind scatters over the whole code space.
constexpr double kSureShare = 0.6;

// uchardet's names for the Japanese and Korean encodings, whose double bytes look much like
// GB's (EUC-KR's hangul lies right on GB2312's first level).
constexpr std::array kOtherEastAsian{"SHIFT_JIS", "EUC-JP",      "ISO-2022-JP", "EUC-KR",
                                     "UHC",       "ISO-2022-KR", "JOHAB"};

std::string uchardetGuess(std::string_view bytes) {
    std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> u(uchardet_new(),
                                                                               uchardet_delete);
    if (!u || uchardet_handle_data(u.get(), bytes.data(), bytes.size()) != 0) return {};
    uchardet_data_end(u.get());
    const char* name = uchardet_get_charset(u.get());
    return name ? name : "";
}

} // namespace

std::string subtitleCodepage(std::string_view head, std::string_view guess) {
    for (const char* other : kOtherEastAsian)
        if (guess == other) return "auto";
    const lyrics::DecodedText text = lyrics::decodeText(head);
    if (text.encoding != lyrics::Encoding::Gb18030 && text.encoding != lyrics::Encoding::Big5)
        return "auto";
    if (text.invalidBytes > 0 || lyrics::commonCharacterShare(head, text.encoding) < kSureShare)
        return "auto";
    return text.encoding == lyrics::Encoding::Big5 ? "big5" : "gb18030";
}

std::string subtitleCodepageOfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "auto";
    std::string head(kHeadBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    // A cut in the middle of a double-byte character is not the file's fault.
    if (size_t cut = head.rfind('\n'); head.size() == kHeadBytes && cut != std::string::npos)
        head.resize(cut);
    return subtitleCodepage(head, uchardetGuess(head));
}

} // namespace qinglan::aplayer
