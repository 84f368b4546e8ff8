// The association step of the main window's creation: the desktop's file associations follow
// the 18 check boxes of the loaded settings, with the program's mark as the files' icon.
#include "app/CommandLine.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"

#include <artwork/Artwork.h>
#include <desktop/FileTypes.h>
#include <platform/FileAssociations.h>
#include <platform/FileTypes.h>
#include <platform/ProgramLocation.h>

#include <QByteArray>
#include <QThreadPool>

#include <filesystem>
#include <map>
#include <string>

namespace qinglan::app {

namespace {

std::vector<platform::IconImage> programIcons() {
    std::vector<platform::IconImage> icons;
    for (int side : artwork::kAppIconSides)
        if (const QByteArray png = artwork::markPng(side); !png.isEmpty())
            icons.push_back({side, png.toStdString()});
    return icons;
}

} // namespace

// Nothing of it shows in the player's windows, and drawing the icons and syncing the files
// takes longer than a frame: it runs beside the start-up, from the check boxes as loaded now.
// The application's thread pool is waited for at exit, so a write is never cut off.
void applyFileAssociationSettings() {
    // The entry starts the launcher, which hands a file to a running player at once.
    const auto self = platform::programFile();
    if (self.empty()) return;
    const auto program = launcherProgramFor(self);
    std::map<int, std::string> boxes;
    for (const auto& type : platform::fileTypes())
        boxes[type.field] = processState().record.text(type.field);
    QThreadPool::globalInstance()->start([program, boxes] {
        const auto associations = platform::makeFileAssociations();
        desktop::applyFileTypeSettings(*associations, {program, programIcons()},
                                       [&boxes](int field) { return boxes.at(field); });
    });
}

} // namespace qinglan::app
