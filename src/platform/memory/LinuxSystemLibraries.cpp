#include "platform/memory/SystemLibraries.h"

namespace qinglan::platform {
namespace {

// Linux has no loader for Windows libraries (KERNEL32.dll and friends do not exist here),
// so every question is answered with "not found". Imports of a mapped image are resolved
// only through the loader's import hook.
class LinuxSystemLibraries final : public SystemLibraries {
public:
    void* load(const char*) override { return nullptr; }
    std::uintptr_t findByName(void*, const char*) override { return 0; }
    std::uintptr_t findByOrdinal(void*, std::uint16_t) override { return 0; }
};

} // namespace

SystemLibraries& systemLibraries() {
    static LinuxSystemLibraries libraries;
    return libraries;
}

} // namespace qinglan::platform
