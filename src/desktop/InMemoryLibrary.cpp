#include "desktop/InMemoryLibrary.h"

#include "EntryPointCall.h"
#include "NativeImage.h"
#include "PeFormat.h"
#include "platform/memory/SystemLibraries.h"
#include "platform/memory/VirtualMemory.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

namespace qinglan::desktop {

using pe::Bytes;
using pe::Headers;

namespace {

// Addresses written into a mapped PE32 image are 32 bits wide.
constexpr std::uint64_t kMaxImageAddress = 0xFFFFFFFFu;
constexpr std::uint32_t kMaxExportNames = 0x10000;

// A region that is given back unless the load that reserved it succeeds.
class RegionGuard {
public:
    RegionGuard(platform::VirtualMemory& memory, void* region, std::size_t size)
        : memory_(memory), region_(region), size_(size) {}
    ~RegionGuard() {
        if (region_) memory_.release(region_, size_);
    }
    RegionGuard(const RegionGuard&) = delete;
    RegionGuard& operator=(const RegionGuard&) = delete;
    void keep() { region_ = nullptr; }

private:
    platform::VirtualMemory& memory_;
    void* region_;
    std::size_t size_;
};

// Code of the image may run only when it was made for this machine, and only a 32-bit x86
// process can run the code of a PE32 image.
bool canRunCodeOf(const Headers& headers) {
    return headers.machine == pe::kMachineI386 && hostMachine() == pe::kMachineI386;
}

// The region must hold SizeOfImage and every section up to its aligned end, whichever is larger:
// images whose sections reach past SizeOfImage exist and must not be cut.
std::optional<std::uint64_t> regionSizeFor(const Bytes& image, const Headers& h) {
    std::uint64_t size = h.sizeOfImage;
    if (h.numberOfSections > 0 && h.sectionAlignment == 0) return std::nullopt; // would divide by 0
    for (int i = 0; i < h.numberOfSections; ++i) {
        const auto section = pe::readSection(image, h, i);
        if (!section) return std::nullopt;
        const std::uint64_t end = std::uint64_t(section->virtualAddress) +
                                  std::max(section->sizeOfRawData, section->virtualSize);
        const std::uint64_t alignment = h.sectionAlignment;
        size = std::max(size, (end + alignment - 1) / alignment * alignment);
    }
    if (size == 0 || size > kMaxImageAddress) return std::nullopt;
    return size;
}

bool copySections(const Bytes& image, const Headers& h, std::uint8_t* region, std::size_t size) {
    for (int i = 0; i < h.numberOfSections; ++i) {
        const auto s = pe::readSection(image, h, i);
        if (!s) return false;
        if (s->sizeOfRawData == 0 || s->virtualAddress == 0) continue;
        if (!image.has(s->pointerToRawData, s->sizeOfRawData)) return false;
        if (!Bytes(region, size).has(s->virtualAddress, s->sizeOfRawData)) return false;
        std::memcpy(region + s->virtualAddress, image.data() + s->pointerToRawData,
                    s->sizeOfRawData);
    }
    return true;
}

void addToSlot(std::uint8_t* at, std::uint32_t delta) {
    std::uint32_t value;
    std::memcpy(&value, at, 4);
    value += delta; // modulo 2^32
    std::memcpy(at, &value, 4);
}

// Moves every absolute address in the image by the distance between where it was linked to
// lie and where it lies. A block that is shorter than its own head or runs past the directory,
// or an entry aimed outside the region, makes the whole image unusable.
bool relocate(const Headers& h, std::uint8_t* region, std::size_t size, std::uint32_t delta) {
    const Bytes bytes(region, size);
    if (h.relocations.size == 0) return true;
    if (!bytes.has(h.relocations.virtualAddress, h.relocations.size)) return false;
    std::uint64_t block = h.relocations.virtualAddress;
    const std::uint64_t end = block + h.relocations.size;
    while (block + 8 <= end) {
        const std::uint32_t page = *bytes.u32(block);
        const std::uint32_t blockSize = *bytes.u32(block + 4);
        if (page == 0) break;
        if (blockSize < 8 || blockSize > end - block) return false;
        const std::uint32_t entries = (blockSize - 8) / 2;
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::uint16_t entry = *bytes.u16(block + 8 + std::uint64_t(i) * 2);
            if ((entry >> 12) != pe::kRelocationHighLow) continue;
            const std::uint64_t target = std::uint64_t(page) + (entry & 0x0FFF);
            if (!bytes.has(target, 4)) return false;
            addToSlot(region + target, delta);
        }
        block += blockSize;
    }
    return true;
}

// Binds the image to the routines it imports: every slot of every import address table gets
// the routine's address, from the hook first and the system otherwise.
LoadFailure resolveImports(const Headers& h, std::uint8_t* region, std::size_t size,
                           platform::SystemLibraries& system, InMemoryLibrary::ImportHook hook,
                           std::uintptr_t parameter) {
    const Bytes bytes(region, size);
    if (h.imports.virtualAddress == 0) return LoadFailure::None;
    for (std::uint64_t descriptor = h.imports.virtualAddress;;
         descriptor += pe::kImportDescriptorSize) {
        if (!bytes.has(descriptor, pe::kImportDescriptorSize)) return LoadFailure::BadImports;
        const std::uint32_t firstThunk = *bytes.u32(descriptor + 16);
        if (firstThunk == 0) return LoadFailure::None;
        const char* libraryName = bytes.text(*bytes.u32(descriptor + 12));
        if (!libraryName) return LoadFailure::BadImports;
        // A library the system cannot load is not an error yet: its lookups fail below
        // unless the hook supplies the routines.
        void* library = system.load(libraryName);
        for (std::uint64_t slot = firstThunk;; slot += 4) {
            const auto value = bytes.u32(slot);
            if (!value) return LoadFailure::BadImports;
            if (*value == 0) break;
            std::uintptr_t address = 0;
            if (*value & pe::kImportByOrdinal) {
                const auto ordinal = std::uint16_t(*value & 0xFFFF);
                const std::string text = std::to_string(ordinal);
                if (hook) address = hook(libraryName, text.c_str(), parameter);
                if (address == 0) address = system.findByOrdinal(library, ordinal);
            } else {
                const char* routine = bytes.text(std::uint64_t(*value) + 2); // after the hint
                if (!routine) return LoadFailure::BadImports;
                if (hook) address = hook(libraryName, routine, parameter);
                if (address == 0) address = system.findByName(library, routine);
            }
            // A slot holds 32 bits: an address beyond them would be cut into a wrong one.
            if (address == 0 || std::uint64_t(address) > kMaxImageAddress)
                return LoadFailure::MissingImport;
            const auto slotValue = std::uint32_t(address);
            std::memcpy(region + slot, &slotValue, 4);
        }
    }
}

// "12" is an ordinal, "012", "+12", "12a" and "" are names: the text must survive a trip to
// a 32-bit number and back unchanged.
std::optional<std::int64_t> ordinalFromText(const char* name) {
    const std::size_t length = std::strlen(name);
    std::int32_t number = 0;
    const auto [end, error] = std::from_chars(name, name + length, number);
    if (error != std::errc() || end != name + length) return std::nullopt;
    if (std::to_string(number) != name) return std::nullopt;
    return number;
}

std::uintptr_t functionAt(const Bytes& region, std::uintptr_t base, std::uint32_t functions,
                          std::uint32_t count, std::int64_t index) {
    if (index < 0 || index >= std::int64_t(count)) return 0;
    const auto rva = region.u32(std::uint64_t(functions) + std::uint64_t(index) * 4);
    if (!rva || *rva == 0 || *rva >= region.size()) return 0;
    return base + *rva;
}

} // namespace

