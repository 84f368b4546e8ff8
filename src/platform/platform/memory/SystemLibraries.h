#pragma once
#include <cstdint>

namespace qinglan::platform {

// The system's own library loader, asked by the in-memory loader for the routines an image
// imports when no import hook supplied them.
//
// On Windows this is LoadLibraryA/GetProcAddress. On Linux there is no system loader for
// Windows libraries, so the Linux backend answers nothing: every import of a mapped image
// must then come from the import hook, and an image whose imports the hook does not supply
// is refused.
class SystemLibraries {
public:
    virtual ~SystemLibraries() = default;

    // A handle for the named library, or nullptr.
    virtual void* load(const char* name) = 0;
    // The address of a routine of a loaded library, or 0. `library` may be nullptr (a failed
    // load), which answers 0.
    virtual std::uintptr_t findByName(void* library, const char* name) = 0;
    virtual std::uintptr_t findByOrdinal(void* library, std::uint16_t ordinal) = 0;
};

SystemLibraries& systemLibraries();

} // namespace qinglan::platform
