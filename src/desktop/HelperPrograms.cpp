#include "desktop/HelperPrograms.h"

namespace qinglan::desktop {

namespace fs = std::filesystem;

namespace {
// A regular file (or a link to one) that may be started.
bool isProgram(const fs::path& file) {
    std::error_code ec;
    const auto status = fs::status(file, ec);
    return fs::is_regular_file(status) &&
           (status.permissions() & (fs::perms::owner_exec | fs::perms::group_exec |
                                    fs::perms::others_exec)) != fs::perms::none;
}
} // namespace

fs::path installedHelperFolder() {
    return QINGLAN_HELPERS_FROM_PROGRAM;
}

fs::path helperProgram(const fs::path& programDir, std::string_view name) {
    const fs::path beside = programDir / name;
    if (isProgram(beside)) return beside;
    const fs::path installed = (programDir / installedHelperFolder() / name).lexically_normal();
    if (isProgram(installed)) return installed;
    return beside;
}

} // namespace qinglan::desktop
