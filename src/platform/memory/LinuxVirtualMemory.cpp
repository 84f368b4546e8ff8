#include "platform/memory/VirtualMemory.h"

#include <cerrno>
#include <sys/mman.h>

namespace qinglan::platform {
namespace {

constexpr int kProtection = PROT_READ | PROT_WRITE | PROT_EXEC;
constexpr int kFlags = MAP_PRIVATE | MAP_ANONYMOUS;

class LinuxVirtualMemory final : public VirtualMemory {
public:
    void* reserveAt(std::uintptr_t address, std::size_t size) override {
        if (address == 0 || size == 0) return nullptr;
        void* wanted = reinterpret_cast<void*>(address);
        // MAP_FIXED_NOREPLACE fails instead of silently replacing what lives there. Kernels
        // older than 4.17 ignore the flag and treat the address as a hint, so the result is
        // compared with the wish as well.
        void* got = mmap(wanted, size, kProtection, kFlags | MAP_FIXED_NOREPLACE, -1, 0);
        if (got == MAP_FAILED) return nullptr;
        if (got != wanted) {
            munmap(got, size);
            return nullptr;
        }
        return got;
    }

    void* reserveAnywhere(std::size_t size) override {
        if (size == 0) return nullptr;
#if defined(__x86_64__) && defined(MAP_32BIT)
        // Mapped images are 32-bit images whose relocated addresses are 32 bits wide; a
        // region in the low address space keeps those addresses true.
        void* low = mmap(nullptr, size, kProtection, kFlags | MAP_32BIT, -1, 0);
        if (low != MAP_FAILED) return low;
#endif
        void* got = mmap(nullptr, size, kProtection, kFlags, -1, 0);
        return got == MAP_FAILED ? nullptr : got;
    }

    bool release(void* address, std::size_t size) override {
        return address != nullptr && munmap(address, size) == 0;
    }
};

} // namespace

VirtualMemory& systemVirtualMemory() {
    static LinuxVirtualMemory memory;
    return memory;
}

} // namespace qinglan::platform
