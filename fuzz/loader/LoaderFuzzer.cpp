// libFuzzer target: InMemoryLibrary::Load on arbitrary bytes, then GetExport, GetEntryPoint
// and Unload on whatever was mapped. Runs in a 64-bit process, where no PE32 code is ever run,
// so every input only exercises the parsing, copying, relocation and table walks.
#include "desktop/InMemoryLibrary.h"
#include "platform/memory/SystemLibraries.h"
#include "platform/memory/VirtualMemory.h"

#include <cstring>
#include <map>
#include <string>

using qinglan::desktop::InMemoryLibrary;

namespace {

// The process's memory, but no region above 16 MiB: a header may ask for up to 4 GiB, which
// the loader rightly tries to map, and which would only make the fuzzer slow.
class BoundedMemory final : public qinglan::platform::VirtualMemory {
public:
    void* reserveAt(std::uintptr_t address, std::size_t size) override {
        return track(size > kLimit ? nullptr : system().reserveAt(address, size), size);
    }
    void* reserveAnywhere(std::size_t size) override {
        return track(size > kLimit ? nullptr : system().reserveAnywhere(size), size);
    }
    bool release(void* address, std::size_t size) override {
        live_.erase(address);
        return system().release(address, size);
    }
    // An image whose own sections overwrote its headers cannot be unloaded (by design the
    // loader then keeps it); the fuzzer gives such regions back itself.
    void releaseAll() {
        for (const auto& [address, size] : live_)
            system().release(address, size);
        live_.clear();
    }

private:
    void* track(void* region, std::size_t size) {
        if (region) live_[region] = size;
        return region;
    }
    static constexpr std::size_t kLimit = 16u << 20;
    std::map<void*, std::size_t> live_;
    static qinglan::platform::VirtualMemory& system() {
        return qinglan::platform::systemVirtualMemory();
    }
};

// Supplies every import, so that loads go on past the import tables.
std::uintptr_t anyImport(const char* library, const char* routine, std::uintptr_t) {
    return 0x1000 + std::strlen(library) + std::strlen(routine);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // ELF objects go to the system's dynamic loader, which would run their constructors.
    if (size >= 4 && std::memcmp(data,
                                 "\x7f"
                                 "ELF",
                                 4) == 0)
        return 0;
    static BoundedMemory memory;
    InMemoryLibrary library(memory, qinglan::platform::systemLibraries());
    const bool withHook = size > 0 && (data[size - 1] & 1);
    if (!library.Load({data, size}, withHook ? anyImport : nullptr, 0)) return 0;
    for (const char* name : {"SkinH_AttachRes", "SkinH_Detach", "Add", "1", "3", "0", "65536", ""})
        (void)library.GetExport(name);
    // A name taken from the input, so that matches can be found too.
    const std::string tail(reinterpret_cast<const char*>(data) + size -
                               std::min<std::size_t>(size, 12),
                           std::min<std::size_t>(size, 12));
    (void)library.GetExport(tail.c_str());
    (void)library.GetEntryPoint();
    library.Unload();
    memory.releaseAll();
    return 0;
}
