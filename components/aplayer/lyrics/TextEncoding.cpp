#include "lyrics/TextEncoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace qinglan::aplayer::lyrics {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. Each byte that does
// not start a well-formed sequence becomes one U+FFFD.
DecodedText decodeUtf8(std::string_view in, Encoding encoding) {
    DecodedText out;
    out.encoding = encoding;
    out.utf8.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        const auto b = static_cast<uint8_t>(in[i]);
        if (b < 0x80) {
            out.utf8 += static_cast<char>(b);
            ++i;
            continue;
        }
        size_t len = 0;
        uint32_t cp = 0, min = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2, cp = b & 0x1F, min = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3, cp = b & 0x0F, min = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4, cp = b & 0x07, min = 0x10000;
        }
        bool ok = len != 0 && i + len <= in.size();
        for (size_t k = 1; ok && k < len; ++k) {
            const auto c = static_cast<uint8_t>(in[i + k]);
            if ((c & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        ok = ok && cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (!ok) {
            out.utf8 += kReplacement;
            ++out.invalidBytes;
            ++i;
            continue;
        }
        out.utf8.append(in.substr(i, len));
        i += len;
    }
    return out;
}

DecodedText decodeUtf16(std::string_view in, bool littleEndian, Encoding encoding) {
    DecodedText out;
    out.encoding = encoding;
    out.utf8.reserve(in.size() * 3 / 2);
    auto unit = [&](size_t at) {
        const auto a = static_cast<uint8_t>(in[at]), b = static_cast<uint8_t>(in[at + 1]);
        return static_cast<uint32_t>(littleEndian ? (b << 8) | a : (a << 8) | b);
    };
    size_t i = 0;
    while (i + 1 < in.size()) {
        uint32_t u = unit(i);
        i += 2;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < in.size()) {
            uint32_t low = unit(i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                i += 2;
                appendUtf8(out.utf8, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF) { // an unpaired surrogate
            out.utf8 += kReplacement;
            out.invalidBytes += 2;
            continue;
        }
        appendUtf8(out.utf8, u);
    }
    if (i < in.size()) { // an odd byte at the end
        out.utf8 += kReplacement;
        ++out.invalidBytes;
    }
    return out;
}

DecodedText decodeIconv(std::string_view in, const char* from, Encoding encoding) {
    DecodedText out;
    out.encoding = encoding;
    out.utf8.reserve(in.size() * 3 / 2);
    iconv_t cd = iconv_open("UTF-8", from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // No converter installed: keep what is certain, the ASCII.
        for (char c : in) {
            if (static_cast<uint8_t>(c) < 0x80) {
                out.utf8 += c;
            } else {
                out.utf8 += kReplacement;
                ++out.invalidBytes;
            }
        }
        return out;
    }
    char* inp = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char chunk[8192];
    while (inLeft > 0) {
        char* outp = chunk;
        size_t outLeft = sizeof chunk;
        const size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
        out.utf8.append(chunk, static_cast<size_t>(outp - chunk));
        if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
        // EILSEQ (not a character) or EINVAL (cut off at the end): skip one byte and go on
        // from a clean state.
        out.utf8 += kReplacement;
        ++out.invalidBytes;
        ++inp;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

// Characters of two bytes or more, counted by lead bytes the way both standards see them.
size_t doubleByteCount(std::string_view bytes) {
    size_t n = 0;
    for (size_t i = 0; i < bytes.size();) {
        if (static_cast<uint8_t>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        ++n;
        i += 2;
    }
    return n == 0 ? 1 : n;
}

size_t nonAsciiBytes(std::string_view bytes) {
    size_t n = 0;
    for (char c : bytes)
        n += static_cast<uint8_t>(c) >= 0x80;
    return n;
}

} // namespace

const char* encodingName(Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf8:
        return "UTF-8";
    case Encoding::Utf8Bom:
        return "UTF-8 (BOM)";
    case Encoding::Utf16Le:
        return "UTF-16LE";
    case Encoding::Utf16Be:
        return "UTF-16BE";
    case Encoding::Gb18030:
        return "GB18030";
    case Encoding::Big5:
        return "BIG5";
    }
    return "";
}

DecodedText decodeWith(std::string_view bytes, Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf8:
    case Encoding::Utf8Bom:
        return decodeUtf8(bytes, encoding);
    case Encoding::Utf16Le:
        return decodeUtf16(bytes, true, encoding);
    case Encoding::Utf16Be:
        return decodeUtf16(bytes, false, encoding);
    case Encoding::Gb18030:
        return decodeIconv(bytes, "GB18030", encoding);
    case Encoding::Big5:
        return decodeIconv(bytes, "BIG5", encoding);
    }
    return decodeUtf8(bytes, Encoding::Utf8);
}

double commonCharacterShare(std::string_view bytes, Encoding encoding) {
    size_t pairs = 0, common = 0;
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<uint8_t>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        ++pairs;
        if (i + 1 >= bytes.size()) break;
        const auto trail = static_cast<uint8_t>(bytes[i + 1]);
        if (encoding == Encoding::Gb18030) {
            if (trail >= 0x30 && trail <= 0x39) { // a four-byte character: rare by design
                i += 4;
                continue;
            }
            const bool hanzi = lead >= 0xB0 && lead <= 0xD7;
            const bool punctuation = lead >= 0xA1 && lead <= 0xA3;
            common += (hanzi || punctuation) && trail >= 0xA1 && trail <= 0xFE;
        } else if (encoding == Encoding::Big5) {
            const bool trailOk =
                (trail >= 0x40 && trail <= 0x7E) || (trail >= 0xA1 && trail <= 0xFE);
            const bool frequent = (lead >= 0xA4 && lead <= 0xC5) || (lead == 0xC6 && trail <= 0x7E);
            const bool symbols = lead >= 0xA1 && lead <= 0xA3;
            common += trailOk && (frequent || symbols);
        }
        i += 2;
    }
    return pairs == 0 ? 0.0 : static_cast<double>(common) / static_cast<double>(pairs);
}

DecodedText decodeText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return decodeUtf8(bytes.substr(3), Encoding::Utf8Bom);
    if (bytes.starts_with("\xFF\xFE")) return decodeUtf16(bytes.substr(2), true, Encoding::Utf16Le);
    if (bytes.starts_with("\xFE\xFF"))
        return decodeUtf16(bytes.substr(2), false, Encoding::Utf16Be);

    DecodedText utf8 = decodeUtf8(bytes, Encoding::Utf8);
    if (utf8.invalidBytes == 0 || utf8.invalidBytes * 100 < nonAsciiBytes(bytes)) return utf8;

    DecodedText gb = decodeWith(bytes, Encoding::Gb18030);
    DecodedText big5 = decodeWith(bytes, Encoding::Big5);
    // A byte the converter rejects counts against a decoding as much as an uncommon character
    // counts for nothing: a Big5 file with one character glibc does not map still reads as Big5.
    const double pairs = static_cast<double>(doubleByteCount(bytes));
    const double gbScore = commonCharacterShare(bytes, Encoding::Gb18030) -
                           static_cast<double>(gb.invalidBytes) / pairs;
    const double big5Score = commonCharacterShare(bytes, Encoding::Big5) -
                             static_cast<double>(big5.invalidBytes) / pairs;
    return big5Score > gbScore ? std::move(big5) : std::move(gb);
}

} // namespace qinglan::aplayer::lyrics
