// The association step of the main window's creation: the desktop's file associations follow
// the 18 check boxes of the loaded settings, with the program's mark as the files' icon.
#include "app/ProcessState.h"
#include "app/Wiring.h"

#include <artwork/Artwork.h>
#include <desktop/FileTypes.h>
#include <platform/FileAssociations.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <filesystem>

namespace qinglan::app {

namespace {

// The sizes icon themes look for in a file manager's lists and an "open with" dialog.
constexpr int kIconSides[] = {16, 24, 32, 48, 64, 128, 256};

std::vector<platform::IconImage> programIcons() {
    std::vector<platform::IconImage> icons;
    for (int side : kIconSides) {
        QByteArray png;
        QBuffer out(&png);
        out.open(QIODevice::WriteOnly);
        if (artwork::markImage(side).save(&out, "PNG")) icons.push_back({side, png.toStdString()});
    }
    return icons;
}

} // namespace

void applyFileAssociationSettings() {
    std::error_code ec;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return;
    const auto associations = platform::makeFileAssociations();
    const auto& record = processState().record;
    desktop::applyFileTypeSettings(*associations, {program, programIcons()},
                                   [&record](int field) { return record.text(field); });
}

} // namespace qinglan::app
