#pragma once
#include <cstdint>

namespace qinglan::desktop {

// Calls a mapped DLL's entry point as Windows does: stdcall (instance, reason, reserved),
// with 0 as instance and reserved. True when it answered non-zero. Only an i386 process can
// run PE32 code; elsewhere the loader never calls this.
bool callEntryPoint(std::uintptr_t address, unsigned reason);

} // namespace qinglan::desktop
