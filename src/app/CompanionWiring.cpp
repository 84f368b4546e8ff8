// The main window's own events and those of its companions.
#include "app/MainWindow.h"
#include "app/Wiring.h"

#include <ui/CatalogueWindow.h>
#include <ui/Controls.h>
#include <ui/Find.h>

#include <QCursor>
#include <QMenu>

namespace qinglan::app {

using ui::UiEvent;

void wireCompanions(MainWindow& w, ui::HandlerTable& h) {
    h.add("decideClose", [&w](UiEvent& e) { w.decideClose(e); });
    h.add("runShutdownSequence", [&w](UiEvent&) { w.shutdown(); });
    h.add("layOut", [&w](UiEvent&) { w.layOut(); });
    h.add("handleTrayEvent", [&w](UiEvent& e) {
        if (e.first == 3) {
            w.sidePanelCheck();
            if (auto* m = w.menu("托盘菜单")) m->popup(QCursor::pos());
        } else if (e.first == 1) {
            w.showMainWindow();
        }
    });
    h.add("popUpRightClickMenu", [&w](UiEvent&) { w.popupContextMenu(); });
    h.add("tickPointerWatch", [&w](UiEvent&) { w.tickPointerWatch(); });
    h.add("tickPointerIdle", [&w](UiEvent&) { w.tickPointerIdle(); });
    h.add("tickFade", [&w](UiEvent&) { w.tickFade(); });
    h.add("showBalloonTip", [](UiEvent& e) {
        if (auto* tip = ui::find<ui::BalloonTip>(e.window, ui::ids::HotSpotTip))
            tip->showAt(QCursor::pos(), e.window);
    });
    h.add("maximizeMainWindow", [&w](UiEvent&) { w.maximize(); });
    h.add("minimizeMainWindow", [&w](UiEvent&) {
        if (w.window()) w.window()->showMinimized();
    });
    h.add("toggleFullScreen", [&w](UiEvent&) { w.toggleFullScreen(); });
    h.add("toggleAlwaysOnTop", [&w](UiEvent&) { w.toggleAlwaysOnTop(); });
    h.add("showMainWindow", [&w](UiEvent&) { w.showMainWindow(); });
    h.add("exitPlayer", [&w](UiEvent&) { w.shutdown(); });
}

} // namespace qinglan::app
