// The settings menu items, the restart prompt that replaces them once the files changed, and
// the reload of the in-memory settings when a window that writes them goes.
#include "app/MainWindow.h"
#include "app/ProcessState.h"
#include "app/Wiring.h"

#include <aplayer/Engine.h>
#include <settings/SettingsFields.h>
#include <settingswindow/SettingsWindow.h>
#include <ui/CatalogueWindow.h>
#include <ui/Controls.h>
#include <ui/Find.h>

#include <QFileDialog>
#include <algorithm>

namespace qinglan::app {
namespace {
using ui::UiEvent;
} // namespace

void openSettingsWindow(MainWindow& w, bool subtitlePage) {
    auto& state = processState();
    if (state.fileConfigChanged) {
        openPrompt(w, PromptMode::Restart);
        return;
    }
    if (state.store)
        state.store->write(settings::field::SettingsOnSubtitlePage, subtitlePage ? "1" : "0");
    w.ownedWindows().open(ui::ids::SettingsWindow);
}

void wireSettings(MainWindow& w, ui::HandlerTable& h) {
    settingswindow::Services services;
    services.store = [] { return processState().store.get(); };
    services.send = [&w](int id, const std::string& value) {
        w.engine().APlayer_SetConfigA(id, value);
    };
    services.setListOpacity = [&w](int opacity) {
        if (auto* list = w.videoList()) list->setWindowOpacity(std::clamp(opacity, 0, 255) / 255.0);
    };
    services.chooseFile = [](QWidget* parent, const ui::FileDialogBox& dialog) {
        return dialog.chooseFile(parent);
    };
    services.chooseFolder = [](QWidget* parent, const QString& title) {
        return QFileDialog::getExistingDirectory(parent, title, {}, QFileDialog::ShowDirsOnly);
    };
    settingswindow::wireSettingsWindow(h, std::move(services));

    h.add("openSubtitleSettings", [&w](UiEvent&) { openSettingsWindow(w, true); });
    h.add("openSettingsWindow", [&w](UiEvent& e) {
        if (e.menuPath.value(0) == u"系统设置") w.sidePanelCheck(); // the tray's entry
        openSettingsWindow(w, false);
    });
    h.add("reloadSettingsRecord", [](UiEvent&) {
        auto& state = processState();
        if (state.store) state.record.load(*state.store);
    });
}

} // namespace qinglan::app