std::uint16_t hostMachine() {
#if defined(__i386__) || defined(_M_IX86)
    return 0x014C;
#elif defined(__x86_64__) || defined(_M_X64)
    return 0x8664;
#elif defined(__aarch64__) || defined(_M_ARM64)
    return 0xAA64;
#else
    return 0;
#endif
}

InMemoryLibrary::InMemoryLibrary()
    : InMemoryLibrary(platform::systemVirtualMemory(), platform::systemLibraries()) {}

InMemoryLibrary::InMemoryLibrary(platform::VirtualMemory& memory,
                                 platform::SystemLibraries& libraries)
    : memory_(&memory), libraries_(&libraries) {}

// The mapped image deliberately outlives the object: code of it may still be referenced
// (a skin engine's hooks, for instance) until the process ends.
InMemoryLibrary::~InMemoryLibrary() = default;

bool InMemoryLibrary::Load(std::span<const std::uint8_t> image, ImportHook hook,
                           std::uintptr_t hookParameter) {
    if (base_ != 0) Unload();
    if (base_ != 0) {
        // The previous image could not be unloaded; it stays reachable rather than leaked.
        lastFailure_ = LoadFailure::PreviousStillLoaded;
        return false;
    }
    lastFailure_ = isNativeImage(image) ? loadNative(image) : loadPe(image, hook, hookParameter);
    return base_ != 0;
}

LoadFailure InMemoryLibrary::loadNative(std::span<const std::uint8_t> image) {
    const auto mapped = mapNativeImage(image);
    if (!mapped) return LoadFailure::NativeRefused;
    nativeHandle_ = mapped->handle;
    base_ = mapped->base;
    size_ = 0;
    return LoadFailure::None;
}

