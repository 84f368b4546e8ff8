#include "EntryPointCall.h"

namespace qinglan::desktop {

#if defined(__i386__) || defined(_M_IX86)
#if defined(_MSC_VER)
#define QINGLAN_STDCALL __stdcall
#else
#define QINGLAN_STDCALL __attribute__((stdcall))
#endif
using DllEntryPoint = int(QINGLAN_STDCALL*)(std::uint32_t instance, std::uint32_t reason,
                                            std::uint32_t reserved);

bool callEntryPoint(std::uintptr_t address, unsigned reason) {
    return reinterpret_cast<DllEntryPoint>(address)(0, reason, 0) != 0;
}
#else
bool callEntryPoint(std::uintptr_t, unsigned) {
    return false;
}
#endif

} // namespace qinglan::desktop
