#include "platform/memory/FakeVirtualMemory.h"

#include <cstring>
#include <new>

namespace qinglan::platform {
namespace {
constexpr std::size_t kPage = 4096;
// Aligned new rather than std::aligned_alloc, which Windows' C runtime lacks.
constexpr std::align_val_t kPageAlignment{kPage};
} // namespace

FakeVirtualMemory::~FakeVirtualMemory() {
    for (auto& [address, size] : regions_)
        ::operator delete(address, kPageAlignment);
}

void* FakeVirtualMemory::reserveAt(std::uintptr_t, std::size_t) {
    // A heap cannot promise an address; a test that needs the preferred address uses the
    // system memory instead.
    return nullptr;
}

void* FakeVirtualMemory::reserveAnywhere(std::size_t size) {
    if (!grantAnywhere || size == 0 || size > (std::size_t{1} << 30)) return nullptr;
    const std::size_t rounded = (size + kPage - 1) / kPage * kPage;
    void* region = ::operator new(rounded, kPageAlignment, std::nothrow);
    if (region == nullptr) return nullptr;
    std::memset(region, 0, rounded);
    regions_[region] = size;
    ++reservations_;
    return region;
}

bool FakeVirtualMemory::release(void* address, std::size_t size) {
    auto it = regions_.find(address);
    if (it == regions_.end() || it->second != size) return false;
    ::operator delete(address, kPageAlignment);
    regions_.erase(it);
    return true;
}

} // namespace qinglan::platform
