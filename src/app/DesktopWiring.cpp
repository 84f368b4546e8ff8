// Desktop integration at the main window: start with the session and the about window.
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"

#include <platform/Autostart.h>
#include <platform/ProgramLocation.h>
#include <settings/SettingsFields.h>
#include <ui/CatalogueWindow.h>

#include <filesystem>

namespace qinglan::app {

using ui::UiEvent;

void applyAutostartSetting() {
    // The entry starts the launcher, which hands a file to a running player at once.
    const auto self = platform::programFile();
    if (self.empty()) return;
    const auto program = launcherProgramFor(self);
    const bool on = processState().record.text(settings::field::StartWithSession) == "1";
    platform::makeAutostart()->apply(on, program);
}

void wireDesktop(MainWindow& w, ui::HandlerTable& h) {
    h.add("openAboutWindow", [&w](UiEvent&) {
        w.sidePanelCheck();
        w.ownedWindows().open(ui::ids::AboutWindow);
    });
    h.add("setUpAboutWindow", [](UiEvent&) {});
}

} // namespace qinglan::app
