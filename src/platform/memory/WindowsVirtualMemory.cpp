#include "platform/memory/SystemLibraries.h"
#include "platform/memory/VirtualMemory.h"

#include <windows.h>

namespace qinglan::platform {
namespace {

class WindowsVirtualMemory final : public VirtualMemory {
public:
    void* reserveAt(std::uintptr_t address, std::size_t size) override {
        if (address == 0 || size == 0) return nullptr;
        return VirtualAlloc(reinterpret_cast<void*>(address), size, MEM_COMMIT | MEM_RESERVE,
                            PAGE_EXECUTE_READWRITE);
    }
    void* reserveAnywhere(std::size_t size) override {
        if (size == 0) return nullptr;
        return VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
    }
    bool release(void* address, std::size_t) override {
        return VirtualFree(address, 0, MEM_RELEASE) != 0;
    }
};

class WindowsSystemLibraries final : public SystemLibraries {
public:
    void* load(const char* name) override { return LoadLibraryA(name); }
    std::uintptr_t findByName(void* library, const char* name) override {
        if (library == nullptr) return 0;
        return reinterpret_cast<std::uintptr_t>(
            GetProcAddress(static_cast<HMODULE>(library), name));
    }
    std::uintptr_t findByOrdinal(void* library, std::uint16_t ordinal) override {
        if (library == nullptr) return 0;
        return reinterpret_cast<std::uintptr_t>(
            GetProcAddress(static_cast<HMODULE>(library), MAKEINTRESOURCEA(ordinal)));
    }
};

} // namespace

VirtualMemory& systemVirtualMemory() {
    static WindowsVirtualMemory memory;
    return memory;
}

SystemLibraries& systemLibraries() {
    static WindowsSystemLibraries libraries;
    return libraries;
}

} // namespace qinglan::platform
