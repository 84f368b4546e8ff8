#pragma once
// Builds small PE32 images byte by byte, so that tests can make well-formed images and then
// break exactly one field.
//
// Layout of `minimal()`: headers in the first 0x1000 bytes (e_lfanew 0x80, one section),
// one section ".data" at RVA 0x1000 whose raw data sits at the same file offset, so a
// field at RVA r inside the section is at image offset r.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qinglan::test {

class PeImageBuilder {
public:
    static constexpr std::uint32_t kNt = 0x80;
    static constexpr std::uint32_t kFileHeader = kNt + 4;
    static constexpr std::uint32_t kOptional = kNt + 24;
    static constexpr std::uint32_t kSectionTable = kNt + 248;
    static constexpr std::uint32_t kSectionRva = 0x1000;
    static constexpr std::uint32_t kImageSize = 0x3000;

    static constexpr std::uint16_t kExecutable = 0x0002;
    static constexpr std::uint16_t kDll = 0x2000;

    // An executable (not a DLL, so nothing of it runs) preferring `imageBase`.
    explicit PeImageBuilder(std::uint32_t imageBase = 0x30000000,
                            std::uint16_t characteristics = kExecutable | 0x0100);

    std::vector<std::uint8_t>& bytes() { return bytes_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    void put16(std::size_t at, std::uint16_t v) { std::memcpy(&bytes_.at(at + 1) - 1, &v, 2); }
    void put32(std::size_t at, std::uint32_t v) { std::memcpy(&bytes_.at(at + 3) - 3, &v, 4); }
    std::uint32_t get32(std::size_t at) const {
        std::uint32_t v;
        std::memcpy(&v, &bytes_.at(at + 3) - 3, 4);
        return v;
    }
    void putText(std::size_t at, const std::string& text); // with its terminator

    void setMachine(std::uint16_t machine) { put16(kFileHeader, machine); }
    void setCharacteristics(std::uint16_t c) { put16(kFileHeader + 18, c); }
    void setNumberOfSections(std::uint16_t n) { put16(kFileHeader + 2, n); }
    void setEntryPoint(std::uint32_t rva) { put32(kOptional + 16, rva); }
    void setSectionAlignment(std::uint32_t a) { put32(kOptional + 32, a); }
    void setSizeOfImage(std::uint32_t s) { put32(kOptional + 56, s); }
    void setDirectory(int index, std::uint32_t rva, std::uint32_t size);
    // Fields of the one section header.
    void setSection(std::uint32_t virtualSize, std::uint32_t rva, std::uint32_t rawSize,
                    std::uint32_t rawPointer);

    // Tables, written into the section at the given RVA; each returns the RVA after it.
    struct Export {
        std::string name;       // "" for an export by ordinal only
        std::uint32_t function; // RVA of the routine, 0 for a hole
    };
    // Export directory at `rva`, ordinal base `base`, functions in ordinal order; the names
    // are written one after another, as linkers lay them out.
    std::uint32_t writeExports(std::uint32_t rva, std::uint32_t base,
                               const std::vector<Export>& functions);
    struct Import {
        std::string name;      // routine name; empty for an ordinal import
        std::uint16_t ordinal; // used when name is empty
    };
    // One descriptor for `library` plus the terminating one, then the address table.
    std::uint32_t writeImports(std::uint32_t rva, const std::string& library,
                               const std::vector<Import>& imports);
    // One relocation block for the page at `page` with the given 16-bit entries.
    std::uint32_t writeRelocations(std::uint32_t rva, std::uint32_t page,
                                   const std::vector<std::uint16_t>& entries);
    std::uint32_t importAddressTable() const { return iat_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::uint32_t iat_ = 0;
};

} // namespace qinglan::test
