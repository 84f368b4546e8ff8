// The video list window's events and menu, and the list's side of the main window: the menu
// item "视频列表", previous, next and the advance at the end of a media.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/VideoListController.h"
#include "app/Wiring.h"

#include <ui/CatalogueWindow.h>
#include <ui/Find.h>

#include <QMenu>

namespace qinglan::app {

using ui::UiEvent;

namespace {
VideoListController* list(const MainWindow& w) {
    return VideoListController::of(w);
}
} // namespace

void wireMediaList(MainWindow& w, ui::HandlerTable& h) {
    auto* controller = new VideoListController(w);
    h.add("setUpVideoListWindow", [controller](UiEvent& e) { controller->setUp(e.window); });
    h.add("fitListToWindow", [controller](UiEvent&) { controller->fitToWindow(); });
    // The window lives as long as the player: a close only hides it.
    h.add("hideVideoList", [](UiEvent& e) {
        e.refuse = true;
        e.window->hide();
    });
    h.add("showVideoList", [&w](UiEvent&) {
        w.sidePanelCheck();
        if (auto* window = w.videoList()) {
            window->show();
            window->raise();
        }
    });
    h.add("PlayEntry", [controller](UiEvent&) { controller->playEntry(); });
    h.add("popUpListMenu", [](UiEvent& e) {
        processState().sidePanelEnabled = false; // a popup menu is open
        if (QMenu* menu = e.window->menu(QStringLiteral("右键菜单"))) menu->popup(e.globalPos);
    });
    h.add("PollAddFiles", [controller](UiEvent&) { controller->pollAddFiles(); });
    h.add("AddFiles", [controller](UiEvent&) { controller->launchAddFiles(); });
    h.add("AddFolder", [controller](UiEvent&) { controller->addFolder(); });
    h.add("OpenContainingFolder", [controller](UiEvent&) { controller->openContainingFolder(); });
    h.add("DeleteEntry", [controller](UiEvent&) { controller->askDelete(); });
    h.add("ClearList", [controller](UiEvent&) { controller->clearList(); });
    const auto loopMode = [&w, controller](medialist::LoopMode mode) {
        return [&w, controller, mode](UiEvent&) {
            controller->setLoopMode(mode);
            w.sidePanelCheck();
        };
    };
    h.add("setLoopSequential", loopMode(medialist::LoopMode::Sequential));
    h.add("setLoopRandom", loopMode(medialist::LoopMode::Random));
    h.add("setLoopRepeatOne", loopMode(medialist::LoopMode::RepeatOne));
}

void stepVideoList(MainWindow& w, ListStep step) {
    auto* controller = list(w);
    if (!controller) return;
    switch (step) {
    case ListStep::AtEnd:
        controller->advanceAtEnd();
        break;
    case ListStep::Next:
        controller->playNext();
        break;
    case ListStep::Previous:
        controller->playPrevious();
        break;
    }
}

int videoListSelectedRow(const MainWindow& w) {
    auto* controller = list(w);
    return controller ? controller->selectedRow() : -1;
}

void launchAddFilesProgram(MainWindow& w) {
    if (auto* controller = list(w)) controller->launchAddFiles();
}

} // namespace qinglan::app
