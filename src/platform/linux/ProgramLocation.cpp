#include "platform/ProgramLocation.h"

#include <system_error>

namespace qinglan::platform {

std::filesystem::path programFile() {
    std::error_code ec;
    auto file = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : file;
}

} // namespace qinglan::platform
