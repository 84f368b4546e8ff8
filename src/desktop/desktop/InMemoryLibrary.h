#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace qinglan::platform {
class VirtualMemory;
class SystemLibraries;
} // namespace qinglan::platform

namespace qinglan::desktop {

// Why the last Load refused its image (None after a successful load).
enum class LoadFailure {
    None,
    TooSmall,            // fewer than 64 bytes
    NoDosSignature,      // no "MZ"
    NtHeadersOutside,    // e_lfanew + 248 beyond the end (or negative)
    NoNtSignature,       // no "PE\0\0"
    NotExecutable,       // executable-image bit clear
    SectionTableOutside, // section table beyond the end (or a negative count)
    ForeignMachine,      // a DLL whose code this process cannot run
    BadLayout,           // sizes or alignment that no region can hold
    NoMemory,            // neither the preferred address nor any other could be reserved
    BadSection,          // raw data outside the image
    BadRelocations,      // a relocation block or target outside the region
    BadImports,          // an import table or name outside the region
    MissingImport,       // neither the hook nor the system supplied a routine
    BadEntryPoint,       // entry point outside the region
    EntryRefused,        // the DLL's entry point answered 0 to "process attach"
    NativeRefused,       // the system's dynamic loader refused an ELF object
    PreviousStillLoaded, // the image loaded before could not be unloaded; it stays loaded
};

// Maps a library image held in memory into the process and finds its exported routines,
// without the image ever touching the disk.
//
// Two kinds of image are taken:
// - PE32 images (32-bit Windows DLLs and executables): mapped by hand: headers and sections
//   copied into a fresh read/write/execute region (at the image's preferred base when free),
//   base relocations applied, imports resolved through the optional hook and then the
//   system's library loader, and a DLL's entry point called with "process attach". Every
//   table of the image is bounds-checked; a malformed image is refused. An image for another
//   machine than the host (i386 code in an x86_64 process) is mapped but never run: such a
//   DLL is refused, since its entry point would have to run.
// - On Linux, ELF shared objects of the host: handed to the system's dynamic loader through
//   an anonymous memory file (memfd_create + dlopen of its /proc/self/fd path).
//
// Destroying the object does NOT unload the image: a mapped library stays until the process
// ends unless Unload is called. A copy refers to the same mapped image. Not thread-safe.
class InMemoryLibrary {
public:
    // Called for every imported routine before the system lookup. `routine` is the name, or
    // for an import by ordinal the ordinal in decimal ("7"). Returns the address to use, or
    // 0 to fall back to the system lookup.
    using ImportHook = std::uintptr_t (*)(const char* library, const char* routine,
                                          std::uintptr_t parameter);

    InMemoryLibrary();
    InMemoryLibrary(platform::VirtualMemory& memory, platform::SystemLibraries& libraries);
    virtual ~InMemoryLibrary();
    InMemoryLibrary(const InMemoryLibrary&) = default;
    InMemoryLibrary& operator=(const InMemoryLibrary&) = default;

    // Unloads what is loaded, then maps `image`. True when the image is mapped (GetBase() != 0).
    // When the previous image cannot be unloaded it stays loaded and false is returned.
    virtual bool Load(std::span<const std::uint8_t> image, ImportHook hook = nullptr,
                      std::uintptr_t hookParameter = 0);
    // Calls a DLL's entry point with "process detach" and releases the region. True when
    // nothing is loaded afterwards (also when nothing was loaded).
    virtual bool Unload();
    // Address of an exported routine, or 0. A name that is the decimal text of a whole number
    // ("3") is an ordinal. Names are compared case-sensitively.
    virtual std::uintptr_t GetExport(const char* name) const;
    // base + AddressOfEntryPoint, or 0 when nothing is loaded or the image has none.
    virtual std::uintptr_t GetEntryPoint() const;
    virtual std::uintptr_t GetBase() const { return base_; }

    LoadFailure lastFailure() const { return lastFailure_; }

private:
    LoadFailure loadPe(std::span<const std::uint8_t> image, ImportHook hook,
                       std::uintptr_t parameter);
    LoadFailure loadNative(std::span<const std::uint8_t> image);
    bool unloadPe();

    platform::VirtualMemory* memory_;
    platform::SystemLibraries* libraries_;
    std::uintptr_t base_ = 0;
    std::size_t size_ = 0;         // size of the PE region (munmap needs it)
    void* nativeHandle_ = nullptr; // dlopen handle when the image is an ELF object
    LoadFailure lastFailure_ = LoadFailure::None;
};

// Machine code of the process, as a PE file header's Machine field names it (0x014C i386,
// 0x8664 x86_64, 0xAA64 arm64; 0 for anything else).
std::uint16_t hostMachine();

} // namespace qinglan::desktop
