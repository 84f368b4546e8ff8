#pragma once
// Reading a PE32 image safely: every field read is checked against the end of its buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>

#include "desktop/InMemoryLibrary.h"

namespace qinglan::desktop::pe {

constexpr std::size_t kMinimumImageSize = 64;
constexpr std::uint16_t kDosSignature = 0x5A4D;    // "MZ"
constexpr std::uint32_t kNtSignature = 0x00004550; // "PE\0\0"
constexpr std::size_t kNtHeadersSize = 248;        // signature, file header, PE32 optional header
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kImportDescriptorSize = 20;
constexpr std::size_t kExportDirectorySize = 40;
constexpr std::uint16_t kExecutableImage = 0x0002;
constexpr std::uint16_t kDll = 0x2000;
constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr unsigned kRelocationHighLow = 3;
constexpr std::uint32_t kImportByOrdinal = 0x80000000;
constexpr unsigned kEntryProcessDetach = 0;
constexpr unsigned kEntryProcessAttach = 1;

// A byte buffer whose reads fail instead of running past its end.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit Bytes(std::span<const std::uint8_t> bytes) : Bytes(bytes.data(), bytes.size()) {}

    std::size_t size() const { return size_; }
    const std::uint8_t* data() const { return data_; }
    bool has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }
    std::optional<std::uint16_t> u16(std::uint64_t offset) const {
        return read<std::uint16_t>(offset);
    }
    std::optional<std::uint32_t> u32(std::uint64_t offset) const {
        return read<std::uint32_t>(offset);
    }
    // A zero-terminated text starting at `offset` whose terminator lies inside the buffer.
    const char* text(std::uint64_t offset) const {
        if (offset >= size_) return nullptr;
        const void* end = std::memchr(data_ + offset, 0, size_ - offset);
        return end ? reinterpret_cast<const char*>(data_ + offset) : nullptr;
    }

private:
    template <typename T> std::optional<T> read(std::uint64_t offset) const {
        if (!has(offset, sizeof(T))) return std::nullopt;
        T value; // PE fields are little-endian, as are the hosts this runs on
        std::memcpy(&value, data_ + offset, sizeof(T));
        return value;
    }
    const std::uint8_t* data_;
    std::size_t size_;
};

struct DataDirectory {
    std::uint32_t virtualAddress = 0;
    std::uint32_t size = 0;
};

struct Headers {
    std::int32_t ntOffset = 0; // e_lfanew
    std::uint16_t machine = 0;
    std::int16_t numberOfSections = 0;
    std::uint16_t characteristics = 0;
    std::uint32_t addressOfEntryPoint = 0;
    std::uint32_t imageBase = 0;
    std::uint32_t sectionAlignment = 0;
    std::uint32_t sizeOfImage = 0;
    DataDirectory exports, imports, relocations;

    bool isDll() const { return (characteristics & kDll) != 0; }
    // DOS header, stub, NT headers and section table.
    std::uint64_t headersSize() const {
        return std::uint64_t(ntOffset) + std::uint64_t(numberOfSections) * kSectionHeaderSize +
               kNtHeadersSize;
    }
};

struct Section {
    std::uint32_t virtualSize = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t sizeOfRawData = 0;
    std::uint32_t pointerToRawData = 0;
};

using Refusal = LoadFailure;

// The DOS header, the NT headers and the executable-image bit, each checked before it is
// trusted: the first thing a load reads, and how Unload and GetExport read the mapped region.
std::optional<Headers> readHeaders(const Bytes& bytes, Refusal* why = nullptr);
std::optional<Section> readSection(const Bytes& bytes, const Headers& headers, int index);

} // namespace qinglan::desktop::pe
