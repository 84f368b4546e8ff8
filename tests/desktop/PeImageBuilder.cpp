#include "PeImageBuilder.h"

namespace qinglan::test {

PeImageBuilder::PeImageBuilder(std::uint32_t imageBase, std::uint16_t characteristics)
    : bytes_(kImageSize, 0) {
    put16(0, 0x5A4D);
    put32(0x3C, kNt);
    put32(kNt, 0x00004550);
    setMachine(0x014C);
    setNumberOfSections(1);
    put16(kFileHeader + 16, 0xE0); // SizeOfOptionalHeader
    setCharacteristics(characteristics);
    put16(kOptional, 0x10B); // PE32
    put32(kOptional + 28, imageBase);
    setSectionAlignment(0x1000);
    put32(kOptional + 36, 0x200); // FileAlignment
    setSizeOfImage(kImageSize);
    put32(kOptional + 60, 0x1000); // SizeOfHeaders
    put32(kOptional + 92, 16);     // NumberOfRvaAndSizes
    putText(kSectionTable, ".data");
    setSection(kImageSize - kSectionRva, kSectionRva, kImageSize - kSectionRva, kSectionRva);
}

void PeImageBuilder::putText(std::size_t at, const std::string& text) {
    for (std::size_t i = 0; i <= text.size(); ++i)
        bytes_.at(at + i) = i < text.size() ? text[i] : 0;
}

void PeImageBuilder::setDirectory(int index, std::uint32_t rva, std::uint32_t size) {
    put32(kOptional + 96 + index * 8, rva);
    put32(kOptional + 96 + index * 8 + 4, size);
}

void PeImageBuilder::setSection(std::uint32_t virtualSize, std::uint32_t rva, std::uint32_t rawSize,
                                std::uint32_t rawPointer) {
    put32(kSectionTable + 8, virtualSize);
    put32(kSectionTable + 12, rva);
    put32(kSectionTable + 16, rawSize);
    put32(kSectionTable + 20, rawPointer);
}

std::uint32_t PeImageBuilder::writeExports(std::uint32_t rva, std::uint32_t base,
                                           const std::vector<Export>& functions) {
    std::uint32_t named = 0;
    for (const auto& f : functions)
        named += f.name.empty() ? 0 : 1;
    const std::uint32_t addresses = rva + 40;
    const std::uint32_t names = addresses + 4 * std::uint32_t(functions.size());
    const std::uint32_t ordinals = names + 4 * named;
    std::uint32_t text = ordinals + 2 * named;
    put32(rva + 16, base);
    put32(rva + 20, std::uint32_t(functions.size()));
    put32(rva + 24, named);
    put32(rva + 28, addresses);
    put32(rva + 32, names);
    put32(rva + 36, ordinals);
    std::uint32_t k = 0;
    for (std::uint32_t i = 0; i < functions.size(); ++i) {
        put32(addresses + 4 * i, functions[i].function);
        if (functions[i].name.empty()) continue;
        put32(names + 4 * k, text);
        put16(ordinals + 2 * k, std::uint16_t(i));
        putText(text, functions[i].name);
        text += std::uint32_t(functions[i].name.size()) + 1;
        ++k;
    }
    setDirectory(0, rva, text - rva);
    return text;
}

std::uint32_t PeImageBuilder::writeImports(std::uint32_t rva, const std::string& library,
                                           const std::vector<Import>& imports) {
    const std::uint32_t descriptors = rva;
    iat_ = descriptors + 40; // one descriptor and the terminating zero one
    std::uint32_t text = iat_ + 4 * std::uint32_t(imports.size() + 1);
    put32(descriptors + 12, text);
    put32(descriptors + 16, iat_);
    putText(text, library);
    text += std::uint32_t(library.size()) + 1;
    for (std::uint32_t i = 0; i < imports.size(); ++i) {
        if (imports[i].name.empty()) {
            put32(iat_ + 4 * i, 0x80000000u | imports[i].ordinal);
            continue;
        }
        put32(iat_ + 4 * i, text); // hint, then the name
        putText(text + 2, imports[i].name);
        text += 2 + std::uint32_t(imports[i].name.size()) + 1;
    }
    setDirectory(1, descriptors, 40);
    return text;
}

std::uint32_t PeImageBuilder::writeRelocations(std::uint32_t rva, std::uint32_t page,
                                               const std::vector<std::uint16_t>& entries) {
    const std::uint32_t blockSize = 8 + 2 * std::uint32_t(entries.size());
    put32(rva, page);
    put32(rva + 4, blockSize);
    for (std::uint32_t i = 0; i < entries.size(); ++i)
        put16(rva + 8 + 2 * i, entries[i]);
    setDirectory(5, rva, blockSize);
    return rva + blockSize;
}

} // namespace qinglan::test