LoadFailure InMemoryLibrary::loadPe(std::span<const std::uint8_t> imageBytes, ImportHook hook,
                                    std::uintptr_t hookParameter) {
    const Bytes image(imageBytes);
    LoadFailure why = LoadFailure::None;
    // Only a PE32 executable image is mapped.
    const auto h = pe::readHeaders(image, &why);
    if (!h) return why;
    if (h->numberOfSections < 0 || !image.has(0, h->headersSize())) // section table inside
        return LoadFailure::SectionTableOutside;
    if (h->isDll() && !canRunCodeOf(*h)) return LoadFailure::ForeignMachine;

    const auto wanted = regionSizeFor(image, *h);
    if (!wanted || h->headersSize() > *wanted) return LoadFailure::BadLayout;
    const auto size = std::size_t(*wanted);

    // At its preferred address no relocation moves anything; elsewhere if that is taken.
    void* place = memory_->reserveAt(h->imageBase, size);
    if (!place) place = memory_->reserveAnywhere(size);
    if (!place) return LoadFailure::NoMemory;
    RegionGuard guard(*memory_, place, size);
    auto* region = static_cast<std::uint8_t*>(place);

    // The headers come along: Unload and GetExport read them from the region later.
    std::memcpy(region, image.data(), std::size_t(h->headersSize()));
    if (!copySections(image, *h, region, size)) return LoadFailure::BadSection;

    const auto delta = std::uint32_t(reinterpret_cast<std::uintptr_t>(place) - h->imageBase);
    if (!relocate(*h, region, size, delta)) return LoadFailure::BadRelocations;

    const LoadFailure imports = resolveImports(*h, region, size, *libraries_, hook, hookParameter);
    if (imports != LoadFailure::None) return imports;

    // A DLL is told it was attached, and may refuse; a DLL without an entry point (0) has
    // nothing to run, and an image that is not a DLL is never started here.
    if (h->isDll() && h->addressOfEntryPoint != 0) {
        if (h->addressOfEntryPoint >= size) return LoadFailure::BadEntryPoint;
        const auto entry = reinterpret_cast<std::uintptr_t>(place) + h->addressOfEntryPoint;
        if (!callEntryPoint(entry, pe::kEntryProcessAttach)) {
            callEntryPoint(entry, pe::kEntryProcessDetach);
            return LoadFailure::EntryRefused;
        }
    }
    guard.keep();
    base_ = reinterpret_cast<std::uintptr_t>(place);
    size_ = size;
    return LoadFailure::None;
}

bool InMemoryLibrary::Unload() {
    if (base_ == 0) return true;
    if (nativeHandle_) {
        if (!unmapNativeImage(nativeHandle_)) return false;
        nativeHandle_ = nullptr;
        base_ = 0;
        return true;
    }
    return unloadPe();
}

bool InMemoryLibrary::unloadPe() {
    auto* region = reinterpret_cast<std::uint8_t*>(base_);
    const auto h = pe::readHeaders(Bytes(region, size_));
    if (!h) return false;
    if (h->isDll() && canRunCodeOf(*h) && h->addressOfEntryPoint != 0 &&
        h->addressOfEntryPoint < size_)
        callEntryPoint(base_ + h->addressOfEntryPoint, pe::kEntryProcessDetach);
    if (!memory_->release(region, size_)) return false;
    base_ = 0;
    size_ = 0;
    return true;
}

std::uintptr_t InMemoryLibrary::GetExport(const char* name) const {
    if (base_ == 0 || name == nullptr) return 0;
    if (nativeHandle_) return findNativeExport(nativeHandle_, name);

    const Bytes region(reinterpret_cast<const std::uint8_t*>(base_), size_);
    const auto h = pe::readHeaders(region);
    if (!h || h->exports.size == 0) return 0;
    const std::uint64_t directory = h->exports.virtualAddress;
    if (!region.has(directory, pe::kExportDirectorySize)) return 0;
    const std::uint32_t ordinalBase = *region.u32(directory + 16);
    const std::uint32_t functionCount = *region.u32(directory + 20);
    const std::uint32_t nameCount = *region.u32(directory + 24);
    const std::uint32_t functions = *region.u32(directory + 28);
    const std::uint32_t names = *region.u32(directory + 32);
    const std::uint32_t nameOrdinals = *region.u32(directory + 36);

    if (const auto ordinal = ordinalFromText(name))
        return functionAt(region, base_, functions, functionCount,
                          *ordinal - std::int64_t(ordinalBase));

    // Both name tables must lie inside the region, and there cannot be more names than 16-bit
    // name ordinals tell apart: a bigger count is garbage, and walking it would take minutes.
    if (nameCount == 0 || nameCount > kMaxExportNames) return 0;
    if (!region.has(names, std::uint64_t(nameCount) * 4) ||
        !region.has(nameOrdinals, std::uint64_t(nameCount) * 2))
        return 0;
    // The candidates are the texts laid one after another from the first name-table entry.
    const auto first = region.u32(names);
    if (!first) return 0;
    std::uint64_t candidate = *first;
    for (std::uint64_t k = 0; k < nameCount; ++k) {
        const char* text = region.text(candidate);
        const auto index = region.u16(std::uint64_t(nameOrdinals) + k * 2);
        if (!text || !index) return 0; // the tables end inside the region
        if (std::strcmp(text, name) == 0) {
            if (const auto address = functionAt(region, base_, functions, functionCount, *index))
                return address;
        }
        candidate += std::strlen(text) + 1;
    }
    return 0;
}

std::uintptr_t InMemoryLibrary::GetEntryPoint() const {
    if (base_ == 0) return 0;
    if (nativeHandle_) return nativeEntryPoint(base_);
    const auto h = pe::readHeaders(Bytes(reinterpret_cast<const std::uint8_t*>(base_), size_));
    return h ? base_ + h->addressOfEntryPoint : 0;
}

} // namespace qinglan::desktop
