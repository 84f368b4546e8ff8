#pragma once
#include "platform/memory/VirtualMemory.h"

#include <cstddef>
#include <map>

namespace qinglan::platform {

// Heap-backed stand-in for tests: regions are zero-filled and page-aligned but not
// executable, so only images whose code is never run may be mapped with it. It can refuse
// the preferred address or every request, and it tells what is still reserved.
class FakeVirtualMemory final : public VirtualMemory {
public:
    ~FakeVirtualMemory() override;

    bool grantAnywhere = true;

    void* reserveAt(std::uintptr_t address, std::size_t size) override;
    void* reserveAnywhere(std::size_t size) override;
    bool release(void* address, std::size_t size) override;

    std::size_t liveRegions() const { return regions_.size(); }
    std::size_t reservations() const { return reservations_; }

private:
    std::map<void*, std::size_t> regions_;
    std::size_t reservations_ = 0;
};

} // namespace qinglan::platform
