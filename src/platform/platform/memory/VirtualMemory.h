#pragma once
#include <cstddef>
#include <cstdint>

namespace qinglan::platform {

// Reserve-and-commit of readable, writable and executable address space, the one memory
// service the in-memory library loader needs. Regions are zero-filled when handed out.
// Not thread-safe by itself; callers use it from one thread.
class VirtualMemory {
public:
    virtual ~VirtualMemory() = default;

    // A region of `size` bytes starting exactly at `address`, or nullptr when that range is
    // not free (or `address` is 0). Never moves or replaces an existing mapping.
    virtual void* reserveAt(std::uintptr_t address, std::size_t size) = 0;
    // A region of `size` bytes wherever the system likes, or nullptr.
    virtual void* reserveAnywhere(std::size_t size) = 0;
    // Gives back a whole region obtained from this object; `size` is the size it was
    // reserved with. Returns false when the system refuses.
    virtual bool release(void* address, std::size_t size) = 0;
};

// The process's own address space (mmap on Linux, VirtualAlloc on Windows).
VirtualMemory& systemVirtualMemory();

} // namespace qinglan::platform
