#include "settings/StoreLocation.h"

#include "bytesettext/Bytesettext.h"

#include <platform/ProgramLocation.h>

#include <QDir>
#include <QStandardPaths>

#include <cstdlib>

namespace qinglan::settings {

namespace {
// The ten character codes of the database password.
constexpr const char* kPasswordCodes = "113,76,110,35,56,119,82,52,122,75";
} // namespace

std::filesystem::path programDirectory() {
    const auto exe = platform::programFile();
    if (!exe.empty()) return exe.parent_path();
    std::error_code ec;
    return std::filesystem::current_path(ec);
}

std::filesystem::path dataDirectory(const std::filesystem::path& programDir) {
    std::error_code ec;
    if (!programDir.empty() && std::filesystem::is_regular_file(programDir / kSettingsFileName, ec))
        return programDir;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg && std::filesystem::path(xdg).is_absolute())
        return std::filesystem::path(xdg) / "qinglan";
    const char* home = std::getenv("HOME");
    std::filesystem::path base = (home && *home)
                                     ? std::filesystem::path(home)
                                     : std::filesystem::path(QDir::homePath().toStdString());
    return base / ".local" / "share" / "qinglan";
}

std::filesystem::path defaultSaveFolder() {
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QDir(desktop).exists())
        return std::filesystem::path(desktop.toStdString());
    return std::filesystem::path(QDir::homePath().toStdString());
}

std::string databasePassword() {
    return Bytesettext(kPasswordCodes).text;
}

} // namespace qinglan::settings
