#include "platform/ProgramLocation.h"

#include <windows.h>

#include <string>

namespace qinglan::platform {

std::filesystem::path programFile() {
    // A path may be longer than MAX_PATH; the buffer grows until the name fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (size == 0) return {};
        if (size < buffer.size()) {
            buffer.resize(size);
            return std::filesystem::path(buffer);
        }
        if (buffer.size() >= 32768) return {}; // longer than any path the system allows
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace qinglan::platform
