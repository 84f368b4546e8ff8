// Desktop integration at the main window: start with the session and the about window.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"

#include <platform/Autostart.h>
#include <settings/SettingsFields.h>
#include <ui/CatalogueWindow.h>

#include <cmath>
#include <filesystem>

namespace qinglan::app {

using ui::UiEvent;

void applyAutostartSetting() {
    std::error_code ec;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return;
    const bool on = processState().record.text(settings::field::StartWithSession) == "1";
    platform::applyAutostart(on, program);
}

void wireDesktop(MainWindow& w, ui::HandlerTable& h) {
    h.add("openAboutWindow", [&w](UiEvent&) {
        w.sidePanelCheck();
        auto* about = w.ownedWindows().open("AboutWindow");
        auto* main = w.window();
        if (!about || !main) return;
        // Centred over the main window, also when that is the smaller one (offsets below 0).
        const QRect m = main->frameGeometry();
        const QRect a = about->frameGeometry();
        about->move(m.left() + static_cast<int>(std::trunc((m.width() - a.width()) / 2.0)),
                    m.top() + static_cast<int>(std::trunc((m.height() - a.height()) / 2.0)));
    });
    h.add("setUpAboutWindow", [](UiEvent&) {});
}

} // namespace qinglan::app
