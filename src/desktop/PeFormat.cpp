#include "PeFormat.h"

namespace qinglan::desktop::pe {
namespace {

constexpr std::uint64_t kElfanewOffset = 0x3C;
constexpr std::uint64_t kFileHeader = 4;
constexpr std::uint64_t kOptionalHeader = 24;
constexpr std::uint64_t kDataDirectories = kOptionalHeader + 96;

std::optional<Headers> refuse(Refusal* why, Refusal reason) {
    if (why) *why = reason;
    return std::nullopt;
}

DataDirectory directory(const Bytes& bytes, std::uint64_t nt, int index) {
    const std::uint64_t at = nt + kDataDirectories + std::uint64_t(index) * 8;
    return {bytes.u32(at).value_or(0), bytes.u32(at + 4).value_or(0)};
}

} // namespace

std::optional<Headers> readHeaders(const Bytes& bytes, Refusal* why) {
    if (bytes.size() < kMinimumImageSize) return refuse(why, Refusal::TooSmall);
    if (bytes.u16(0) != kDosSignature) return refuse(why, Refusal::NoDosSignature);
    Headers h;
    h.ntOffset = std::int32_t(*bytes.u32(kElfanewOffset));
    // A negative e_lfanew would put the NT headers before the image.
    if (h.ntOffset < 0 || !bytes.has(std::uint64_t(h.ntOffset), kNtHeadersSize))
        return refuse(why, Refusal::NtHeadersOutside);
    const std::uint64_t nt = std::uint64_t(h.ntOffset);
    if (bytes.u32(nt) != kNtSignature) return refuse(why, Refusal::NoNtSignature);
    h.machine = *bytes.u16(nt + kFileHeader);
    h.numberOfSections = std::int16_t(*bytes.u16(nt + kFileHeader + 2));
    h.characteristics = *bytes.u16(nt + kFileHeader + 18);
    if ((h.characteristics & kExecutableImage) == 0) return refuse(why, Refusal::NotExecutable);
    h.addressOfEntryPoint = *bytes.u32(nt + kOptionalHeader + 16);
    h.imageBase = *bytes.u32(nt + kOptionalHeader + 28);
    h.sectionAlignment = *bytes.u32(nt + kOptionalHeader + 32);
    h.sizeOfImage = *bytes.u32(nt + kOptionalHeader + 56);
    h.exports = directory(bytes, nt, 0);
    h.imports = directory(bytes, nt, 1);
    h.relocations = directory(bytes, nt, 5);
    if (why) *why = Refusal::None;
    return h;
}

std::optional<Section> readSection(const Bytes& bytes, const Headers& headers, int index) {
    const std::uint64_t at = std::uint64_t(headers.ntOffset) + kNtHeadersSize +
                             std::uint64_t(index) * kSectionHeaderSize;
    if (!bytes.has(at, kSectionHeaderSize)) return std::nullopt;
    return Section{*bytes.u32(at + 8), *bytes.u32(at + 12), *bytes.u32(at + 16),
                   *bytes.u32(at + 20)};
}

} // namespace qinglan::desktop::pe
