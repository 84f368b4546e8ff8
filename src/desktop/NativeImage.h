#pragma once
// Shared objects of the host's own format (ELF on Linux), mapped from memory by the system's
// dynamic loader. Elsewhere every function refuses.
#include <cstdint>
#include <optional>
#include <span>

namespace qinglan::desktop {

struct NativeImage {
    void* handle;        // for findNativeExport / unmapNativeImage
    std::uintptr_t base; // where the object's first byte (its ELF header) lies
};

bool isNativeImage(std::span<const std::uint8_t> image);
std::optional<NativeImage> mapNativeImage(std::span<const std::uint8_t> image);
bool unmapNativeImage(void* handle);
std::uintptr_t findNativeExport(void* handle, const char* name);
std::uintptr_t nativeEntryPoint(std::uintptr_t base);

} // namespace qinglan::desktop
