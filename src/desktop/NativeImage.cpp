#include "NativeImage.h"

#include <cstring>

#if defined(__linux__)
#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace qinglan::desktop {

bool isNativeImage(std::span<const std::uint8_t> image) {
#if defined(__linux__)
    return image.size() >= 4 && std::memcmp(image.data(), ELFMAG, SELFMAG) == 0;
#else
    (void)image;
    return false;
#endif
}

#if defined(__linux__)

namespace {

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written <= 0) return false;
        bytes = bytes.subspan(std::size_t(written));
    }
    return true;
}

} // namespace

std::optional<NativeImage> mapNativeImage(std::span<const std::uint8_t> image) {
    // An anonymous in-memory file: the bytes never reach a disk, and the system's loader
    // (which only opens files) can still map them with their relocations and dependencies.
    const int fd = memfd_create("in-memory-library", MFD_CLOEXEC);
    if (fd < 0) return std::nullopt;
    void* handle = nullptr;
    if (writeAll(fd, image)) {
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    // The loader keeps its own mapping; the descriptor is no longer needed.
    close(fd);
    if (!handle) return std::nullopt;
    link_map* map = nullptr;
    std::uintptr_t base = 0;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map) base = map->l_addr;
    if (base == 0) base = reinterpret_cast<std::uintptr_t>(handle); // never 0 while loaded
    return NativeImage{handle, base};
}

bool unmapNativeImage(void* handle) {
    return dlclose(handle) == 0;
}

std::uintptr_t findNativeExport(void* handle, const char* name) {
    return reinterpret_cast<std::uintptr_t>(dlsym(handle, name));
}

std::uintptr_t nativeEntryPoint(std::uintptr_t base) {
    // A shared object normally has no entry point (e_entry 0).
    ElfW(Ehdr) header;
    std::memcpy(&header, reinterpret_cast<const void*>(base), sizeof header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_entry == 0) return 0;
    return base + header.e_entry;
}

#else

std::optional<NativeImage> mapNativeImage(std::span<const std::uint8_t>) {
    return std::nullopt;
}
bool unmapNativeImage(void*) {
    return false;
}
std::uintptr_t findNativeExport(void*, const char*) {
    return 0;
}
std::uintptr_t nativeEntryPoint(std::uintptr_t) {
    return 0;
}

#endif

} // namespace qinglan::desktop
